// Runs before the model has loaded: shows that the page is coming, and keeps
// the buttons tapped meanwhile, which the page presses again once ready.
"use strict";
window.kelvoraTaps = [];
document.addEventListener("click", function keep(event) {
  if (document.body.dataset.pret) return document.removeEventListener("click", keep, true);
  const button = event.target.closest("button[id]");
  if (!button) return;
  // The calculator answers as soon as its own part is ready.
  if (document.body.dataset.calculateur && button.closest("#calculateur")) return;
  event.preventDefault();
  event.stopImmediatePropagation();
  window.kelvoraTaps.push(button.id);
}, true);
// Over the network (a first visit, or no service worker) the calculator's
// modules and its small model are asked for at once, not one import level
// at a time: once the parser has asked for the stylesheet, which the form's
// first paint waits for and which must not queue behind them. From the
// service worker's cache each comes in milliseconds, and asking for them
// early would only delay that paint.
if (!(navigator.serviceWorker && navigator.serviceWorker.controller)) {
  setTimeout(() => {
    const early = ["app.js", "engine.js", "kelvora-calculateur.js", "dom.js", "calculator.js", "form.js",
      "memory.js", "kelvora-calculateur.wasm"];
    for (const href of early) {
      const link = document.createElement("link");
      link.href = href;
      if (href.endsWith(".wasm")) {
        Object.assign(link, { rel: "preload", as: "fetch", type: "application/wasm", crossOrigin: "anonymous" });
      } else {
        link.rel = "modulepreload";
      }
      document.head.appendChild(link);
    }
  }, 0);
}
