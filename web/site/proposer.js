// « Proposer une conception »: the best designs for a target resolution,
// each loaded into the design with one click. The search runs in a worker:
// the page shows its progress and « Arrêter » ends it at once.
import { call } from "./engine.js";
import { decimalSeparator, el, say, scrollable, table } from "./dom.js";
import { keys, load, savedKeys } from "./design.js";

let schema = null;
let worker = null;

function fieldsOf() {
  const out = {};
  for (const row of schema.proposeur) {
    const value = document.getElementById(`prop-${row.cle}`).value.trim();
    if (value !== "") out[row.cle] = value;
  }
  return out;
}

// « Charger » first: it stays in view however wide the table. The answer
// names its columns (a spectroheliograph's are its own).
function candidateTable(candidates, columns) {
  const headers = ["Conception", ...columns.map((c) => c.libelle)];
  const rows = candidates.map((c, i) => [
    el("button", { type: "button", "data-candidat": i }, "Charger"),
    ...columns.map((col) => c.colonnes[col.cle]),
  ]);
  return scrollable(el("div", { class: "defile" }, table("Conceptions proposées", headers, rows)), "Conceptions proposées");
}

function node(id) {
  return document.getElementById(id);
}

function showAnswer(answer) {
  const box = node("candidats");
  node("erreurProposeur").textContent = answer.erreur ?? "";
  box.replaceChildren();
  if (answer.erreur) return;
  box.append(candidateTable(answer.candidats, answer.colonnes ?? schema.colonnes));
  box.querySelectorAll("button[data-candidat]").forEach((b) =>
    b.addEventListener("click", () => take(answer.candidats, Number(b.dataset.candidat))));
}

// A candidate loaded says so and brings its results into view.
function take(candidates, i) {
  const error = load({ ...(savedKeys() ?? {}), ...candidates[i].cles });
  if (error) return say(`Impossible de charger la conception ${i + 1} : ${error}`);
  say(`Conception ${i + 1} chargée : ses résultats sont affichés.`);
  node("resultats").scrollIntoView({ block: "start" });
}

function running(yes) {
  node("cmdProposer").disabled = yes;
  node("cmdArreter").hidden = !yes;
  node("avancement").hidden = !yes;
}

export function stop() {
  worker?.terminate();
  worker = null;
  running(false);
  node("etatProposeur").textContent = "Recherche arrêtée.";
}

function progress([done, total]) {
  const bar = node("avancement");
  bar.max = total;
  bar.value = done;
  node("etatProposeur").textContent = `${Math.round((100 * done) / total)} % des combinaisons essayées`;
}

function propose() {
  const request = { cles: keys(), proposeur: fieldsOf(), nombre: 10, separateur: decimalSeparator() };
  const count = call("compte", request);
  const refusal = count.erreur ?? count.refus;
  node("erreurProposeur").textContent = refusal ?? "";
  if (refusal) return;
  node("candidats").replaceChildren();
  node("etatProposeur").textContent = `${count.combinaisons} combinaisons à essayer…`;
  worker ??= new Worker("proposer-worker.js", { type: "module" });
  worker.onmessage = ({ data }) => {
    if (data.progres) return progress(data.progres);
    running(false);
    node("etatProposeur").textContent = "";
    showAnswer(data.fin);
  };
  running(true);
  worker.postMessage(request);
}

export function setup(designSchema) {
  schema = designSchema;
  const form = node("proposeur");
  for (const row of schema.proposeur) {
    const id = `prop-${row.cle}`;
    form.append(el("div", { class: "ligne" }, el("label", { for: id }, row.libelle),
      el("input", { id, name: row.cle, type: "text", value: row.defaut, spellcheck: "false" })));
  }
  form.append(el("div", { class: "actions" },
    el("button", { type: "submit", id: "cmdProposer" }, "Proposer"),
    el("button", { type: "button", id: "cmdArreter", hidden: true }, "Arrêter"),
    el("progress", { id: "avancement", hidden: true, "aria-label": "Avancement de la recherche" })));
  form.after(el("p", { id: "etatProposeur", role: "status" }));
  form.addEventListener("submit", (e) => {
    e.preventDefault();
    propose();
  });
  node("cmdArreter").addEventListener("click", stop);
}
