// « Calculateur » in the page shows the desktop window's texts: on random
// instruments, odd texts and every kind of fault, each result control and
// the fault message are those the native calculation gives.
import { after, before, test } from "node:test";
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import { fileURLToPath } from "node:url";
import { start } from "./browser.js";

// In the order of the runner's fields (see differential/runs_main.cpp).
const INPUTS = ["txtDiametre", "txtFocale", "txtSeeing", "txtTraits", "txtOrdre", "txtCollimateur", "txtChambre",
  "txtDistance", "txtWavelength", "txtMagEtoile", "txtMagCiel", "txtTi", "txtNexposure", "txtSlitWide", "txtBruit",
  "txtBin1", "txtBin2"];
const BUTTONS = { "KAF-0400": "optKaf400", "KAF-1600": "optKaf1600", "KAF-3200": "optKaf3200" };

let env;
before(async () => (env = await start()));
after(async () => env.stop());

function cases(count) {
  const script = fileURLToPath(new URL("../differential/make_inputs.py", import.meta.url));
  return execFileSync("python3", [script, String(count), "7"], { encoding: "utf8" }).trim().split("\n");
}

function native(lines) {
  const out = execFileSync(process.env.KELVORA_RUNS, ["--par-controle"], { input: `${lines.join("\n")}\n`, encoding: "utf8" });
  return out.trim().split("\n").map((l) => l.split("\t"));
}

async function runInPage(page, line) {
  const fields = line.split("\t");
  await page.evaluate(({ fields, inputs, buttons }) => {
    inputs.forEach((id, i) => (document.getElementById(id).value = fields[i]));
    for (const [caption, id] of Object.entries(buttons)) document.getElementById(id).checked = caption === fields[17];
    document.getElementById(fields[18] === "barlow" ? "optBarlow" : "optFente").checked = true;
  }, { fields, inputs: INPUTS, buttons: BUTTONS });
  await page.click("#cmdCalcul");
  const shown = await page.evaluate(() => {
    const out = [];
    for (const id of ["txtAngle", "txtDispersion", "txtLambda1", "txtLambda2", "txtSeparation", "txtResolution",
      "lblLambda", "txtDCollimateur", "txtDGrating", "txtDChambre", "txtFD", "txtSB"]) {
      const node = document.getElementById(id);
      out.push(`${id}=${node.tagName === "INPUT" ? node.value : node.textContent}`);
    }
    const dialog = document.getElementById("faute");
    out.push(dialog.open ? document.getElementById("fauteTexte").textContent : "");
    return out;
  });
  if (await page.isVisible("#faute")) await page.click("#fauteOk");
  return shown;
}

test("random instruments and faults give the desktop's texts", async () => {
  const lines = [
    ...cases(150),
    // One of each fault the window reports, on the default instrument.
    "200\t1200\t2\t0\t1\t125\t50\t25\t5500\t6\t18\t60\t1\t1\t18\t1\t1\tKAF-0400\tfente",
    "200\t1200\t2\t300\t1\t0\t50\t25\t5500\t6\t18\t60\t1\t1\t18\t1\t1\tKAF-0400\tbarlow",
    "200\t1e308\t2\t300\t1\t125\t50\t25\t5500\t6\t18\t60\t1\t1\t18\t1\t1\tKAF-0400\tbarlow",
    "200\t1200\t2\t300\t1\t125\t50\t25\t5500\t6\t18\t60\t1\t1\t18\t1\t1\t\tbarlow",
  ];
  const expected = native(lines);
  const page = await env.open();
  for (let i = 0; i < lines.length; ++i)
    assert.deepEqual(await runInPage(page, lines[i]), expected[i], `case ${i}: ${lines[i]}`);
  assert.ok(expected.some((e) => e.at(-1) !== ""), "some cases stop on a fault");
  assert.deepEqual(env.problems, []);
});

test("« Annuler » starts again from the defaults, the slit field follows the model", async () => {
  const page = await env.open();
  await page.fill("#txtDiametre", "80");
  await page.check("#optFente");
  assert.equal(await page.isDisabled("#txtSlitWide"), false);
  await page.click("#cmdAnnuler");
  assert.equal(await page.inputValue("#txtDiametre"), "200");
  assert.equal(await page.isChecked("#optBarlow"), true);
  assert.equal(await page.isDisabled("#txtSlitWide"), true);
  assert.deepEqual(env.problems, []);
});
