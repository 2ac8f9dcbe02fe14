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
