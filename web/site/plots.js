// The design's plots, drawn as the model describes them (titles, axes,
// curves, target, marked point, named lines): the page adds only colours.
// Drawn by uPlot, served from this site.
import uPlot from "./uPlot.esm.js";
import { el, scrollable, setHidden, table } from "./dom.js";
import { chartWidth, PLOT_HEIGHT } from "./plotsize.js";

// The library's style sheet comes with its code: the calculator needs neither.
document.head.append(el("link", { rel: "stylesheet", href: "uPlot.min.css" }));

const COLOURS = ["#1f77b4", "#2ca02c", "#ff7f0e", "#9467bd", "#d62728", "#8c564b"];
const LEVEL = "#b00000";
const charts = {};
const tables = {};

// A plot's data table, written only while it is open: typing stays fast.
function showTable(box) {
  const details = box.querySelector(".donnees");
  const plot = tables[box.dataset.id];
  if (!details.open || !plot) return;
  details.querySelector(".defile").replaceChildren(table(plot.titre, plot.tableau.colonnes, plot.tableau.lignes));
}
const described = {};

// Every curve of a plot shares the first one's abscissas; the target is a
// flat series over them.
function dataOf(plot) {
  const xs = plot.courbes[0]?.points[0] ?? [];
  const data = [xs, ...plot.courbes.map((c) => c.points[1])];
  if (plot.niveau !== null) data.push(xs.map(() => plot.niveau));
  return data;
}

function seriesOf(plot) {
  const series = plot.courbes.map((c, i) => {
    const total = plot.total && i === plot.courbes.length - 1;
    return { label: c.nom, stroke: total ? "#000" : COLOURS[i % COLOURS.length], width: total ? 3 : 2 };
  });
  if (plot.niveau !== null) series.push({ label: plot.nomNiveau, stroke: LEVEL, width: 1, dash: [6, 4] });
  return series;
}

function frameOf(plot) {
  return [plot.titre, plot.x, plot.y, plot.entier, seriesOf(plot)];
}

// A name where the model placed it (its bottom centre); none where the
// model found no room.
function label(u, mark) {
  if (!mark.ecrit) return;
  u.ctx.fillText(mark.nom, u.valToPos(mark.lx, "x", true), u.valToPos(mark.ly, "y", true));
}

// The named lines (vertical), the named points and the marked point.
function drawMarks(u) {
  const plot = described[u.root.dataset.id];
  const { ctx } = u;
  const { top, height } = u.bbox;
  ctx.save();
  ctx.strokeStyle = "#888";
  ctx.fillStyle = "#444";
  ctx.textAlign = "center";
  ctx.textBaseline = "bottom";
  ctx.font = `${Math.round(10 * devicePixelRatio)}px sans-serif`;
  for (const line of plot.traits) {
    const x = Math.round(u.valToPos(line.x, "x", true));
    ctx.beginPath();
    ctx.moveTo(x, top);
    ctx.lineTo(x, top + height);
    ctx.stroke();
    label(u, line);
  }
  for (const p of [...plot.etiquettes, ...(plot.point ? [plot.point] : [])]) {
    const x = u.valToPos(p.x, "x", true), y = u.valToPos(p.y, "y", true);
    ctx.beginPath();
    ctx.arc(x, y, 3 * devicePixelRatio, 0, 2 * Math.PI);
    ctx.fill();
  }
  for (const p of plot.etiquettes) label(u, p);
  if (plot.point) label(u, plot.point);
  ctx.restore();
}

function options(plot, width) {
  return {
    title: plot.titre,
    width,
    height: PLOT_HEIGHT,
    // The model's frame: the labels' places are fractions of it.
    scales: { x: { time: false, range: (u, lo, hi) => [lo, hi] }, y: { range: (u, lo, hi) => [lo, hi] } },
    axes: [{ label: plot.x, ...(plot.entier ? { incrs: [1, 2, 5, 10, 20, 50, 100, 200, 500, 1000, 2000, 5000] } : {}) },
      { label: plot.y, size: 60 }],
    series: [{ label: plot.x }, ...seriesOf(plot)],
    legend: { live: false },
    hooks: { draw: [drawMarks] },
  };
}

function figureOf(plot, container) {
  let box = document.getElementById(`fig-${plot.id}`);
  if (box) return box;
  box = el("figure", { id: `fig-${plot.id}`, class: "graphique", "data-id": plot.id },
    el("div", { class: "trace", role: "img", "aria-label": plot.titre }),
    el("figcaption", { class: "sans-graphique" }),
    el("details", { class: "donnees" }, el("summary", {}, "Données du graphique"),
      scrollable(el("div", { class: "defile" }), `Données : ${plot.titre}`)));
  box.querySelector(".donnees").addEventListener("toggle", () => showTable(box));
  container.append(box);
  return box;
}

export function drawPlots(answer, message = "") {
  const container = document.getElementById("graphiques");
  drawDrawing(container, answer?.dessin ?? null);
  drawInto(container, answer?.graphiques ?? null, answer != null, message);
}

// A picture the model drew (the Sun on the slit and the sensor), first in
// its box; none without one.
function drawDrawing(container, drawing) {
  let box = document.getElementById("fig-dessin");
  if (!drawing) {
    if (box) setHidden(box, true);
    return;
  }
  if (!box) {
    box = el("figure", { id: "fig-dessin", class: "dessin" });
    container.prepend(box);
  }
  setHidden(box, false);
  if (box.dataset.svg === drawing.svg) return;
  const svg = new DOMParser().parseFromString(drawing.svg, "image/svg+xml").documentElement;
  box.replaceChildren(document.importNode(svg, true));
  box.dataset.svg = drawing.svg;
}

// Only the plots the model lists, in its order.
function showOnly(container, plots) {
  const boxes = plots.map((p) => document.getElementById(`fig-${p.id}`));
  for (const box of container.querySelectorAll("figure.graphique")) setHidden(box, !boxes.includes(box));
  const shown = [...container.querySelectorAll("figure.graphique:not([hidden])")];
  if (shown.some((box, i) => box !== boxes[i])) container.append(...boxes);
}

// Plots of another part of the page (the calibration's), in their own box.
export function drawPlotSet(container, plots) {
  drawInto(container, plots, true, "");
}

function drawInto(container, given, valid, message) {
  const plots = given ?? Object.values(described).filter((p) => container.contains(document.getElementById(`fig-${p.id}`)));
  for (const plot of plots) {
    const box = figureOf(plot, container);
    const data = valid ? dataOf(plot) : null;
    const usable = data && data[0].length > 1;
    box.querySelector("figcaption").textContent = usable ? "" : `Pas de graphique : ${message || "aucun point"}`;
    setHidden(box.querySelector(".trace"), !usable);
    box.querySelector(".trace").setAttribute("aria-label", plot.titre);
    setHidden(box.querySelector(".donnees"), !usable);
    if (!usable) continue;
    tables[plot.id] = plot;
    showTable(box);
    // Titles and axes follow the design: only a chart with the same frame is updated in place.
    const sameSeries = described[plot.id] && JSON.stringify(frameOf(described[plot.id])) === JSON.stringify(frameOf(plot));
    described[plot.id] = plot;
    // A chart whose box was emptied (a new calibration) is drawn anew.
    if (charts[plot.id] && sameSeries && box.contains(charts[plot.id].root)) {
      charts[plot.id].setSize({ width: chartWidth(container), height: PLOT_HEIGHT });
      charts[plot.id].setData(data);
      continue;
    }
    charts[plot.id]?.destroy();
    box.querySelector(".trace").replaceChildren();
    charts[plot.id] = new uPlot(options(plot, chartWidth(container)), data, box.querySelector(".trace"));
    charts[plot.id].root.dataset.id = plot.id;
  }
  if (given) showOnly(container, plots);
}

window.addEventListener("resize", () => {
  for (const chart of Object.values(charts)) chart.setSize({ width: chartWidth(), height: PLOT_HEIGHT });
});
