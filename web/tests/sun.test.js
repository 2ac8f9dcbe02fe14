// « Soleil » on the page: the Sun's inputs, results and pictures take the
// star's place, read by everyone in both themes, and the proposer answers
// with a spectroheliograph's columns.
import { after, before, test } from "node:test";
import assert from "node:assert/strict";
import { readFile } from "node:fs/promises";
import { createRequire } from "node:module";
import { start } from "./browser.js";

let env;
before(async () => (env = await start()));
after(async () => env.stop());

// The manual's walk-through build, in Hα.
const BUILD = {
  geometrie: "deviation", deviation_deg: "34", traits_mm: "2400", diametre_mm: "80", focale_mm: "400",
  collimateur_mm: "80", objectif_mm: "125", fente_um: "10", detecteur: "IMX290", pixels_fente: "1936",
};

async function sunDesign(options = {}) {
  const page = await env.open("/", options);
  await page.click("#ongletConception");
  await page.selectOption('[name="source"]', "soleil");
  await page.selectOption('[name="raie"]', "halpha");
  for (const [key, value] of Object.entries(BUILD)) {
    if (await page.locator(`select[name="${key}"]`).count()) await page.selectOption(`[name="${key}"]`, value);
    else await page.fill(`[name="${key}"]`, value);
  }
  await page.waitForSelector("#fig-dessin svg");
  return page;
}

const shown = (page, selector) => page.locator(selector).first().isVisible();

test("the Sun's drawing, line and results take the star's place, and leave with it", async () => {
  const page = await sunDesign({ viewport: { width: 1280, height: 800 } });
  assert.equal(await page.getAttribute("#fig-dessin svg", "aria-label"), "Le disque sur la fente et le capteur, à l'échelle");
  assert.match(await page.textContent("#fig-dessin svg"), /disque : 2014 px/);
  assert.equal(await shown(page, "#fig-soleil_raie"), true);
  assert.equal(await shown(page, "#fig-snr_pose"), false);
  assert.equal(await shown(page, '[name="mag_etoile"]'), false);
  assert.equal(await shown(page, 'output[data-cle="snr"]'), false);
  // The window shows these digits too (sun_test.cpp: 0.157149 Å).
  assert.equal(await page.textContent('output[data-cle="bande_passante_a"]'), "0.15715");
  await page.selectOption('[name="source"]', "etoile");
  await page.waitForFunction(() => document.getElementById("fig-dessin").hidden);
  assert.equal(await shown(page, "#fig-snr_pose"), true);
  assert.equal(await shown(page, '[name="mag_etoile"]'), true);
  assert.equal(await shown(page, '[name="date"]'), false);
  assert.deepEqual(env.problems, []);
});

test("axe-core finds nothing on the Sun's page in either theme, phone and desktop", async () => {
  const require = createRequire(import.meta.url);
  const axe = await readFile(require.resolve("axe-core/axe.min.js"), "utf8");
  for (const colorScheme of ["light", "dark"])
    for (const viewport of [{ width: 390, height: 844 }, { width: 1280, height: 800 }]) {
      const page = await sunDesign({ viewport, colorScheme });
      await page.evaluate(axe);
      const found = await page.evaluate(async () =>
        (await window.axe.run(document, { rules: { "target-size": { enabled: true }, "color-contrast": { enabled: true } } }))
          .violations.map((v) => `${v.id}: ${v.nodes.slice(0, 3).map((n) => n.target).join(" ")}`));
      assert.deepEqual(found, [], `${viewport.width} px, ${colorScheme}`);
      // The drawing fits the screen it is drawn on.
      const width = await page.evaluate(() => document.querySelector("#fig-dessin svg").getBoundingClientRect().right);
      assert.ok(width <= viewport.width, `${width} px`);
      await page.context().close();
    }
});

test("the proposer needs no resolution for the Sun and answers with its columns", async () => {
  const page = await sunDesign({ viewport: { width: 1280, height: 800 } });
  for (const [key, value] of Object.entries({ resolution_cible: "", geometries: "deviation", reseaux: "2400",
    focales: "80,125", fentes: "10,50", binnings: "1", largeur_reseau_mm: "100" }))
    await page.fill(`#prop-${key}`, value);
  await page.click("#cmdProposer");
  await page.waitForSelector("#candidats tbody tr");
  const headers = await page.locator("#candidats th").allTextContents();
  assert.ok(headers.includes("Bande passante (Å)"), headers.join(", "));
  assert.ok(!headers.includes("R"), headers.join(", "));
  assert.equal(await page.textContent("#erreurProposeur"), "");
});
