// The browser edition's figures, in headless Chromium on this machine:
// the site's size, the time from navigation to the calculator's form ready
// to compute (the first page a visitor sees), one
// design evaluation in WebAssembly (beside the native benchmark's
// "design-run"), a keystroke in « Conception avancée » to updated results
// and plots, and the calculator ready on a slow phone (Chromium's 4× CPU
// slowdown and its "Fast 3G" network), on a first visit and on a return.
//   node web/bench/bench.mjs SITE_DIR
import { readdir, stat } from "node:fs/promises";
import { join } from "node:path";
import { chromium } from "playwright-core";
import { serve } from "../tools/serve.js";

const site = process.argv[2];
const FULL_CHAIN = {
  detecteur: "IMX533", geometrie: "littrow", fente_um: "20", cible_snr: "100", masse_air: "1.3",
  miroirs: "2", blaze_a: "5000", temperature_k: "5800",
};

function median(values) {
  const sorted = [...values].sort((a, b) => a - b);
  return sorted[Math.floor(sorted.length / 2)];
}

let bytes = 0;
for (const name of await readdir(site)) bytes += (await stat(join(site, name))).size;

const server = await serve(site);
const url = `http://127.0.0.1:${server.address().port}/`;
const browser = await chromium.launch({ executablePath: process.env.CHROMIUM ?? "/usr/bin/chromium", args: ["--no-sandbox"] });
const firsts = [];
for (let i = 0; i < 5; ++i) {
  const context = await browser.newContext(); // no cache, no service worker yet
  const page = await context.newPage();
  await page.goto(url);
  await page.waitForSelector("body[data-pret]");
  firsts.push(await page.evaluate(() => performance.getEntriesByName("kelvora-calculateur")[0].startTime));
  await context.close();
}
const page = await (await browser.newContext()).newPage();
await page.goto(url);
await page.waitForSelector("body[data-pret]");
// Steady state, as the native benchmark measures: the engine optimises hot
// WebAssembly functions in the background, so the first rounds warm up.
const engine = await page.evaluate(async () => `./${(await (await fetch("fichiers.json")).json())["engine.js"]}`);
const evaluation = await page.evaluate(async ([cles, engine]) => {
  const { call } = await import(engine);
  const rounds = [];
  for (let i = 0; i < 12; ++i) rounds.push(call("mesure", { cles, fois: 50000 }).ns);
  return rounds.slice(4);
}, [FULL_CHAIN, engine]);
// Reading and fitting a spectrum of 4,000 points, as the native benchmark
// "etalonnage-4000-points" does, in WebAssembly.
const calibrationMs = await page.evaluate(async (engine) => {
  const { call } = await import(engine);
  const cles = { geometrie: "littrow", traits_mm: "600", lambda_a: "6000", detecteur: "IMX455",
    collimateur_mm: "100", objectif_mm: "100", mag_etoile: "5" };
  const rounds = [];
  for (let i = 0; i < 6; ++i) rounds.push(call("mesureEtalonnage", { cles, fois: 5 }).ms);
  return rounds.slice(2);
}, engine);
await page.click("#ongletConception");
// Each keystroke from the input event to every result and line verdict
// updated, and the plots drawn at the next frame (uPlot in a microtask).
function typeWavelengths(p) {
  return p.evaluate(async () => {
    const field = document.querySelector('[name="lambda_a"]');
    const results = [], plots = [];
    for (let i = 0; i < 60; ++i) {
      field.value = String(5000 + i * 10);
      // Frame callbacks run in the order asked: this one before the page's
      // plots, the one below after them and their microtasks.
      let frameStart = 0;
      requestAnimationFrame(() => { frameStart = performance.now(); });
      const t0 = performance.now();
      field.dispatchEvent(new Event("input", { bubbles: true }));
      results.push(performance.now() - t0);
      await new Promise((r) => requestAnimationFrame(() => r()));
      plots.push(performance.now() - frameStart);
      await new Promise((r) => requestAnimationFrame(() => r()));
    }
    return { results, plots, total: results.map((r, i) => r + plots[i]) };
  });
}
const typed = await typeWavelengths(page);
const keystrokes = typed.total;
// The worst designs found, at 4× CPU slowdown: slitless at one line per mm
// (54 s a keystroke at 5 lines per mm before the profile was bounded).
const worstKeystrokes = {};
for (const [name, hash] of [["sans_fente_1_trait", "geometrie=convergent&traits_mm=1"],
  ["sans_fente_0_01_trait", "geometrie=convergent&traits_mm=0.01"]]) {
  const slow = await (await browser.newContext()).newPage();
  await (await slow.context().newCDPSession(slow)).send("Emulation.setCPUThrottlingRate", { rate: 4 });
  await slow.goto(`${url}#${hash}`);
  await slow.waitForSelector("body[data-pret]");
  await slow.waitForSelector("output[data-valeur]");
  const t = await typeWavelengths(slow);
  worstKeystrokes[name] = { resultats: Number(median(t.results).toFixed(2)), graphiques: Number(median(t.plots).toFixed(2)) };
  await slow.context().close();
}
// Chromium's "Fast 3G" preset: 562.5 ms latency, about 1.44 Mbit/s down.
const FAST_3G = { offline: false, latency: 562.5, downloadThroughput: (1.6 * 1024 * 1024 / 8) * 0.9,
  uploadThroughput: (750 * 1024 / 8) * 0.9 };

const SETTLE_MS = 3000;

async function slowPhone(context) {
  const page = await context.newPage();
  const cdp = await context.newCDPSession(page);
  await cdp.send("Network.enable");
  await cdp.send("Network.emulateNetworkConditions", FAST_3G);
  await cdp.send("Emulation.setCPUThrottlingRate", { rate: 4 });
  return page;
}

// The calculator ready, from navigation; the plotting code never loaded.
async function calculatorReady(page) {
  await page.goto(url);
  await page.waitForSelector("body[data-pret]");
  const ready = await page.evaluate(() => performance.getEntriesByName("kelvora-calculateur")[0].startTime);
  // The form is in the HTML: shown when its « Calcul » button is painted.
  const form = await page.evaluate(() => new Promise((resolve) => {
    new PerformanceObserver((list) => {
      const painted = list.getEntries().find((e) => e.identifier === "kelvora-formulaire");
      if (painted) resolve(painted.renderTime);
    }).observe({ type: "element", buffered: true });
  }));
  const plotting = await page.evaluate(() =>
    performance.getEntriesByType("resource").some((r) => /uPlot|plots\.js/.test(r.name)));
  return { ready, form, plotting };
}

const phoneFirst = [], phoneReturn = [], formFirst = [], formReturn = [];
let plottingLoaded = false;
for (let i = 0; i < 5; ++i) {
  const context = await browser.newContext({ viewport: { width: 390, height: 844 }, isMobile: true });
  const first = await calculatorReady(await slowPhone(context));
  phoneFirst.push(first.ready);
  formFirst.push(first.form);
  plottingLoaded ||= first.plotting;
  // The service worker holds the site now; wait for it to finish installing.
  const warm = context.pages()[0];
  await warm.evaluate(() => navigator.serviceWorker.ready);
  await warm.close();
  // A visitor comes back later, not while the closed tab is torn down.
  await new Promise((resolve) => setTimeout(resolve, SETTLE_MS));
  const again = await calculatorReady(await slowPhone(context));
  phoneReturn.push(again.ready);
  formReturn.push(again.form);
  await context.close();
}
// A return through the browser's cache alone (no service worker): the
// fingerprinted files come from the cache without a request.
const cachedReturn = [];
for (let i = 0; i < 5; ++i) {
  const context = await browser.newContext({ viewport: { width: 390, height: 844 }, isMobile: true,
    serviceWorkers: "block" });
  await calculatorReady(await slowPhone(context));
  cachedReturn.push((await calculatorReady(await slowPhone(context))).ready);
  await context.close();
}
await browser.close();
server.close();
console.log(JSON.stringify({
  site_octets: bytes,
  premiers_resultats_ms: Number(median(firsts).toFixed(1)),
  evaluation_wasm_us: Number((median(evaluation) / 1000).toFixed(3)),
  frappe_resultats_et_graphiques_ms: Number(median(keystrokes).toFixed(2)),
  frappe_resultats_ms: Number(median(typed.results).toFixed(2)),
  frappe_graphiques_image_suivante_ms: Number(median(typed.plots).toFixed(2)),
  frappe_pire_conception_cpu_x4_ms: worstKeystrokes,
  etalonnage_4000_points_ms: Number(median(calibrationMs).toFixed(2)),
  telephone_premiere_visite_ms: Math.round(median(phoneFirst)),
  telephone_formulaire_premiere_visite_ms: Math.round(median(formFirst)),
  telephone_retour_ms: Math.round(median(phoneReturn)),
  telephone_formulaire_retour_ms: Math.round(median(formReturn)),
  telephone_retour_sans_service_worker_ms: Math.round(median(cachedReturn)),
  calculateur_charge_le_traceur: plottingLoaded,
}, null, 1));
