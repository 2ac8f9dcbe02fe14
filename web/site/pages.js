// Everything past the calculator: the design page, the proposer, files,
// links, help and the page's memory, loaded once the calculator is ready.
import { call, load } from "./engine.js";
import { replayTaps, say, scrollable } from "./dom.js";
import * as calculator from "./calculator.js";
import * as design from "./design.js";
import * as proposer from "./proposer.js";
import * as calibration from "./calibration.js";
import { acceptDrops, fileName, openFile, saveFile } from "./files.js";
import { CALCULATOR, linkOf, openLink } from "./link.js";
import { forget, keep, recall } from "./memory.js";

let shown = CALCULATOR;

function showPage(id) {
  shown = id;
  for (const page of [CALCULATOR, "conception"]) {
    document.getElementById(page).hidden = page !== id;
    const tab = document.querySelector(`[aria-controls="${page}"]`);
    tab.setAttribute("aria-pressed", String(page === id));
  }
  if (id === "conception") {
    design.evaluate();
    design.showWaitingPlots();
  }
  remember();
}

function remember() {
  const s = calculator.state();
  keep({
    page: shown,
    calculateur: { textes: s.textes, capteur: s.caption, barlow: s.barlow },
    conception: design.isHeld() ? design.keys() : null,
    etalonnages: design.isHeld() ? design.calibrations() : null,
  });
}

// Kept once typing pauses, and at once when the tab is hidden or closed.
let saving = 0;
function rememberSoon() {
  clearTimeout(saving);
  saving = setTimeout(remember, 300);
}

// The work of a closed tab, as it was left.
function restoreWork() {
  const work = recall();
  if (!work) return;
  if (work.calculateur?.textes) calculator.restore(work.calculateur);
  if (work.conception) design.load(work.conception, { etalonnages: work.etalonnages ?? [] });
  if (work.page === "conception") showPage("conception");
}

function startAgain() {
  forget();
  calculator.formLoad();
  design.load(design.defaults(), { own: false, etalonnages: [] });
  history.replaceState(null, "", location.pathname + location.search);
  say("Nouvelle conception : valeurs par défaut.");
  remember();
}

async function copyLink() {
  const link = linkOf(shown);
  history.replaceState(null, "", link);
  // A link carries keys only: the spectra measured stay in the file.
  const without = shown !== CALCULATOR && design.calibrations().length
    ? " Il ne porte pas les étalonnages : enregistrez la conception pour les garder." : "";
  try {
    await navigator.clipboard.writeText(link);
    say(`Lien copié.${without}`);
  } catch {
    say(`Lien : ${link}${without}`);
  }
}

// A new link's own outcome replaces what the last one said.
function followLink() {
  const { page, error } = openLink(location.hash);
  say(error ?? "");
  if (!error && page) showPage(page);
}

async function showHelp() {
  const dialog = document.getElementById("aide");
  const text = document.getElementById("manuel");
  if (!text.firstChild) {
    const [manual, version] = await Promise.all([fetch("manuel.html").then((r) => r.text()),
      fetch("version.json").then((r) => r.json())]);
    document.getElementById("version").textContent = `${version.version} (page ${version.empreinte})`;
    // The manual is this site's own file, made from the desktop's manual.
    text.innerHTML = manual;
    // A code block wider than the dialog scrolls: the keyboard must reach it.
    text.querySelectorAll("pre").forEach((block, i) => scrollable(block, `Exemple ${i + 1}`));
  }
  dialog.showModal();
}

// The printed page's title: the file's name and today's date.
function titlePrint() {
  document.getElementById("titreImpression").textContent = `Kelvora — ${fileName() || "Conception sans nom"}`;
  document.getElementById("dateImpression").textContent =
    new Date().toLocaleDateString("fr-FR", { day: "numeric", month: "long", year: "numeric" });
}

function wire() {
  document.getElementById("ongletCalculateur").addEventListener("click", () => showPage(CALCULATOR));
  document.getElementById("ongletConception").addEventListener("click", () => showPage("conception"));
  document.getElementById("fichierOuvrir").addEventListener("change", (e) => {
    if (e.target.files[0]) openFile(e.target.files[0]);
    e.target.value = "";
  });
  document.getElementById("cmdEnregistrer").addEventListener("click", saveFile);
  document.getElementById("cmdLien").addEventListener("click", copyLink);
  document.getElementById("cmdNouvelle").addEventListener("click", startAgain);
  document.getElementById("cmdAide").addEventListener("click", showHelp);
  document.getElementById("cmdImprimer").addEventListener("click", () => print());
  addEventListener("beforeprint", titlePrint);
  document.getElementById("aideFermer").addEventListener("click", () => document.getElementById("aide").close());
  calculator.onChange(rememberSoon);
  design.onChange(rememberSoon);
  addEventListener("pagehide", remember);
  addEventListener("visibilitychange", () => document.visibilityState === "hidden" && remember());
  acceptDrops();
  addEventListener("hashchange", followLink);
}

export async function start() {
  await load();
  performance.mark("kelvora-modele");
  const designSchema = call("schemaConception");
  design.setup(designSchema);
  proposer.setup(designSchema);
  calibration.setup(designSchema);
  wire();
  if (location.hash.length > 1) followLink();
  else restoreWork();
  document.body.dataset.pret = "oui";
  performance.mark("kelvora-pret");
  replayTaps();
  // The hidden page's results wait until the shown one is on screen.
  requestAnimationFrame(() => setTimeout(() => design.evaluate(), 0));
  if ("serviceWorker" in navigator) navigator.serviceWorker.register("sw.js").catch(() => {});
}
