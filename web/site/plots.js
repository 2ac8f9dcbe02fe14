// The design's plots: the efficiencies and the S/N across the range, and
// the S/N against the exposure. Drawn by uPlot, served from this site.
import uPlot from "./uPlot.esm.js";
import { el } from "./dom.js";

const COLOURS = ["#1f77b4", "#ff7f0e", "#2ca02c", "#d62728", "#9467bd", "#8c564b", "#222222"];
const charts = {};
let lines = [];

const FIGURES = [
  {
    id: "rendement", title: "Rendement selon la longueur d'onde", x: "Longueur d'onde (Å)", y: "Transmission",
    series: ["Atmosphère", "Télescope", "Réseau", "QE", "Fente", "Total"],
    data: (a) => columns(a.spectre, [0, 1, 2, 3, 4, 5, 6]),
  },
  {
    id: "snr-lambda", title: "S/N selon la longueur d'onde", x: "Longueur d'onde (Å)", y: "S/N",
    series: ["par pixel", "par élément"], marks: true,
    data: (a) => columns(a.spectre, [0, 8, 9]),
  },
  {
    id: "snr-pose", title: "S/N selon la pose totale", x: "Pose totale (s)", y: "S/N",
    series: ["par pixel"],
    data: (a) => a.snr_pose,
  },
];

function columns(rows, indexes) {
  return indexes.map((i) => rows.map((r) => r[i]));
}

// The reference lines on the sensor, as vertical marks with their names.
function drawMarks(u) {
  const { ctx } = u;
  const { top, height } = u.bbox;
  ctx.save();
  ctx.strokeStyle = "#888";
  ctx.fillStyle = "#444";
  ctx.font = `${Math.round(10 * devicePixelRatio)}px sans-serif`;
  for (const line of lines) {
    const x = Math.round(u.valToPos(line.lambda_a, "x", true));
    ctx.beginPath();
    ctx.moveTo(x, top);
    ctx.lineTo(x, top + height);
    ctx.stroke();
    ctx.save();
    ctx.translate(x - 3, top + height - 4);
    ctx.rotate(-Math.PI / 2);
    ctx.fillText(line.nom, 0, 0);
    ctx.restore();
  }
  ctx.restore();
}

function options(figure, width) {
  return {
    title: figure.title,
    width,
    height: 260,
    scales: { x: { time: false } },
    axes: [{ label: figure.x }, { label: figure.y, size: 60 }],
    series: [{ label: figure.x }, ...figure.series.map((label, i) => ({ label, stroke: COLOURS[i], width: 2 }))],
    legend: { live: false },
    hooks: figure.marks ? { draw: [drawMarks] } : {},
  };
}

function container() {
  return document.getElementById("graphiques");
}

function chartWidth() {
  return Math.max(280, Math.min(640, container().clientWidth - 16));
}

function ensureFigures() {
  for (const figure of FIGURES) {
    if (document.getElementById(`fig-${figure.id}`)) continue;
    const box = el("figure", { id: `fig-${figure.id}`, class: "graphique" },
      el("div", { class: "trace", role: "img", "aria-label": figure.title }),
      el("figcaption", { class: "sans-graphique" }));
    container().append(box);
  }
}

export function drawPlots(answer, message = "") {
  ensureFigures();
  lines = (answer?.raies?.raies ?? []).filter((l) => l.marquee);
  for (const figure of FIGURES) {
    const box = document.getElementById(`fig-${figure.id}`);
    const caption = box.querySelector("figcaption");
    const data = answer ? figure.data(answer) : null;
    const usable = data && data[0].length > 1;
    caption.textContent = usable ? "" : `Pas de graphique : ${message || "aucun point"}`;
    box.querySelector(".trace").hidden = !usable;
    if (!usable) continue;
    if (!charts[figure.id]) {
      charts[figure.id] = new uPlot(options(figure, chartWidth()), data, box.querySelector(".trace"));
    } else {
      // Drawn first while its page was hidden: take the width now shown.
      if (charts[figure.id].width !== chartWidth()) charts[figure.id].setSize({ width: chartWidth(), height: 260 });
      charts[figure.id].setData(data);
    }
  }
}

window.addEventListener("resize", () => {
  for (const chart of Object.values(charts)) chart.setSize({ width: chartWidth(), height: 260 });
});
