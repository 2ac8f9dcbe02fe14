// « Calculateur »: the calculator window's form, as the page's HTML holds
// it (form.js), computed by the model's own run.
import { call } from "./engine.js";
import { decimalSeparator } from "./dom.js";
import { TWIPS_PER_PIXEL, place, px } from "./form.js";

// The form is in the page's HTML (form.js drew it at build time); from
// there, as the desktop window does, every place and size grows until each
// caption and default text fits whole.
let twipsPerPixel = TWIPS_PER_PIXEL;
let schema = null;

// How much the form must grow for every text to fit its control.
function shortfall() {
  let factor = 1;
  for (const c of schema.controles) {
    if (c.genre === "groupe") continue;
    const node = box(c);
    factor = Math.max(factor, node.scrollWidth / Math.max(1, node.clientWidth));
  }
  return factor;
}

function fit(form) {
  for (let i = 0; i < 4; ++i) {
    const factor = shortfall();
    if (factor <= 1.001) return;
    twipsPerPixel /= factor;
    Object.assign(form.style, { width: px(schema.largeur, twipsPerPixel), height: px(schema.hauteur, twipsPerPixel) });
    for (const c of schema.controles) place(box(c), c, twipsPerPixel);
  }
}

function field(name) {
  return document.getElementById(name);
}

// The element placed for a control: an option button's label holds it.
function box(c) {
  const node = field(c.nom);
  return c.genre === "option" ? node.parentElement : node;
}

// On a narrow screen (a tablet upright) the whole form shrinks to fit, text
// and places alike, so that nothing overlaps.
// Under about 600 px (a phone) the form reflows instead into one column, in
// the window's order, at a readable size.
// A touch screen (a tablet) takes the column too: the window's places,
// scaled to its width, would leave text and targets too small for fingers.
// The same query as the column's rules in style.css.
const NARROW = "(max-width: 600px), (pointer: coarse)";

function shrinkToScreen(form) {
  form.style.zoom = "";
  if (matchMedia(NARROW).matches) return;
  const available = form.parentElement.clientWidth;
  const width = form.offsetWidth;
  if (available > 0 && width > available) form.style.zoom = String(available / width);
}

// As the window does: a text the calculation does not read whole turns
// amber, and its tooltip and description say how it is read.
function showNotes() {
  const notes = call("lecture", { textes: state().textes });
  for (const name of Object.keys(schema.defauts)) {
    const node = field(name);
    const note = notes[name] ?? "";
    node.classList.toggle("lu-autrement", note !== "");
    node.title = note;
    const described = [node.dataset.unite, note ? `${name}-lecture` : null].filter(Boolean).join(" ");
    if (described) node.setAttribute("aria-describedby", described);
    else node.removeAttribute("aria-describedby");
    field(`${name}-lecture`).textContent = note;
  }
}

export function formLoad() {
  for (const [name, text] of Object.entries(schema.defauts)) field(name).value = text;
  field("lblLambda").textContent = "";
  field(schema.boutonsCapteur[0]).checked = true;
  field("optBarlow").checked = true;
  field("txtSlitWide").disabled = true;
  showNotes();
  changed();
}

export function defaults() {
  return { ...schema.defauts };
}

function captions() {
  return schema.boutonsCapteur.map((b) => field(b).parentElement.textContent);
}

// A link's calculator over the window's defaults: its fields' texts as they
// are (the calculation reads any text), the sensor by its caption ("" for
// none), the model. An unknown key or word is refused, in French.
export function fromLink(values) {
  const textes = defaults();
  let capteur = captions()[0];
  let barlow = true;
  for (const [key, value] of Object.entries(values)) {
    if (Object.hasOwn(textes, key)) textes[key] = value;
    else if (key === "capteur" && (value === "" || captions().includes(value))) capteur = value;
    else if (key === "modele" && (value === "barlow" || value === "fente")) barlow = value === "barlow";
    else return key === "capteur" || key === "modele" ? `« ${value} » inconnu pour ${key}` : `clé inconnue « ${key} »`;
  }
  restore({ textes, capteur, barlow });
  return null;
}

export function state() {
  const textes = {};
  for (const name of Object.keys(schema.defauts)) textes[name] = field(name).value;
  const capteur = schema.boutonsCapteur.findIndex((b) => field(b).checked);
  const bouton = schema.boutonsCapteur[capteur];
  const caption = bouton ? field(bouton).parentElement.textContent : null;
  return { textes, capteur, caption, barlow: field("optBarlow").checked };
}

export function restore(window) {
  for (const [name, text] of Object.entries(window.textes)) field(name).value = text;
  for (const b of schema.boutonsCapteur)
    field(b).checked = field(b).parentElement.textContent === window.capteur;
  field(window.barlow ? "optBarlow" : "optFente").checked = true;
  field("txtSlitWide").disabled = window.barlow;
  showNotes();
  changed();
}

// The fields as they stand, for links and the page's memory.
const listeners = [];
export function onChange(listener) {
  listeners.push(listener);
}
function changed() {
  listeners.forEach((l) => l());
}

function showText(name, text) {
  const node = field(name);
  if (node.tagName === "INPUT") node.value = text;
  else node.textContent = text;
}

// What a screen reader hears after « Calcul »: each result with its label
// and unit, as the form shows them.
function summary() {
  const said = [];
  for (const name of schema.resultats) {
    const node = field(name);
    if (node.tagName !== "INPUT" || node.value === "") continue;
    const label = document.querySelector(`label[for="${name}"]`)?.textContent.replace(/ :$/, "") ?? name;
    const unit = node.dataset.unite ? ` ${field(node.dataset.unite).textContent}` : "";
    said.push(`${label} ${node.value}${unit}`);
  }
  return `Calcul fait. ${said.join(" ; ")}.`;
}

function showFault(message) {
  field("fauteTexte").textContent = message;
  field("faute").showModal();
  field("fauteOk").focus();
}

export function cmdCalcul_Click() {
  const s = state();
  const out = call("calc", { textes: s.textes, capteur: s.capteur, barlow: s.barlow, separateur: decimalSeparator() });
  for (const [name, text] of out.affiches) showText(name, text);
  for (const name of out.vides) showText(name, "");
  field("annonce").textContent = out.faute ? out.faute : summary();
  if (out.faute) showFault(out.faute);
  return out;
}

// The window's places, grown until every caption and the default
// instrument's results fit; a phone's one column needs none of it, so it
// waits until the screen is wide. What the user typed and saw is kept.
let fitted = false;
function fitOnce(form) {
  if (fitted) return;
  fitted = true;
  const typed = state();
  const shown = schema.resultats.map((name) => [name, readText(name)]);
  const said = field("annonce").textContent;
  formLoad();
  cmdCalcul_Click();
  fit(form);
  restore({ textes: typed.textes, capteur: typed.caption, barlow: typed.barlow });
  for (const [name, text] of shown) showText(name, text);
  field("annonce").textContent = said;
}

function readText(name) {
  const node = field(name);
  return node.tagName === "INPUT" ? node.value : node.textContent;
}

// The form as the page's HTML holds it, before the engine is there.
export function attach(formSchema) {
  schema = formSchema;
  shrinkToScreen(field("formulaire"));
}

// The engine is there: what the user typed meanwhile is kept.
export function setup() {
  const form = field("formulaire");
  const typed = state();
  form.addEventListener("submit", (e) => e.preventDefault());
  form.addEventListener("input", () => {
    showNotes();
    changed();
  });
  form.addEventListener("change", changed);
  formLoad();
  if (!matchMedia(NARROW).matches) fitOnce(form);
  restore({ textes: typed.textes, capteur: typed.caption, barlow: typed.barlow });
  shrinkToScreen(form);
  addEventListener("resize", () => shrinkToScreen(form));
  field("cmdCalcul").addEventListener("click", cmdCalcul_Click);
  // The page cannot close itself: « Annuler » starts again from the defaults.
  field("cmdAnnuler").addEventListener("click", formLoad);
  field("optBarlow").addEventListener("change", () => (field("txtSlitWide").disabled = true));
  // The narrow layout places controls by the form's flow, not by twips.
  matchMedia(NARROW).addEventListener("change", () => {
    if (!matchMedia(NARROW).matches) fitOnce(form);
    shrinkToScreen(form);
  });
  field("optFente").addEventListener("change", () => (field("txtSlitWide").disabled = false));
  field("fauteOk").addEventListener("click", () => field("faute").close());
}
