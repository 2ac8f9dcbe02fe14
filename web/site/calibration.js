// « Étalonner sur un spectre »: the user's spectrum read and calibrated by
// the model against the design; the gain, exposure and airmass used can be
// corrected and the spectrum calibrated again; « Utiliser ce rendement »
// adds the calibration to the design's.
import { callOff } from "./engine.js";
import { decimalSeparator, table } from "./dom.js";
import { calibrations, keys, setCalibrations } from "./design.js";

// The model's one limit on a spectrum file, and how it says it.
let limit = { octets: Infinity, message: "" };
let taken = null;
let last = null;  // the file calibrated, for « Recalculer »

function node(id) {
  return document.getElementById(id);
}

function clear(message) {
  node("erreurEtalonnage").textContent = message;
  node("resumeEtalonnage").textContent = "";
  node("graphiquesEtalonnage").replaceChildren();
  node("tableEtalonnage").replaceChildren();
  node("cmdUtiliserRendement").hidden = true;
  node("observationEtalonnage").hidden = message !== "" || !last;
  taken = null;
}

function observation() {
  const form = node("observationEtalonnage");
  return Object.fromEntries(["gain_e_adu", "pose_s", "masse_air"].map((k) => [k, form.elements[k].value]));
}

function showObservation(values) {
  const form = node("observationEtalonnage");
  for (const [key, text] of Object.entries(values)) form.elements[key].value = text;
  form.hidden = false;
}

export async function calibrate(file, given = {}) {
  // Refused before reading: a file too large never reaches the module.
  if (file.size > limit.octets) {
    last = null;
    return clear(`Impossible d'étalonner sur « ${file.name} » : ${limit.message}`);
  }
  last = file;
  // Encoded and read in the worker: the page stays live however large the file.
  const answer = await callOff("etalonner", {
    cles: keys(), separateur: decimalSeparator(), nom: file.name, etalonnages: calibrations(),
    observation: given,
  }, await file.arrayBuffer());
  if (answer.erreur) return clear(`Impossible d'étalonner sur « ${file.name} » : ${answer.erreur}`);
  clear("");
  node("resumeEtalonnage").textContent = answer.resume;
  showObservation(answer.observation);
  node("tableEtalonnage").append(table("Étalonnage par tranche de longueur d'onde",
    answer.tableau.colonnes, answer.tableau.lignes));
  const plots = await import("./plots.js");
  plots.drawPlotSet(node("graphiquesEtalonnage"), answer.graphiques);
  taken = answer.etalonnage;
  node("cmdUtiliserRendement").hidden = false;
  return answer;
}

export function setup(designSchema) {
  limit = designSchema.limiteSpectre;
  node("fichierSpectre").addEventListener("change", (e) => {
    if (e.target.files[0]) calibrate(e.target.files[0]);
    e.target.value = "";
  });
  node("observationEtalonnage").addEventListener("submit", (e) => {
    e.preventDefault();
    if (last) calibrate(last, observation());
  });
  node("cmdUtiliserRendement").addEventListener("click", () => {
    if (taken) setCalibrations([...calibrations(), taken]);
    node("cmdUtiliserRendement").hidden = true;
    taken = null;
  });
  node("cmdRetirerRendement").addEventListener("click", () => setCalibrations([]));
}
