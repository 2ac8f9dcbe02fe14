// The calculator window's controls as the model describes them, placed as
// the window places them. Drawn once, at build time, into the page's HTML
// (web/tools/prerender.mjs): the first paint is the usable form.
import { el } from "./dom.js";

// As the desktop window does at 96 dpi: 15 twips a pixel.
export const TWIPS_PER_PIXEL = 15;

export function px(twips, twipsPerPixel = TWIPS_PER_PIXEL) {
  return `${Math.round(twips / twipsPerPixel)}px`;
}

export function place(node, c, twipsPerPixel = TWIPS_PER_PIXEL) {
  Object.assign(node.style, {
    left: px(c.x, twipsPerPixel), top: px(c.y, twipsPerPixel),
    width: px(c.l, twipsPerPixel), height: px(c.h, twipsPerPixel),
  });
  return node;
}

// A label right after a field is its unit, unless it names the field after it.
function unitOf(c, next, after) {
  const labelsNext = after?.genre === "champ" && after.parent === next?.parent;
  return next?.genre === "etiquette" && next.parent === c.parent && Math.abs(next.y - c.y) < 60 &&
    next.x > c.x && !labelsNext ? next.nom : null;
}

function control(schema, c, next, after) {
  switch (c.genre) {
    case "groupe":
      return el("fieldset", { id: c.nom }, el("legend", {}, c.texte));
    case "etiquette":
      // A label right before a text field names it.
      return next?.genre === "champ" && next.parent === c.parent
        ? el("label", { id: c.nom, for: next.nom }, c.texte)
        : el("span", { id: c.nom, class: "etiquette" }, c.texte);
    case "champ": {
      const input = schema.defauts[c.nom] !== undefined;
      // A unit written right after a field is heard with it.
      const unit = unitOf(c, next, after);
      return el("input", {
        id: c.nom, name: c.nom, type: "text", class: `champ ${c.fond}`, readonly: !input,
        spellcheck: "false", inputmode: input ? "decimal" : null, "aria-describedby": unit,
        "data-unite": unit, value: input ? schema.defauts[c.nom] : null,
      });
    }
    case "option": {
      const group = c.nom === "optBarlow" || c.nom === "optFente" ? "modele" : "capteur";
      const checked = c.nom === "optBarlow" || c.nom === schema.boutonsCapteur[0];
      return el("label", { id: `${c.nom}-case`, class: "option" },
        el("input", { type: "radio", id: c.nom, name: group, checked }), c.texte);
    }
    default:
      return el("button", { type: "button", id: c.nom }, c.texte);
  }
}

// Every control in the window's tab order, each with its default state, and
// right after each field (or its unit) the place that says how it is read:
// heard always, seen on a touch screen where no tooltip shows (style.css).
export function drawForm(form, schema) {
  Object.assign(form.style, { width: px(schema.largeur), height: px(schema.hauteur) });
  const controls = schema.controles;
  const nodes = {};
  controls.forEach((c, i) => {
    const node = place(control(schema, c, controls[i + 1], controls[i + 2]), c);
    nodes[c.nom] = node;
    (c.parent ? nodes[c.parent] : form).append(node);
  });
  for (const name of Object.keys(schema.defauts)) {
    const unit = nodes[name].getAttribute("data-unite");
    (unit ? nodes[unit] : nodes[name]).after(el("span", { id: `${name}-lecture`, class: "cache-visuel lecture" }));
  }
  nodes.txtSlitWide.setAttribute("disabled", "");
  // Its paint is the form's: the bench times it (Element Timing).
  nodes.cmdCalcul.setAttribute("elementtiming", "kelvora-formulaire");
}
