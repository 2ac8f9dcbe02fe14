// Opening and saving .kelvora files with the desktop's reader and writer.
import { call } from "./engine.js";
import { say } from "./dom.js";
import * as calculator from "./calculator.js";
import * as design from "./design.js";
import { calibrate } from "./calibration.js";

const MAX_BYTES = 1 << 20;
// The name of the file the design came from or went to: the report's title.
let name = "";
export function fileName() {
  return name;
}

export async function openFile(file) {
  if (file.size > MAX_BYTES) return say(`Impossible d'ouvrir « ${file.name} » : fichier trop grand.`);
  const answer = call("readFile", { texte: await file.text() });
  if (answer.erreur) return say(`Impossible d'ouvrir « ${file.name} » : ${answer.erreur}`);
  calculator.restore(answer.fenetre);
  if (answer.cles) design.load(answer.cles, { etalonnages: answer.etalonnages ?? [] });
  name = file.name;
  // What reading set aside is said beside it; the rest is open.
  say([`« ${file.name} » ouvert.`, ...(answer.notes ?? [])].join(" "));
}

export function saveFile() {
  const s = calculator.state();
  const answer = call("writeFile", {
    fenetre: { textes: s.textes, capteur: s.caption, barlow: s.barlow },
    cles: design.isHeld() ? design.savedKeys() ?? design.keys() : null,
    etalonnages: design.isHeld() ? design.calibrations() : null,
  });
  if (answer.erreur) return say(`Impossible d'enregistrer : ${answer.erreur}`);
  const url = URL.createObjectURL(new Blob([answer.texte], { type: "application/json" }));
  const a = document.createElement("a");
  a.href = url;
  a.download = name || "conception.kelvora";
  name = a.download;
  a.click();
  setTimeout(() => URL.revokeObjectURL(url), 1000);
  say("Conception enregistrée.");
}

export function acceptDrops() {
  const zone = document.getElementById("depot");
  addEventListener("dragover", (e) => {
    e.preventDefault();
    zone.hidden = false;
  });
  addEventListener("dragleave", (e) => {
    if (e.relatedTarget === null) zone.hidden = true;
  });
  addEventListener("drop", (e) => {
    e.preventDefault();
    zone.hidden = true;
    const file = e.dataTransfer?.files?.[0];
    if (!file) return;
    // A spectrum calibrates the design; anything else is opened as a design file.
    if (/\.(fits?|fts|txt|csv|dat)$/i.test(file.name)) {
      document.getElementById("ongletConception").click();
      calibrate(file);
    } else {
      openFile(file);
    }
  });
}
