// Building the page from data: text always goes in as text, never as markup.

export function el(tag, attributes = {}, ...children) {
  const node = document.createElement(tag);
  for (const [name, value] of Object.entries(attributes)) {
    if (value === false || value === null || value === undefined) continue;
    node.setAttribute(name, value === true ? "" : String(value));
  }
  for (const child of children) {
    if (child === null || child === undefined) continue;
    node.append(child instanceof Node ? child : document.createTextNode(String(child)));
  }
  return node;
}

// The decimal separator of the user's regional settings, asked once: every
// keystroke reads and writes dozens of numbers.
const separator =
  new Intl.NumberFormat().formatToParts(1.5).find((p) => p.type === "decimal")?.value ?? ".";
// Hides or shows a node, touching it only when that changes: an attribute
// set again still invalidates the page's style, at every keystroke.
export function setHidden(node, hidden) {
  if (node.hidden !== hidden) node.hidden = hidden;
}

export function decimalSeparator() {
  return separator;
}

// A table with its caption and column headers; each row an array of cells
// (texts, numbers or elements).
export function table(caption, headers, rows) {
  return el("table", {}, el("caption", {}, caption),
    el("thead", {}, el("tr", {}, ...headers.map((h) => el("th", { scope: "col" }, h)))),
    el("tbody", {}, ...rows.map((r) => el("tr", {}, ...r.map((c) => el("td", {}, c))))));
}

// A box that scrolls sideways, reachable and named for the keyboard.
export function scrollable(node, name) {
  node.setAttribute("tabindex", "0");
  node.setAttribute("role", "region");
  node.setAttribute("aria-label", name);
  return node;
}

export function say(text) {
  const message = document.getElementById("message");
  message.textContent = text;
}

// Taps boot.js kept while a part of the page loaded: those on buttons inside
// `part` (the whole document by default) are pressed now, the rest kept.
export function replayTaps(part = document) {
  const taps = window.kelvoraTaps ?? [];
  const mine = (id) => part.contains(document.getElementById(id));
  window.kelvoraTaps = taps.filter((id) => !mine(id));
  for (const id of taps) if (mine(id)) document.getElementById(id).click();
}
