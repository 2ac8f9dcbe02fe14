// The page: the calculator first, from its own small model, then the rest
// (pages.js) with the whole model.
import { call, loadCalculator } from "./engine.js";
import * as calculator from "./calculator.js";
import { recall } from "./memory.js";
import { replayTaps } from "./dom.js";

async function main() {
  // The form came with the HTML: it is on screen, and takes typing (boot.js
  // keeps the taps), while the engine compiles.
  calculator.attach(JSON.parse(document.getElementById("schemaCalculateur").textContent));
  await loadCalculator();
  calculator.setup();
  // The fields of a closed tab at once; the design follows with the model.
  const work = recall();
  if (location.hash.length <= 1 && work?.calculateur?.textes) calculator.restore(work.calculateur);
  document.body.dataset.calculateur = "oui";
  performance.mark("kelvora-calculateur");
  replayTaps(document.getElementById("calculateur"));
  const pages = await import("./pages.js");
  await pages.start();
}

main();
