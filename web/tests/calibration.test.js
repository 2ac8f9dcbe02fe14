// « Étalonner sur un spectre » in the page: the example spectrum and its
// instrument give the companion's measured efficiency to the last digit;
// used, saved and reopened, the design computes what the companion computes
// from the same file; a hostile spectrum is refused in French.
import { after, before, test } from "node:test";
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import { mkdtempSync, readFileSync } from "node:fs";
import { readFile } from "node:fs/promises";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { fileURLToPath } from "node:url";
import { start } from "./browser.js";

let env;
before(async () => (env = await start()));
after(async () => env.stop());

const EXAMPLE = fileURLToPath(new URL("../../docs/exemple/", import.meta.url));

function companion(args) {
  return execFileSync(process.env.KELVORA_CALC, args, { encoding: "utf8", stdio: ["ignore", "pipe", "pipe"] });
}

async function openExample(page) {
  await page.setInputFiles("#fichierOuvrir", join(EXAMPLE, "instrument-exemple.kelvora"));
  await page.waitForFunction(() => document.getElementById("message").textContent.includes("ouvert"));
  await page.click("#ongletConception");
  await page.setInputFiles("#fichierSpectre", join(EXAMPLE, "spectre-exemple.fits"));
  await page.waitForSelector("#tableEtalonnage tbody tr");
}

test("the example spectrum gives the companion's measured efficiency, which the design then uses", async () => {
  const dir = mkdtempSync(join(tmpdir(), "kelvora-"));
  const saved = join(dir, "moi.kelvora");
  companion(["etalonner", join(EXAMPLE, "spectre-exemple.fits"), join(EXAMPLE, "instrument-exemple.kelvora"),
    "--enregistrer", saved]);
  const expected = JSON.parse(readFileSync(saved, "utf8")).rendement_mesure;

  const page = await env.open();
  await openExample(page);
  assert.match(await page.textContent("#resumeEtalonnage"), /^HD 000000 \(synthetique\) : S\/N du spectre/);
  assert.equal(await page.locator("#graphiquesEtalonnage canvas").count() >= 2, true);
  const before = await page.getAttribute("#res-snr", "data-valeur");
  await page.click("#cmdUtiliserRendement");
  const measured = await page.evaluate(async () => (await import("./design.js")).measured());
  assert.deepEqual(measured.points, expected.points);
  assert.equal(measured.etoile, expected.etoile);
  assert.match(await page.textContent("#noteRendement"), /^rendement mesuré le 2026-11-30 sur HD 000000 \(synthetique\) \(spectre-exemple\.fits\)$/);
  assert.notEqual(await page.getAttribute("#res-snr", "data-valeur"), before);

  // Saved by the page and computed by the companion: the same S/N, every digit.
  const [download] = await Promise.all([page.waitForEvent("download"), page.click("#cmdEnregistrer")]);
  const text = await readFile(await download.path(), "utf8");
  assert.deepEqual(JSON.parse(text).rendement_mesure.points, expected.points);
  const fromPage = join(dir, "page.kelvora");
  (await import("node:fs")).writeFileSync(fromPage, text);
  const row = JSON.parse(companion(["conception", fromPage, "--format", "json"]))[0];
  assert.equal(JSON.parse(await page.getAttribute("#res-snr", "data-valeur")), row.snr);

  // Reopened in a fresh page, the same again; removed, back to before.
  const fresh = await env.open();
  await fresh.setInputFiles("#fichierOuvrir", fromPage);
  await fresh.waitForFunction(() => document.getElementById("message").textContent.includes("ouvert"));
  assert.equal(JSON.parse(await fresh.getAttribute("#res-snr", "data-valeur")), row.snr);
  await fresh.click("#ongletConception");
  await fresh.click("#cmdRetirerRendement");
  assert.equal(await fresh.getAttribute("#res-snr", "data-valeur"), before);
  assert.deepEqual(env.problems, []);
});

test("a spectrum that cannot be used is refused in French and changes nothing", async () => {
  const page = await env.open();
  await page.click("#ongletConception");
  const before = await page.getAttribute("#res-snr", "data-valeur");
  const header = (cards) => cards.map((c) => c.padEnd(80)).join("").padEnd(2880);
  for (const [name, bytes, said] of [
    ["court.txt", Buffer.from("6500 1\n6501 2\n"), /moins de 20 points/],
    ["geant.fits", Buffer.from(header(["SIMPLE  =                    T", "BITPIX  =                  -32",
      "NAXIS   =                    1", "NAXIS1  =           1000000000", "END"])), /trop grand pour un spectre/],
    ["<img src=x>.fits", Buffer.from("SIMPLE  =                    T"), /avant END/],
  ]) {
    await page.setInputFiles("#fichierSpectre", { name, mimeType: "application/octet-stream", buffer: bytes });
    await page.waitForFunction(() => document.getElementById("erreurEtalonnage").textContent !== "");
    assert.match(await page.textContent("#erreurEtalonnage"), said);
    assert.match(await page.textContent("#erreurEtalonnage"), /^Impossible d'étalonner sur « /);
    assert.equal(await page.locator("#tableEtalonnage tr").count(), 0);
    assert.equal(await page.getAttribute("#res-snr", "data-valeur"), before);
    await page.evaluate(() => (document.getElementById("erreurEtalonnage").textContent = ""));
  }
  assert.equal(await page.locator("#etalonnage img").count(), 0);
  assert.deepEqual(env.problems, []);
});
