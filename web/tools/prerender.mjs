// Draws the calculator's form at build time with the page's own form.js, so
// that the HTML holds it and the first paint is the usable form. The page's
// policy forbids inline styles, so the places go to a stylesheet by id.
//   node prerender.mjs SCHEMA_JSON OUT_HTML OUT_CSS
// form.js needs only a few of the document's calls: a small stand-in
// provides them here, and writes the markup out.
import { readFile, writeFile } from "node:fs/promises";

const VOID = new Set(["input"]);

function escape(text, quotes) {
  const out = String(text).replaceAll("&", "&amp;").replaceAll("<", "&lt;").replaceAll(">", "&gt;");
  return quotes ? out.replaceAll('"', "&quot;") : out;
}

class Node {
  parent = null;
  after(node) {
    const siblings = this.parent.children;
    node.parent = this.parent;
    siblings.splice(siblings.indexOf(this) + 1, 0, node);
  }
}

class Text extends Node {
  constructor(text) {
    super();
    this.text = text;
  }
  html() {
    return escape(this.text, false);
  }
}

class Element extends Node {
  children = [];
  attributes = new Map();
  style = {};
  constructor(tag) {
    super();
    this.tag = tag;
  }
  setAttribute(name, value) {
    this.attributes.set(name, String(value));
  }
  getAttribute(name) {
    return this.attributes.get(name) ?? null;
  }
  append(...nodes) {
    for (const node of nodes) {
      const child = node instanceof Node ? node : new Text(node);
      child.parent = this;
      this.children.push(child);
    }
  }
  html() {
    const attributes = [...this.attributes].map(([n, v]) => (v === "" ? ` ${n}` : ` ${n}="${escape(v, true)}"`));
    const open = `<${this.tag}${attributes.join("")}>`;
    return VOID.has(this.tag) ? open : `${open}${this.children.map((c) => c.html()).join("")}</${this.tag}>`;
  }
  *placed() {
    if (Object.keys(this.style).length) yield this;
    for (const c of this.children) if (c instanceof Element) yield* c.placed();
  }
}

globalThis.Node = Node;
globalThis.document = { createElement: (tag) => new Element(tag), createTextNode: (text) => new Text(text) };
const { drawForm } = await import("../site/form.js");

const [schemaPath, htmlPath, cssPath] = process.argv.slice(2);
const form = new Element("form");
form.setAttribute("id", "formulaire");
drawForm(form, JSON.parse(await readFile(schemaPath, "utf8")));
const css = [...form.placed()].map((node) => {
  const rules = Object.entries(node.style).map(([k, v]) => `${k.replace(/[A-Z]/g, (c) => `-${c.toLowerCase()}`)}: ${v}`);
  return `#${node.getAttribute("id")} { ${rules.join("; ")}; }`;
});
await writeFile(htmlPath, form.children.map((c) => c.html()).join("\n"));
await writeFile(cssPath, `/* The calculator's places, drawn at build time (web/tools/prerender.mjs). */\n${css.join("\n")}\n`);
