// « Proposer une conception »: the best designs for a target resolution,
// each loaded into the design with one click.
import { call } from "./engine.js";
import { decimalSeparator, el, table } from "./dom.js";
import { keys, load, savedKeys } from "./design.js";

let schema = null;

function fieldsOf() {
  const out = {};
  for (const row of schema.proposeur) {
    const value = document.getElementById(`prop-${row.cle}`).value.trim();
    if (value !== "") out[row.cle] = value;
  }
  return out;
}

function candidateTable(candidates) {
  const headers = [...schema.colonnes.map((c) => c.libelle), "Conception"];
  const rows = candidates.map((c, i) => [
    ...schema.colonnes.map((col) => c.colonnes[col.cle]),
    el("button", { type: "button", "data-candidat": i }, "Charger"),
  ]);
  return table("Conceptions proposées", headers, rows);
}

function propose() {
  const answer = call("propose", { cles: keys(), proposeur: fieldsOf(), nombre: 10, separateur: decimalSeparator() });
  const box = document.getElementById("candidats");
  document.getElementById("erreurProposeur").textContent = answer.erreur ?? "";
  box.replaceChildren();
  if (answer.erreur) return;
  box.append(candidateTable(answer.candidats));
  box.querySelectorAll("button[data-candidat]").forEach((b) =>
    b.addEventListener("click", () => load({ ...(savedKeys() ?? {}), ...answer.candidats[Number(b.dataset.candidat)].cles })));
}

export function setup(designSchema) {
  schema = designSchema;
  const form = document.getElementById("proposeur");
  for (const row of schema.proposeur) {
    const id = `prop-${row.cle}`;
    form.append(el("div", { class: "ligne" }, el("label", { for: id }, row.libelle),
      el("input", { id, name: row.cle, type: "text", value: row.defaut, spellcheck: "false" })));
  }
  form.append(el("button", { type: "submit", id: "cmdProposer" }, "Proposer"));
  form.addEventListener("submit", (e) => {
    e.preventDefault();
    propose();
  });
}
