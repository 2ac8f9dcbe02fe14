// The README's pictures of the page: both pages on a desktop screen
// (1280×800), a tablet (800×1200) and a phone (390×844).
//   node web/tools/screenshots.mjs SITE_DIR OUT_DIR
import { chromium } from "playwright-core";
import { serve } from "./serve.js";

const [site, out] = process.argv.slice(2);
const server = await serve(site);
const url = `http://127.0.0.1:${server.address().port}/`;
const browser = await chromium.launch({ executablePath: process.env.CHROMIUM ?? "/usr/bin/chromium", args: ["--no-sandbox"] });
const design = "#geometrie=littrow&traits_mm=1800&collimateur_mm=200&objectif_mm=85&lambda_a=6563&detecteur=IMX533" +
  "&pixel_um=3.76&pixels=3008&bruit_e=1.5&obscurite_e_s=0.002&puits_e=50000&qe=0.8&fente_um=25&cible_snr=100";
// The manual's spectroheliograph, in Hα.
const sun = "#source=soleil&raie=halpha&geometrie=deviation&deviation_deg=34&traits_mm=2400&diametre_mm=80" +
  "&focale_mm=400&collimateur_mm=80&objectif_mm=125&fente_um=10&detecteur=IMX290&pixels_fente=1936";
// The tablet and the phone are touch screens, as they are in a hand.
for (const [name, width, height, touch] of [["bureau", 1280, 800, false], ["tablette", 800, 1200, true], ["telephone", 390, 844, true]]) {
  const page = await browser.newPage({ viewport: { width, height }, locale: "fr-FR", hasTouch: touch, isMobile: touch });
  await page.goto(url);
  await page.waitForSelector("body[data-pret]");
  await page.click("#cmdCalcul");
  await page.screenshot({ path: `${out}/screenshot-web-calculateur-${name}.png`, fullPage: name === "telephone" });
  await page.goto(url + design);
  await page.waitForSelector("body[data-pret]");
  await page.waitForSelector("#graphiques canvas");
  await page.waitForTimeout(300);
  await page.screenshot({ path: `${out}/screenshot-web-conception-${name}.png`, fullPage: name === "telephone" });
  await page.goto(url + sun);
  await page.waitForSelector("#fig-dessin svg");
  await page.waitForSelector("#fig-soleil_raie canvas");
  await page.waitForTimeout(300);
  await page.locator("#graphiques").screenshot({ path: `${out}/screenshot-web-soleil-${name}.png` });
  if (name === "bureau") await page.pdf({ path: `${out}/soleil-impression.pdf`, format: "A4" });
  await page.close();
}
await browser.close();
server.close();
