// A link is what the page shows: on « Conception avancée », the design keys
// that differ from what its reader would otherwise apply; on « Calculateur », its fields that differ
// from the window's defaults, the sensor and the model. Opening it shows it.
import { defaults, keys, load, savedKeys, fromSensor } from "./design.js";
import * as calculator from "./calculator.js";

export const CALCULATOR = "calculateur";

function calculatorParams() {
  const params = new URLSearchParams({ page: CALCULATOR });
  const s = calculator.state();
  const base = calculator.defaults();
  for (const [name, text] of Object.entries(s.textes)) if (text !== base[name]) params.set(name, text);
  if (s.capteur !== 0) params.set("capteur", s.caption ?? "");
  if (!s.barlow) params.set("modele", "fente");
  return params;
}

// A reader applies the defaults, then the link's sensor, then its keys: a
// key equal to the default is left out only when no sensor in the link would
// set it otherwise, so an edited sensor field always travels.
function designParams() {
  const base = defaults();
  const params = new URLSearchParams();
  const values = savedKeys() ?? keys();
  const sensorGiven = values.detecteur !== base.detecteur;
  for (const [key, value] of Object.entries(values))
    if (value !== base[key] || (sensorGiven && fromSensor(key))) params.set(key, value);
  return params;
}

export function linkOf(page) {
  const url = new URL(location.href);
  url.hash = (page === CALCULATOR ? calculatorParams() : designParams()).toString();
  return url.href;
}

// Which page a link opens, its error in French or null; a bad link changes
// nothing.
export function openLink(hash) {
  const text = hash.replace(/^#/, "");
  if (text === "") return { page: null, error: null };
  // No prototype: a key such as « __proto__ » stays a key, which the model refuses.
  const values = Object.create(null);
  for (const [key, value] of new URLSearchParams(text)) values[key] = value;
  if (values.page === CALCULATOR) {
    delete values.page;
    const error = calculator.fromLink(values);
    return { page: CALCULATOR, error: error ? `Lien invalide : ${error}` : null };
  }
  // The link's design replaces the one shown, calibrations included.
  const error = load(values, { etalonnages: [] });
  return { page: "conception", error: error ? `Lien invalide : ${error}` : null };
}
