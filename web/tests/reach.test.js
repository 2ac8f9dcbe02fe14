// Every visitor reaches and reads everything: axe-core (contrast and target
// size included) finds nothing in either theme on a phone, a tablet and a
// desktop with the plots' tables open and the help shown; the file buttons
// show their focus; a tablet gets the column with its reading notes in
// sight; the summary after « Calcul » says label, value and unit; the plots
// follow the design they show.
import { after, before, test } from "node:test";
import assert from "node:assert/strict";
import { readFile } from "node:fs/promises";
import { createRequire } from "node:module";
import { start } from "./browser.js";

let env;
before(async () => (env = await start()));
after(async () => env.stop());

const SCREENS = {
  desktop: { viewport: { width: 1280, height: 800 } },
  phone: { viewport: { width: 390, height: 844 }, isMobile: true, hasTouch: true },
  tablet: { viewport: { width: 800, height: 1200 }, isMobile: true, hasTouch: true },
};

async function axeViolations(page) {
  const require = createRequire(import.meta.url);
  await page.evaluate(await readFile(require.resolve("axe-core/axe.min.js"), "utf8"));
  return page.evaluate(async () =>
    (await window.axe.run(document, { rules: { "target-size": { enabled: true }, "color-contrast": { enabled: true } } }))
      .violations.map((v) => `${v.id}: ${v.nodes.slice(0, 3).map((n) => n.target).join(" ")}`));
}

async function openTables(page) {
  await page.waitForSelector("#graphiques .uplot");
  await page.evaluate(() => {
    for (const d of document.querySelectorAll("details.donnees")) d.open = true;
  });
  await page.waitForSelector("details.donnees table");
}

test("axe-core finds nothing in either theme on a phone, a tablet and a desktop", async () => {
  for (const colorScheme of ["light", "dark"]) {
    for (const [screen, options] of Object.entries(SCREENS)) {
      const page = await env.open("/", { ...options, colorScheme });
      const where = `${screen}, ${colorScheme}`;
      await page.click("#cmdCalcul");
      assert.deepEqual(await axeViolations(page), [], `calculator, ${where}`);
      await page.click("#ongletConception");
      await openTables(page);
      assert.deepEqual(await axeViolations(page), [], `design, ${where}`);
      await page.click("#cmdAide");
      await page.waitForSelector("#manuel h1");
      assert.deepEqual(await axeViolations(page), [], `help, ${where}`);
      await page.context().close();
    }
  }
  assert.deepEqual(env.problems, []);
});

test("the file buttons show the keyboard's focus", async () => {
  const page = await env.open();
  await page.click("#ongletConception");
  for (const input of ["#fichierOuvrir", "#fichierSpectre"]) {
    // Onto the hidden input by the keyboard: back one control and forth again.
    await page.focus(input);
    await page.keyboard.press("Shift+Tab");
    await page.keyboard.press("Tab");
    assert.equal(await page.evaluate(() => `#${document.activeElement.id}`), input);
    const ring = await page.evaluate((id) => getComputedStyle(document.querySelector(`label[for="${id.slice(1)}"]`)).outlineStyle, input);
    assert.equal(ring, "solid", input);
  }
});

test("a tablet gets the column, readable, with how a field is read in sight", async () => {
  const page = await env.open("/", SCREENS.tablet);
  const sizes = await page.evaluate(() => {
    const form = document.getElementById("formulaire");
    const field = document.getElementById("txtDiametre");
    return { column: getComputedStyle(form).display === "flex", font: parseFloat(getComputedStyle(field).fontSize),
      width: form.getBoundingClientRect().width / innerWidth,
      smallest: Math.min(...[...form.querySelectorAll("input, button")].filter((n) => n.offsetParent)
        .map((n) => Math.min(n.getBoundingClientRect().height, n.type === "radio" ? n.getBoundingClientRect().width : 99))) };
  });
  assert.ok(sizes.column && sizes.font >= 16 && sizes.width >= 0.8 && sizes.smallest >= 24, JSON.stringify(sizes));
  await page.fill("#txtDiametre", "2,5");
  const note = page.locator("#txtDiametre-lecture");
  assert.match(await note.textContent(), /\S/);
  assert.equal(await note.isVisible(), true);
  const [field, below] = await Promise.all([page.locator("#txtDiametre").boundingBox(), note.boundingBox()]);
  assert.ok(below.y >= field.y + field.height - 1 && below.width > 100, JSON.stringify({ field, below }));
});

test("after « Calcul » each result is said with its label, its value and its unit", async () => {
  const page = await env.open();
  await page.click("#cmdCalcul");
  const said = await page.textContent("#annonce");
  const parts = said.replace(/^Calcul fait\. /, "").replace(/\.$/, "").split(" ; ");
  assert.ok(parts.length >= 10, said);
  for (const part of parts) assert.match(part, /^[^\d:]+ -?[\d.,]+( \S.*)?$/, part);
  assert.doesNotMatch(said, /:\s*;|: *$| :/, said);
});

test("the plots' titles and names follow the design they show", async () => {
  const page = await env.open("/", SCREENS.phone);
  await page.click("#ongletConception");
  await page.waitForSelector("#graphiques .u-title");
  const titles = () => page.$$eval("#graphiques .u-title", (nodes) => nodes.map((n) => n.textContent));
  const before = await titles();
  await page.fill('[name="traits_mm"]', "600");
  await page.waitForFunction((old) =>
    [...document.querySelectorAll("#graphiques .u-title")].map((n) => n.textContent).join() !== old, before.join());
  const after = await titles();
  const range = await page.evaluate(() => [document.querySelector('output[data-cle="lambda_min_a"]').textContent,
    document.querySelector('output[data-cle="lambda_max_a"]').textContent]);
  const spectrum = after.find((t) => t.startsWith("Spectre sur le capteur"));
  assert.ok(spectrum, after.join(" | "));
  for (const end of range) assert.ok(spectrum.includes(String(Math.round(Number(end.replace(",", "."))))), `${spectrum} / ${range}`);
  assert.deepEqual(env.problems, []);
});
