// Files and links: a design saved by the page reads back the same, a link
// shows its design; hostile files and links say so in French and change
// nothing, and none of their text reaches the page as markup.
import { after, before, test } from "node:test";
import assert from "node:assert/strict";
import { readFile } from "node:fs/promises";
import { start } from "./browser.js";

let env;
before(async () => (env = await start()));
after(async () => env.stop());

const MARKUP = '<img src=x onerror="document.body.dataset.pwned=1">';

async function save(page) {
  const [download] = await Promise.all([page.waitForEvent("download"), page.click("#cmdEnregistrer")]);
  return readFile(await download.path(), "utf8");
}

function open(page, name, text) {
  return page.setInputFiles("#fichierOuvrir", { name, mimeType: "application/json", buffer: Buffer.from(text) });
}

async function snapshot(page) {
  return page.evaluate(() => [...document.querySelectorAll("input[id^=txt], #entrees [name]")]
    .map((n) => `${n.id || n.name}=${n.value}`).join("|") + document.querySelector("input[type=radio]:checked")?.id);
}

test("a saved file opens back to the same window and design", async () => {
  const page = await env.open();
  await page.fill("#txtDiametre", "254");
  await page.check("#optKaf3200");
  await page.click("#ongletConception");
  await page.selectOption('[name="geometrie"]', "littrow");
  await page.fill('[name="traits_mm"]', "1800");
  const text = await save(page);
  const saved = JSON.parse(text);
  assert.equal(saved.format, "kelvora");
  assert.equal(saved.fenetre.txtDiametre, "254");
  assert.equal(saved.fenetre.detecteur, "KAF-3200");
  assert.equal(saved.conception.traits_mm, 1800);
  const before = await snapshot(page);

  const fresh = await env.open();
  await open(fresh, "essai.kelvora", text);
  await fresh.waitForFunction(() => document.getElementById("message").textContent.includes("ouvert"));
  assert.equal(await snapshot(fresh), before);
  assert.equal(await save(fresh), text);
  assert.deepEqual(env.problems, []);
});

test("a hostile file is refused in French and changes nothing", async () => {
  const page = await env.open();
  const before = await snapshot(page);
  for (const [text, message] of [
    ["{pas du json", /JSON invalide/],
    [`{"format": "kelvora", "version": 1, "fenetre": {"txtDiametre": 7}, "x": "${MARKUP.replaceAll('"', '\\"')}"}`, /txtDiametre|inconnue|doit/],
    ['{"format": "kelvora", "version": 1, "x": 1e999}', /nombre hors limites/],
  ]) {
    await open(page, `${MARKUP}.kelvora`, text);
    await page.waitForFunction(() => document.getElementById("message").textContent.startsWith("Impossible"));
    assert.match(await page.textContent("#message"), message);
    await page.evaluate(() => (document.getElementById("message").textContent = ""));
  }
  assert.equal(await snapshot(page), before);
  assert.equal(await page.locator("img").count(), 0);
  assert.equal(await page.evaluate(() => document.body.dataset.pwned), undefined);
  assert.deepEqual(env.problems, []);
});

test("a link is its design, and a bad link changes nothing", async () => {
  const page = await env.open();
  await page.click("#ongletConception");
  await page.selectOption('[name="geometrie"]', "littrow");
  await page.fill('[name="traits_mm"]', "2400");
  await page.click("#cmdLien");
  const link = page.url();
  assert.match(link, /#geometrie=littrow&traits_mm=2400$/);
  const resolution = await page.textContent('output[data-cle="resolution"]');

  const opened = await env.open(new URL(link).pathname + new URL(link).hash);
  assert.equal(await opened.isVisible("#conception"), true);
  assert.equal(await opened.inputValue('[name="traits_mm"]'), "2400");
  assert.equal(await opened.textContent('output[data-cle="resolution"]'), resolution);

  for (const hash of ["#traits_mm=abc", "#inconnue=1", `#geometrie=${encodeURIComponent(MARKUP)}`]) {
    const bad = await env.open(`/${hash}`);
    assert.match(await bad.textContent("#message"), /^Lien invalide/);
    assert.equal(await bad.inputValue('[name="traits_mm"]'), "300");
    assert.equal(await bad.locator("img").count(), 0);
  }
  // A 100,000-character value is quoted to 40 characters; a valid link
  // then clears the message.
  const long = await env.open(`/#traits_mm=${"9".repeat(100000)}x`);
  const said = await long.textContent("#message");
  assert.match(said, /^Lien invalide : « Traits par mm » : « 9{40}… » n'est pas un nombre/);
  assert.ok(said.length < 200);
  await long.evaluate(() => { location.hash = "#traits_mm=600"; });
  await long.waitForFunction(() => document.getElementById("message").textContent === "");
  assert.equal(await long.inputValue('[name="traits_mm"]'), "600");
  assert.deepEqual(env.problems, []);
});

// Every number the design shows, to the last digit.
async function exactResults(page) {
  return page.evaluate(() => Object.fromEntries([...document.querySelectorAll("output[data-valeur]")]
    .map((o) => [o.dataset.cle, o.dataset.valeur])));
}

async function reopened(page) {
  await page.click("#cmdLien");
  const link = new URL(page.url());
  const other = await env.open(link.pathname + link.hash);
  await other.waitForSelector("output[data-valeur]");
  return other;
}

// A sensor chosen then edited keeps its edits through a link; a file's
// design (its converter depth 0 and its 50000 e⁻ well) comes back as it was.
test("a link reopens the design it was copied from", async () => {
  const page = await env.open();
  await page.click("#ongletConception");
  await page.selectOption('[name="detecteur"]', "IMX533");
  await page.fill('[name="qe"]', "0.4");
  await page.fill('[name="bruit_e"]', "13");
  const shown = await exactResults(page);
  const other = await reopened(page);
  assert.equal(await other.inputValue('[name="qe"]'), "0.4");
  assert.equal(await other.inputValue('[name="bruit_e"]'), "13");
  assert.deepEqual(await exactResults(other), shown);

  const example = await env.open();
  await example.setInputFiles("#fichierOuvrir", new URL("../../docs/exemple/instrument-exemple.kelvora", import.meta.url).pathname);
  await example.waitForFunction(() => document.getElementById("message").textContent.includes("ouvert"));
  await example.click("#ongletConception");
  const fromFile = await exactResults(example);
  const linked = await reopened(example);
  assert.equal(await linked.inputValue('[name="bits_adc"]'), "0");
  assert.equal(await linked.inputValue('[name="puits_e"]'), "50000");
  // Calibrations never travel in a link: compare the assumed chain's own results.
  for (const key of ["dispersion_a_px", "resolution", "lambda_min_a", "lambda_max_a"])
    assert.equal((await exactResults(linked))[key], fromFile[key], key);
  assert.deepEqual(env.problems, []);
});
