// « Étalonner sur un spectre » in the page: the example spectrum and its
// instrument give the companion's calibration to the last digit; used,
// saved and reopened, the design computes what the companion computes from
// the same file; the gain can be corrected; several calibrations are
// listed and removable; a link replaces them; a hostile or huge spectrum
// is refused in French and the page computes on.
import { after, before, test } from "node:test";
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import { mkdtempSync, readFileSync } from "node:fs";
import { readFile } from "node:fs/promises";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { fileURLToPath } from "node:url";
import { modulePath, start } from "./browser.js";

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
  const expected = JSON.parse(readFileSync(saved, "utf8")).etalonnages[0];

  const page = await env.open();
  await openExample(page);
  assert.match(await page.textContent("#resumeEtalonnage"), /^HD 000000 \(synthetique\) : S\/N du spectre/);
  assert.equal(await page.locator("#graphiquesEtalonnage canvas").count() >= 2, true);
  const before = await page.getAttribute("#res-snr", "data-valeur");
  await page.click("#cmdUtiliserRendement");
  const measured = await page.evaluate(async (p) => (await import(p)).calibrations(), await modulePath(page, "design.js"));
  assert.equal(measured.length, 1);
  assert.deepEqual(measured[0].points, expected.points);
  assert.equal(measured[0].etoile, expected.etoile);
  assert.deepEqual(measured[0].instrument, expected.instrument);
  assert.match(await page.textContent("#noteRendement"),
    /^rendement mesuré le 2026-11-30, HD 000000 \(synthetique\) \(spectre-exemple\.fits\), S\/N [\d.]+, rapport médian [\d.]+ ; domaine 50\d\d–6\d\d\d Å$/);
  assert.notEqual(await page.getAttribute("#res-snr", "data-valeur"), before);

  // Saved by the page and computed by the companion: the same S/N, every digit.
  const [download] = await Promise.all([page.waitForEvent("download"), page.click("#cmdEnregistrer")]);
  const text = await readFile(await download.path(), "utf8");
  assert.deepEqual(JSON.parse(text).etalonnages[0].points, expected.points);
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
    ["court.txt", Buffer.from("6500 1\n6501 2\n"), /moins de 50 points/],
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

async function calibrateOn(page, path) {
  await page.evaluate(() => (document.getElementById("resumeEtalonnage").textContent = ""));
  await page.setInputFiles("#fichierSpectre", path);
  await page.waitForFunction(() => document.getElementById("resumeEtalonnage").textContent !== "");
}

test("the gain is corrected, two calibrations are listed and removed one by one, a link brings none", async () => {
  const page = await env.open();
  await openExample(page);
  const uncalibrated = await page.getAttribute("#res-snr", "data-valeur");
  assert.equal(await page.inputValue("#observationEtalonnage [name=gain_e_adu]"), "1");
  await page.click("#cmdUtiliserRendement");
  // The same spectrum a month later, said to be at 2 e⁻/ADU: twice the light measured.
  const later = readFileSync(join(EXAMPLE, "spectre-exemple.fits")).toString("latin1").replace("2026-11-30", "2026-12-30");
  await calibrateOn(page, { name: "plus-tard.fits", mimeType: "application/octet-stream", buffer: Buffer.from(later, "latin1") });
  await page.fill("#observationEtalonnage [name=gain_e_adu]", "2");
  await page.evaluate(() => (document.getElementById("resumeEtalonnage").textContent = ""));
  await page.click("#cmdRecalculer");
  await page.waitForFunction(() => document.getElementById("resumeEtalonnage").textContent !== "");
  assert.match(await page.textContent("#resumeEtalonnage"), /gain 2 e⁻\/ADU/);
  // With the median ratio against the date.
  await page.waitForFunction(() => document.querySelectorAll("#graphiquesEtalonnage canvas").length >= 3);
  await page.click("#cmdUtiliserRendement");
  const list = await page.evaluate(async (p) => (await import(p)).calibrations(), await modulePath(page, "design.js"));
  assert.equal(list.length, 2);
  const mid = Math.floor(list[0].points.length / 2);
  assert.ok(Math.abs(list[1].points[mid][1] / list[0].points[mid][1] - 2) < 1e-9);
  assert.equal(await page.locator("#listeEtalonnages li").count(), 2);
  assert.match(await page.textContent("#noteRendement"), /^rendement mesuré sur 2 spectres/);
  await page.click("#retirerEtalonnage1");
  assert.equal(await page.isHidden("#listeEtalonnages"), true);
  assert.deepEqual((await page.evaluate(async (p) => (await import(p)).calibrations(), await modulePath(page, "design.js")))[0].points, list[0].points);

  // A link copied from it says what it leaves out; opened, it shows the uncalibrated figures.
  await page.click("#cmdLien");
  await page.waitForFunction(() => document.getElementById("message").textContent.includes("ne porte pas les étalonnages"));
  const link = page.url();
  await page.goto(link.replace(/#.*/, "#diametre_mm=200"));
  await page.goto(link);
  await page.waitForFunction(() => document.getElementById("noteRendement").textContent === "");
  assert.equal(await page.evaluate(async (p) => (await import(p)).calibrations().length, await modulePath(page, "design.js")), 0);
  assert.equal(await page.getAttribute("#res-snr", "data-valeur"), uncalibrated);
  assert.deepEqual(env.problems, []);
});

test("after a 2 MB spectrum, 2 MB of noise and a 900 KB random design, the page still computes", async () => {
  const page = await env.open();
  await page.click("#ongletConception");
  const before = await page.getAttribute("#res-snr", "data-valeur");
  let seed = 7;
  const noise = (n) => Buffer.from(Array.from({ length: n }, () => ((seed = (seed * 1103515245 + 12345) % 2147483648) >> 16) & 255));
  let text = "# EXPTIME = 60\n# EGAIN = 1\n";
  for (let i = 0; text.length < 2_000_000; ++i) text += `${5000 + i * 0.01},${20000 + (i % 7)}\n`;
  for (const [name, buffer] of [["grand.txt", Buffer.from(text)], ["bruit.fits", noise(2_000_000)]]) {
    await page.evaluate(() => (document.getElementById("erreurEtalonnage").textContent = "x"));
    await page.setInputFiles("#fichierSpectre", { name, mimeType: "application/octet-stream", buffer });
    await page.waitForFunction(() => document.getElementById("erreurEtalonnage").textContent !== "x");
  }
  await page.setInputFiles("#fichierOuvrir", { name: "bruit.kelvora", mimeType: "application/octet-stream", buffer: noise(900_000) });
  await page.waitForFunction(() => document.getElementById("message").textContent.includes("Impossible d'ouvrir"));
  // Still computing: the design page and « Calcul ».
  await page.fill("[name=diametre_mm]", "250");
  await page.waitForFunction((b) => document.getElementById("res-snr").dataset.valeur !== b, before);
  await page.click("#ongletCalculateur");
  await page.click("#cmdCalcul");
  assert.equal(await page.inputValue("#txtSB"), "214.7");
  // Larger than the model's limit: refused before it is read.
  await page.click("#ongletConception");
  await page.setInputFiles("#fichierSpectre", { name: "enorme.fits", mimeType: "application/octet-stream", buffer: Buffer.alloc(33 << 20) });
  await page.waitForFunction(() => document.getElementById("erreurEtalonnage").textContent.includes("Mo : trop grand"));
  assert.deepEqual(env.problems, []);
});

// A spectrum of 20 MB is encoded and read in a worker: the design answers a
// keystroke while it is being read, before its calibration is shown.
test("a large spectrum is read off the page's thread", async () => {
  const page = await env.open();
  await page.click("#ongletConception");
  const before = await page.getAttribute("#res-snr", "data-valeur");
  let text = "# EXPTIME = 60\n# EGAIN = 1\n";
  const lines = [];
  for (let i = 0; lines.length * 20 < 20_000_000; ++i) lines.push(`${5000 + i * 0.001},${20000 + (i % 7)}`);
  text += lines.join("\n");
  await page.evaluate(() => (document.getElementById("erreurEtalonnage").textContent = "x"));
  await page.setInputFiles("#fichierSpectre", { name: "long.txt", mimeType: "text/plain", buffer: Buffer.from(text) });
  await page.fill("[name=diametre_mm]", "250");
  await page.waitForFunction((b) => document.getElementById("res-snr").dataset.valeur !== b, before);
  assert.equal(await page.textContent("#resumeEtalonnage"), "", "the calibration came first: the page waited for it");
  await page.waitForFunction(() => document.getElementById("erreurEtalonnage").textContent !== "x"
    || document.getElementById("resumeEtalonnage").textContent !== "", null, { timeout: 120_000 });
  assert.deepEqual(env.problems, []);
});
