// The page: loads the model, draws both pages, wires files and links.
import { call, load } from "./engine.js";
import { say } from "./dom.js";
import * as calculator from "./calculator.js";
import * as design from "./design.js";
import * as proposer from "./proposer.js";
import { acceptDrops, openFile, saveFile } from "./files.js";
import { linkOf, openLink } from "./link.js";

function showPage(id) {
  for (const page of ["calculateur", "conception"]) {
    document.getElementById(page).hidden = page !== id;
    const tab = document.querySelector(`[aria-controls="${page}"]`);
    tab.setAttribute("aria-pressed", String(page === id));
  }
  if (id === "conception") design.evaluate();
}

async function copyLink() {
  const link = linkOf();
  history.replaceState(null, "", link);
  try {
    await navigator.clipboard.writeText(link);
    say("Lien copié.");
  } catch {
    say(`Lien : ${link}`);
  }
}

function followLink() {
  const error = openLink(location.hash);
  if (error) say(error);
  else if (location.hash.length > 1) showPage("conception");
}

async function main() {
  await load();
  calculator.setup(call("schemaCalculateur"));
  performance.mark("kelvora-calculateur");
  // The calculator is painted before the hidden pages are built, unless a
  // link asks for the design first.
  if (location.hash.length <= 1) await new Promise((r) => requestAnimationFrame(() => setTimeout(r, 0)));
  const designSchema = call("schemaConception");
  design.setup(designSchema);
  proposer.setup(designSchema);
  document.getElementById("ongletCalculateur").addEventListener("click", () => showPage("calculateur"));
  document.getElementById("ongletConception").addEventListener("click", () => showPage("conception"));
  document.getElementById("fichierOuvrir").addEventListener("change", (e) => {
    if (e.target.files[0]) openFile(e.target.files[0]);
    e.target.value = "";
  });
  document.getElementById("cmdEnregistrer").addEventListener("click", saveFile);
  document.getElementById("cmdLien").addEventListener("click", copyLink);
  acceptDrops();
  addEventListener("hashchange", followLink);
  followLink();
  document.body.dataset.pret = "oui";
  performance.mark("kelvora-pret");
  // The hidden page's results wait until the shown one is on screen.
  requestAnimationFrame(() => setTimeout(() => design.evaluate(), 0));
  if ("serviceWorker" in navigator) navigator.serviceWorker.register("sw.js").catch(() => {});
}

main();
