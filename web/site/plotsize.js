// The size the design's plots are drawn at, shared by the page that asks
// the model to place the names and the module that draws them.
export const PLOT_HEIGHT = 260;
// uPlot's title and x axis take this height, its y axis this width (px).
const TITLE_AND_X_AXIS = 78, Y_AXIS = 70;

export function chartWidth(box = document.getElementById("graphiques")) {
  return Math.max(280, Math.min(640, box.clientWidth - 16));
}

// The area inside the axes, where the names go.
export function plotArea() {
  return { largeur: chartWidth() - Y_AXIS, hauteur: PLOT_HEIGHT - TITLE_AND_X_AXIS };
}
