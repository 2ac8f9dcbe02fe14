// « Conception avancée »: every design key, grouped, with its label, unit
// and default from the model's table; results as the user types.
import { call } from "./engine.js";
import { decimalSeparator, el, setHidden } from "./dom.js";
import { showLines } from "./lines.js";
import { plotArea } from "./plotsize.js";

let schema = null;
// The plotting library loads beside the first results, not before them.
// Drawn only while the design's page is shown: the calculator never loads it.
let plots = null;
let waiting = null;
// The plots follow at the next frame, for the latest design only: the
// results answer the keystroke at once, and typing faster than the plots
// draw never queues them.
let latest = null;
let frame = 0;
function drawPlots(answer, message) {
  if (document.getElementById("conception").hidden) {
    waiting = [answer, message];
    return;
  }
  waiting = null;
  plots ??= import("./plots.js");
  latest = [answer, message];
  frame ||= requestAnimationFrame(() => {
    frame = 0;
    const [a, m] = latest;
    plots.then((module) => module.drawPlots(a, m));
  });
}

export function showWaitingPlots() {
  if (waiting) drawPlots(...waiting);
}
let held = false; // the design is the user's own: loaded, linked or edited
const listeners = [];

export function onChange(listener) {
  listeners.push(listener);
}

function input(key) {
  return document.querySelector(`#entrees [name="${key}"]`);
}

function choicesOf(row) {
  if (row.cle === "geometrie") return schema.geometries;
  if (row.cle === "detecteur") return schema.capteurs.map((c) => [c, c]);
  return row.choix.length ? row.choix : null;
}

function field(row) {
  const id = `cle-${row.cle}`;
  const choices = choicesOf(row);
  const hint = row.aide ? el("span", { id: `${id}-aide`, class: "aide" }, row.aide) : null;
  const control = choices
    ? el("select", { id, name: row.cle }, ...choices.map(([word, caption]) => el("option", { value: word }, caption)))
    : el("input", { id, name: row.cle, type: "text", inputmode: "decimal", spellcheck: "false" });
  if (hint) control.setAttribute("aria-describedby", hint.id);
  return el("div", { class: "ligne" }, el("label", { for: id }, row.libelle), control, hint);
}

function buildInputs(form) {
  let group = null;
  for (const row of schema.entrees) {
    if (row.groupe) {
      group = el("fieldset", {}, el("legend", {}, row.groupe));
      form.append(group);
    }
    group.append(field(row));
  }
}

function buildResults(list) {
  for (const row of [...schema.resultats, ...schema.verdicts]) {
    const id = `res-${row.cle}`;
    list.append(el("div", { class: "resultat" }, el("dt", { id: `${id}-nom` }, row.libelle),
      // Not a live region each: only the summary is said, once typing stops.
      el("dd", {}, el("output", { id, "data-cle": row.cle, "data-soleil": row.soleil || null, "data-etoile": row.etoile || null,
        "aria-labelledby": `${id}-nom`, "aria-live": "off" }))));
  }
}

// The fields' texts as typed: the model reads them with the page's separator.
export function keys() {
  const out = {};
  for (const row of schema.entrees) out[row.cle] = input(row.cle).value;
  return out;
}

// The calibrations on spectra, as files write them; none: the assumed chain.
let heldCalibrations = [];
export function calibrations() {
  return heldCalibrations;
}
export function setCalibrations(list) {
  heldCalibrations = list;
  held = true;
  evaluate();
  listeners.forEach((l) => l());
}

function ask(values) {
  return call("design", { cles: values, separateur: decimalSeparator(), etalonnages: heldCalibrations, zone: plotArea() });
}

// The design's keys as files and links write them (the period, every digit);
// null while a field cannot be read.
export function savedKeys() {
  const answer = ask(keys());
  return answer.cles ?? null;
}

export function defaults() {
  return Object.fromEntries(schema.entrees.map((r) => [r.cle, r.defaut]));
}

export function isHeld() {
  return held;
}

function setFields(values) {
  for (const [key, text] of Object.entries(values)) {
    const node = input(key);
    if (node) node.value = text;
  }
}

// The fields a geometry does not use are disabled, as in the window; the
// Sun's are shown only in the « Soleil » mode, the star's and the night's
// only without it.
function enableForGeometry() {
  const geometry = input("geometrie").value;
  const sun = input("source").value === "soleil";
  for (const row of schema.entrees) {
    input(row.cle).disabled = !row.geometries.includes(geometry);
    if (row.soleil || row.etoile) setHidden(input(row.cle).closest(".ligne"), Boolean(row.soleil) !== sun);
  }
  // A group with nothing left to show takes no room.
  for (const group of document.querySelectorAll("#entrees fieldset"))
    setHidden(group, !group.querySelector(".ligne:not([hidden])"));
}

// Said once the typing pauses, not at every keystroke.
let announcing = 0;
function announce(results, sun) {
  clearTimeout(announcing);
  announcing = setTimeout(() => {
    document.getElementById("annonceConception").textContent = sun
      ? `Bande passante ${results.bande_passante_a} Å, cadence ${results.cadence_ips} images par seconde`
      : `Résolution ${results.resolution}, S/N par pixel ${results.snr}`;
  }, 600);
}

function clearResults(message) {
  document.getElementById("erreurConception").textContent = message;
  document.getElementById("noteRendement").textContent = "";
  showCalibrations([]);
  for (const out of document.querySelectorAll("#resultats output")) {
    out.value = "";
    delete out.dataset.valeur;
  }
  drawPlots(null, message);
  showLines(null);
}

export function evaluate() {
  enableForGeometry();
  const answer = ask(keys());
  for (const row of schema.entrees) input(row.cle).removeAttribute("aria-invalid");
  if (answer.erreur) {
    for (const key of Object.keys(answer.erreurs ?? {})) input(key)?.setAttribute("aria-invalid", "true");
    clearResults(answer.erreur);
    return answer;
  }
  document.getElementById("erreurConception").textContent = "";
  document.getElementById("noteRendement").textContent = answer.note;
  document.getElementById("cmdRetirerRendement").hidden = !answer.note;
  showCalibrations(answer.etalonnages);
  showHistory(answer.historique);
  for (const out of document.querySelectorAll("#resultats output")) {
    // The Sun's rows only for a design of the Sun; the star's light's only for a star.
    setHidden(out.closest(".resultat"), (out.dataset.soleil !== undefined && !(out.dataset.cle in answer.resultats))
      || (out.dataset.etoile !== undefined && answer.soleil));
    out.value = answer.resultats[out.dataset.cle] ?? "—";
    const exact = answer.nombres[out.dataset.cle];
    if (exact === undefined || exact === null) delete out.dataset.valeur;
    else out.dataset.valeur = JSON.stringify(exact);
  }
  drawPlots(answer);
  showLines(answer.raies);
  announce(answer.resultats, answer.soleil);
  return answer;
}

// The calibrations' median ratio against the date, from two of them.
function showHistory(plot) {
  const box = document.getElementById("historiqueEtalonnages");
  box.hidden = !plot;
  if (!plot || document.getElementById("conception").hidden) return;
  plots ??= import("./plots.js");
  plots.then((m) => m.drawPlotSet(box, [plot]));
}

// Each calibration in a line with its own « Retirer ».
function showCalibrations(lines) {
  const list = document.getElementById("listeEtalonnages");
  list.replaceChildren(...lines.map((line, i) => {
    const item = el("li", {}, line + " ");
    const remove = el("button", { type: "button", id: `retirerEtalonnage${i}` }, "Retirer");
    remove.setAttribute("aria-label", `Retirer l'étalonnage ${line}`);
    remove.addEventListener("click", () => setCalibrations(heldCalibrations.filter((_, j) => j !== i)));
    item.append(remove);
    return item;
  }));
  list.hidden = lines.length < 2;
}

// Checks a whole design first: a bad one changes nothing and says why. The
// keys given are read over the defaults, the sensor first: a sensor named
// alone brings all of its values. A new design (a file, a link) brings its
// own calibrations, [] for none.
export function load(values, { own = true, etalonnages = undefined } = {}) {
  const before = heldCalibrations;
  if (etalonnages !== undefined) heldCalibrations = etalonnages;
  const answer = ask(values);
  const keyError = answer.erreurs && Object.keys(answer.erreurs).length ? answer.erreur : null;
  if (keyError || (answer.erreur && !answer.valeurs)) {
    heldCalibrations = before;
    return keyError ?? answer.erreur;
  }
  setFields(answer.valeurs);
  held = own;
  evaluate();
  listeners.forEach((l) => l());
  return null;
}

// A catalogue sensor sets the fields it has values for; the others are kept.
function sensorChosen() {
  const kept = Object.fromEntries(Object.entries(keys()).filter(([key]) => !fromSensor(key)));
  const answer = ask(kept);
  if (answer.valeurs) setFields(answer.valeurs);
}

// Whether choosing a sensor sets this key (the model's table says).
export function fromSensor(key) {
  return schema.entrees.find((r) => r.cle === key)?.capteur;
}

export function setup(designSchema) {
  schema = designSchema;
  const form = document.getElementById("entrees");
  buildInputs(form);
  buildResults(document.getElementById("resultats"));
  form.addEventListener("submit", (e) => e.preventDefault());
  setFields(ask({}).valeurs);
  // Any change of a field's text counts, however it was made.
  form.addEventListener("input", () => {
    held = true;
    evaluate();
    listeners.forEach((l) => l());
  });
  form.addEventListener("change", (e) => {
    if (e.target.name === "detecteur") sensorChosen();
    held = true;
    evaluate();
    listeners.forEach((l) => l());
  });
}
