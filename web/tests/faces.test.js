// The page reads keys as every other face does: the designs and bad inputs
// of tests/data/faces.json give, through a link, the companion's results to
// the last digit and its French sentences.
import { after, before, test } from "node:test";
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import { readFile } from "node:fs/promises";
import { start } from "./browser.js";

let env;
before(async () => (env = await start()));
after(async () => env.stop());

const table = JSON.parse(await readFile(new URL("../../tests/data/faces.json", import.meta.url), "utf8"));

function companion(pairs) {
  const args = ["conception", "--format", "json", ...pairs.map(([k, v]) => `${k}=${v}`)];
  const options = { encoding: "utf8", stdio: ["ignore", "pipe", "pipe"] };
  const row = JSON.parse(execFileSync(process.env.KELVORA_CALC, args, options))[0];
  return Object.fromEntries(Object.entries(row).filter(([, v]) => typeof v === "number"));
}

// The page's own handler runs first: it was added before this one.
async function follow(page, pairs) {
  await page.evaluate((hash) => new Promise((resolve) => {
    document.getElementById("message").textContent = "";
    addEventListener("hashchange", () => setTimeout(resolve, 0), { once: true });
    location.hash = hash;
  }), new URLSearchParams(pairs).toString());
}

async function shownNumbers(page) {
  return page.evaluate(() => Object.fromEntries([...document.querySelectorAll("output[data-valeur]")]
    .map((o) => [o.dataset.cle, JSON.parse(o.dataset.valeur)])));
}

test("a link gives the companion's results to the last digit", async () => {
  const page = await env.open();
  const sensors = await page.$$eval('[name="detecteur"] option', (os) => os.map((o) => o.value));
  assert.equal(sensors.length, 15);
  const designs = [...table.designs, ...sensors.map((s) => [["detecteur", s]])];
  for (const pairs of designs) {
    await follow(page, pairs);
    const shown = await shownNumbers(page);
    const expected = companion(pairs);  // its row holds the inputs too
    assert.ok(Object.keys(shown).length >= 20, JSON.stringify(pairs));
    for (const [name, value] of Object.entries(shown)) assert.equal(value, expected[name], `${name} ${JSON.stringify(pairs)}`);
  }
  assert.deepEqual(env.problems, []);
});

test("#detecteur=IMX533 shows that sensor's pixels and dispersion", async () => {
  const page = await env.open("/#detecteur=IMX533", { locale: "fr-FR" });
  assert.equal(await page.inputValue('[name="pixel_um"]'), "3,76");
  assert.equal(await page.inputValue('[name="detecteur"]'), "IMX533");
  assert.equal(await page.textContent('output[data-cle="dispersion_a_px"]'), "2,4723");
  await page.selectOption('[name="detecteur"]', "IMX174");
  assert.equal(await page.inputValue('[name="pixel_um"]'), "5,86");
  assert.deepEqual(env.problems, []);
});

test("each bad input is said as the companion says it", async () => {
  const page = await env.open();
  for (const bad of table.bad) {
    const pairs = [[bad.key, bad.text]];
    await follow(page, pairs);
    const shown = bad.computed ? await page.textContent("#erreurConception") : await page.textContent("#message");
    assert.equal(shown, bad.computed ? bad.said : `Lien invalide : ${bad.said}`);
    let said = "";
    try {
      companion(pairs);
    } catch (e) {  // a usage error on stderr, an impossible instrument in its row
      said = e.stderr || JSON.parse(e.stdout)[0].erreur;
    }
    assert.ok(said.includes(bad.said), said);
  }
  assert.equal(await page.locator("img").count(), 0);
  assert.deepEqual(env.problems, []);
});
