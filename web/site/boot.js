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
