// « Étalonner sur un spectre »: the user's spectrum read and calibrated by
// the model against the design; « Utiliser ce rendement » makes the
// measured efficiency the design's.
import { call } from "./engine.js";
import { decimalSeparator, el, table } from "./dom.js";
import { keys, setMeasured } from "./design.js";

const MAX_BYTES = 48 << 20;
let taken = null;

function node(id) {
  return document.getElementById(id);
}

// A file's bytes as base64, a block at a time (no spread of a huge array).
function base64(bytes) {
  let text = "";
  for (let i = 0; i < bytes.length; i += 0x8000) text += String.fromCharCode(...bytes.subarray(i, i + 0x8000));
  return btoa(text);
}

function clear(message) {
  node("erreurEtalonnage").textContent = message;
  node("resumeEtalonnage").textContent = "";
  node("graphiquesEtalonnage").replaceChildren();
  node("tableEtalonnage").replaceChildren();
  node("cmdUtiliserRendement").hidden = true;
  taken = null;
}

export async function calibrate(file) {
  if (file.size > MAX_BYTES) return clear(`Impossible d'étalonner sur « ${file.name} » : fichier trop grand.`);
  const octets = base64(new Uint8Array(await file.arrayBuffer()));
  const answer = call("etalonner", {
    cles: keys(), separateur: decimalSeparator(), nom: file.name, octets,
    date: new Date().toISOString().slice(0, 10),
  });
  if (answer.erreur) return clear(`Impossible d'étalonner sur « ${file.name} » : ${answer.erreur}`);
  clear("");
  node("resumeEtalonnage").textContent = answer.resume;
  node("tableEtalonnage").append(table("Étalonnage par tranche de longueur d'onde",
    answer.tableau.colonnes, answer.tableau.lignes));
  const plots = await import("./plots.js");
  plots.drawPlotSet(node("graphiquesEtalonnage"), answer.graphiques);
  taken = answer.rendement_mesure;
  node("cmdUtiliserRendement").hidden = false;
  return answer;
}

export function setup() {
  node("fichierSpectre").addEventListener("change", (e) => {
    if (e.target.files[0]) calibrate(e.target.files[0]);
    e.target.value = "";
  });
  node("cmdUtiliserRendement").addEventListener("click", () => {
    if (taken) setMeasured(taken);
    node("cmdUtiliserRendement").hidden = true;
  });
  node("cmdRetirerRendement").addEventListener("click", () => setMeasured(null));
}
