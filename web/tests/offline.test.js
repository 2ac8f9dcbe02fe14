// Installable and offline, accessible, and self-contained: the service
// worker serves the page without a network, the manifest and icons are
// there, axe-core finds no violation, the keyboard reaches every control.
import { after, before, test } from "node:test";
import assert from "node:assert/strict";
import { readFile } from "node:fs/promises";
import { createRequire } from "node:module";
import { start } from "./browser.js";

let env;
before(async () => (env = await start()));
after(async () => env.stop());

// The service worker installed and in charge of the page.
function untilTheWorkerControls(page) {
  return page.evaluate(async () => {
    await navigator.serviceWorker.ready;
    if (!navigator.serviceWorker.controller)
      await new Promise((r) => navigator.serviceWorker.addEventListener("controllerchange", r));
  });
}

test("after one visit the page works offline", async () => {
  const page = await env.open();
  await untilTheWorkerControls(page);
  await page.context().setOffline(true);
  await page.reload();
  await page.waitForSelector("body[data-pret]");
  await page.click("#cmdCalcul");
  assert.equal(await page.inputValue("#txtSB"), "214.7");
  assert.deepEqual(env.problems, []);
});

test("over the network the stylesheet goes first and the calculator's files follow at once; from the service worker, none early", async () => {
  const context = await env.browser.newContext();
  const page = await context.newPage();
  const asked = [];
  page.on("request", (r) => asked.push(new URL(r.url()).pathname.slice(1).replace(/\.[0-9a-f]{8}\./, ".")));
  await page.goto(`${env.origin}/`);
  await page.waitForSelector("body[data-pret]");
  const early = () => page.evaluate(() =>
    [...document.querySelectorAll('link[rel="modulepreload"], link[rel="preload"]')].length);
  assert.equal(await early(), 8);
  for (const name of ["engine.js", "calculator.js", "kelvora-calculateur.wasm"])
    assert.ok(asked.indexOf("style.css") < asked.indexOf(name), name);
  await untilTheWorkerControls(page);
  await page.reload();
  await page.waitForSelector("body[data-pret]");
  assert.equal(await early(), 0);
  await context.close();
});

test("installable, and only the page's own scripts and WebAssembly may run", async () => {
  const page = await env.open();
  const policy = await page.getAttribute('meta[http-equiv="Content-Security-Policy"]', "content");
  assert.match(policy, /default-src 'self'/);
  // The page's one inline script (boot.js, kept by its hash) ran, and no
  // other may.
  assert.match(policy, /script-src 'self' 'wasm-unsafe-eval' 'sha256-[A-Za-z0-9+/]+=*';/);
  assert.ok(await page.evaluate(() => Array.isArray(window.kelvoraTaps)));
  assert.doesNotMatch(policy, /'unsafe-inline'|'unsafe-eval'|https?:/);
  const manifest = await page.evaluate(async () => (await fetch("manifest.webmanifest")).json());
  assert.equal(manifest.display, "standalone");
  const sizes = manifest.icons.map((i) => i.sizes);
  assert.ok(sizes.includes("192x192") && sizes.includes("512x512"));
  for (const icon of manifest.icons)
    assert.equal(await page.evaluate(async (src) => (await fetch(src)).status, icon.src), 200);
});

test("axe-core finds no violation on either page", async () => {
  const require = createRequire(import.meta.url);
  const axe = await readFile(require.resolve("axe-core/axe.min.js"), "utf8");
  const page = await env.open();
  for (const tab of ["#ongletCalculateur", "#ongletConception"]) {
    await page.click(tab);
    await page.evaluate(axe);
    const violations = await page.evaluate(async () =>
      (await window.axe.run(document)).violations.map((v) => `${v.id}: ${v.nodes.map((n) => n.target).join(" ")}`));
    assert.deepEqual(violations, [], tab);
  }
  assert.deepEqual(env.problems, []);
});

test("the keyboard reaches every control of the calculator", async () => {
  const page = await env.open();
  await page.focus("#ongletCalculateur");
  const reached = new Set();
  for (let i = 0; i < 60; ++i) {
    await page.keyboard.press("Tab");
    reached.add(await page.evaluate(() => document.activeElement.id));
  }
  // A group of option buttons is one stop; the arrow keys choose within it.
  for (const id of ["txtDiametre", "txtBin2", "optKaf400", "optBarlow", "cmdCalcul", "cmdAnnuler"])
    assert.ok(reached.has(id), id);
  await page.focus("#optKaf400");
  await page.keyboard.press("ArrowRight");
  assert.equal(await page.isChecked("#optKaf1600"), true);
  await page.focus("#cmdCalcul");
  await page.keyboard.press("Enter");
  assert.equal(await page.inputValue("#txtSB"), "214.7");
});
