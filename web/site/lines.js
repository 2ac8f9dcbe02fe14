// The reference lines: which pairs the design separates, how many lamp
// lines fall on the sensor, and the lines themselves.
import { el, table } from "./dom.js";

export function showLines(report) {
  const box = document.getElementById("raies");
  box.replaceChildren();
  if (!report) return;
  box.append(
    table("Paires de raies", ["Paire", "Écart (Å)", "Élément (Å)", "Verdict"],
      report.paires.map((p) => [p.nom, p.separation_a, p.element_a, p.verdict])),
    table("Lampes d'étalonnage", ["Lampe", "Raies sur le capteur"],
      report.lampes.map((l) => [l.lampe, l.raies])),
    el("details", {}, el("summary", {}, `Raies sur le capteur (${report.raies.length})`),
      table("Raies sur le capteur", ["Raie", "λ (Å)", "Pixel"],
        report.raies.map((r) => [r.nom, r.lambda, r.pixel]))),
  );
}
