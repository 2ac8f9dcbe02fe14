#!/usr/bin/env python3
"""Drives the real window through the AT-SPI accessibility bus, as a screen
reader would: finds the fields by their spoken names, types inputs, presses
"Calcul" and reads every result. Run under Xvfb inside a D-Bus session."""
import subprocess
import sys
import time

import pyatspi

RESULTS = [
    "Angle de diffraction", "Dispersion", "Lambda min.", "Lambda max.",
    "Diamètre minimal du collimateur", "Largeur minimale du réseau",
    "Diamètre minimal de l'objectif", "F#", "Pouvoir séparateur", "Résolution",
    "Rapport signal/bruit",
]


def find_app(proc, name, timeout=20):
    end = time.time() + timeout
    while time.time() < end:
        if proc.poll() is not None:
            return None
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is not None and app.name.lower() == name:
                return app
        time.sleep(0.2)
    sys.exit("the window never appeared on the accessibility bus")


def start(program, attempts=3):
    """Starts the program; a start that dies at once (the X server not yet
    taking clients) is tried again."""
    for _ in range(attempts):
        proc = subprocess.Popen([program])
        app = find_app(proc, "kelvora")
        if app is not None:
            return proc, app
        print(f"the program exited with status {proc.returncode}; starting it again", file=sys.stderr)
        time.sleep(1)
    sys.exit("the program could not start")


def walk(node):
    yield node
    for child in node:
        if child is not None:
            yield from walk(child)


def by_name(app, role, name):
    for node in walk(app):
        if node.getRoleName() == role and node.name == name:
            return node
    sys.exit(f"no {role} named {name!r}")


def text_of(node):
    t = node.queryText()
    return t.getText(0, t.characterCount)


def wait_for(predicate, what, timeout=10):
    end = time.time() + timeout
    while time.time() < end:
        found = predicate()
        if found:
            return found
        time.sleep(0.2)
    sys.exit(f"never happened: {what}")


def design_window(app):
    """Opens « Conception avancée » from the menu, as a screen-reader user would."""
    by_name(app, "menu item", "Conception avancée…").queryAction().doAction(0)
    return wait_for(lambda: next((n for n in app if n is not None
                                  and n.name.startswith("Conception avancée")), None),
                    "the design window on the bus")


def check_design_window(app):
    """The S/N result is heard as its value, and is emptied and disabled
    while an input is not a number."""
    window = design_window(app)
    # The plots library, loaded when the window first opens, draws its tabs.
    wait_for(lambda: any(n.getRoleName() == "page tab" and "pose" in n.name for n in walk(window)),
             "the plots' tabs (is the plots library beside the program?)")
    snr = by_name(window, "text", "S/N par pixel")
    heard = wait_for(lambda: text_of(snr), "an S/N value")
    by_name(window, "text", "Diamètre (mm)").queryEditableText().setTextContents("400")
    louder = wait_for(lambda: text_of(snr) != heard and text_of(snr), "a recomputed S/N")
    by_name(window, "text", "Seeing (\")").queryEditableText().setTextContents("abc")
    wait_for(lambda: text_of(snr) == "", "an empty S/N while an input is invalid")
    if snr.getState().contains(pyatspi.STATE_ENABLED):
        sys.exit("the S/N stays enabled while an input is invalid")
    print(f"screen reader: design window S/N heard as {heard}, then {louder}, then empty")


def main():
    program = sys.argv[1]
    proc, app = start(program)
    try:
        diameter = by_name(app, "text", "Diamètre")
        diameter.queryEditableText().setTextContents("240")
        by_name(app, "text", "Longueur d'onde centrale").queryEditableText().setTextContents("5800")
        button = by_name(app, "push button", "Calcul")
        action = button.queryAction()
        action.doAction(0)
        time.sleep(1)
        angle = text_of(by_name(app, "text", "Angle de diffraction"))
        collimator = text_of(by_name(app, "text", "Diamètre minimal du collimateur"))
        missing = [n for n in RESULTS if not text_of(by_name(app, "text", n))]
        print("angle", angle, "collimator", collimator)
        if angle != "10.02" or collimator != "25." or missing:
            sys.exit(f"unexpected results: angle {angle!r}, collimator {collimator!r}, empty {missing}")
        print("screen reader: typed 2 inputs, pressed Calcul, read 11 results")
        check_design_window(app)
    finally:
        proc.terminate()
        proc.wait(10)


if __name__ == "__main__":
    main()
