// « Conception avancée »: the keys drive the model's results as the user
// types, an invalid value leaves nothing stale, the proposer loads a design.
import { after, before, test } from "node:test";
import assert from "node:assert/strict";
import { start } from "./browser.js";

let env;
before(async () => (env = await start()));
after(async () => env.stop());

async function result(page, key) {
  return page.inputValue(`output[data-cle="${key}"]`).catch(() => page.textContent(`output[data-cle="${key}"]`));
}

async function design(page) {
  await page.click("#ongletConception");
  return page;
}

test("design keys change the results as the user types", async () => {
  const page = await design(await env.open());
  assert.equal(await result(page, "resolution"), "907.36");
  await page.selectOption('[name="geometrie"]', "littrow");
  await page.fill('[name="traits_mm"]', "2400");
  await page.fill('[name="lambda_a"]', "6563");
  const dispersion = Number(await result(page, "dispersion_a_px"));
  assert.ok(dispersion > 0 && dispersion < 1, `dispersion ${dispersion}`);
  assert.equal(await result(page, "echantillonnage").then((t) => t.length > 0), true);
  // Every input is named by its key, every result carries its key.
  assert.equal(await page.locator("#entrees [name]").count() >= 40, true);
  assert.equal(await page.locator("output[data-cle]").count() >= 28, true);
  assert.deepEqual(env.problems, []);
});

test("an invalid value names its field and empties the results and plots", async () => {
  const page = await design(await env.open());
  await page.fill('[name="lambda_a"]', "abc");
  assert.match(await page.textContent("#erreurConception"), /« Longueur d'onde \(Å\) »/);
  assert.equal(await result(page, "resolution"), "");
  assert.equal(await page.getAttribute('[name="lambda_a"]', "aria-invalid"), "true");
  await page.waitForFunction(() => document.querySelector("#graphiques figcaption")?.textContent.startsWith("Pas de graphique"));
  await page.fill('[name="lambda_a"]', "5500");
  assert.equal(await result(page, "resolution"), "907.36");
  assert.deepEqual(env.problems, []);
});

test("choosing a sensor sets every sensor value", async () => {
  const page = await design(await env.open());
  await page.selectOption('[name="detecteur"]', "IMX533");
  const pixel = await page.inputValue('[name="pixel_um"]');
  assert.equal(pixel, "3.76");
  await page.selectOption('[name="detecteur"]', "KAF-0400");
  assert.equal(await page.inputValue('[name="pixel_um"]'), "9");
  assert.equal(await page.inputValue('[name="qe"]'), "0.4");
  assert.deepEqual(env.problems, []);
});

test("the proposer's candidates load into the design; the lines say what is separated", async () => {
  const page = await design(await env.open());
  for (const [key, value] of Object.entries({ diametre_mm: "200", focale_mm: "2000", seeing_arcsec: "2.5", lambda_a: "6563" }))
    await page.fill(`[name="${key}"]`, value);
  await page.selectOption('[name="detecteur"]', "IMX533");
  await page.fill("#prop-resolution_cible", "10000");
  await page.click("#cmdProposer");
  // The search runs in a worker: its answer comes later.
  await page.waitForSelector("#candidats tbody tr");
  const rows = page.locator("#candidats tbody tr");
  assert.ok((await rows.count()) >= 3);
  await rows.first().locator("button").click();
  assert.ok(Number(await result(page, "resolution")) >= 10000);
  // « Charger » says what it loaded and shows the results.
  assert.equal(await page.textContent("#message"), "Conception 1 chargée : ses résultats sont affichés.");
  assert.ok(await page.evaluate(() => {
    const box = document.getElementById("resultats").getBoundingClientRect();
    return box.top < innerHeight && box.bottom > 0;
  }));
  assert.equal(await page.inputValue('[name="geometrie"]'), "littrow");

  await page.fill("#prop-resolution_cible", "10000000");
  await page.click("#cmdProposer");
  await page.waitForFunction(() => document.getElementById("erreurProposeur").textContent !== "");
  assert.match(await page.textContent("#erreurProposeur"), /\d/);
  assert.equal(await rows.count(), 0);

  await page.selectOption('[name="geometrie"]', "normale");
  await page.fill('[name="traits_mm"]', "1200");
  await page.fill('[name="lambda_a"]', "5890");
  await page.fill('[name="objectif_mm"]', "200");
  const sodium = page.locator("#raies tr", { hasText: "Na D1/D2" });
  assert.match(await sodium.textContent(), /séparé/);
  assert.deepEqual(env.problems, []);
});
