// One Chromium and one static server for a test file; every page opened
// through here fails its test on a console error or on a request that
// leaves the page's origin.
import { chromium } from "playwright-core";
import { serve } from "../tools/serve.js";

export async function start() {
  const site = process.env.KELVORA_SITE;
  if (!site) throw new Error("KELVORA_SITE: the built site's folder");
  const server = await serve(site);
  const origin = `http://127.0.0.1:${server.address().port}`;
  const browser = await chromium.launch({
    executablePath: process.env.CHROMIUM ?? "/usr/bin/chromium",
    args: ["--no-sandbox"],
  });
  const problems = [];

  async function open(path = "/", options = {}) {
    const context = await browser.newContext({ locale: "en-US", viewport: { width: 1280, height: 800 }, ...options });
    const page = await context.newPage();
    page.on("console", (m) => {
      if (m.type() === "error") problems.push(`console: ${m.text()}`);
    });
    page.on("pageerror", (e) => problems.push(`page: ${e.message}`));
    context.on("request", (r) => {
      if (!r.url().startsWith(origin) && !r.url().startsWith("blob:") && !r.url().startsWith("data:"))
        problems.push(`request to another origin: ${r.url()}`);
    });
    await page.goto(origin + path);
    await page.waitForSelector("body[data-pret]");
    return page;
  }

  async function stop() {
    await browser.close();
    server.close();
  }

  return { origin, open, stop, problems, browser };
}

// Where the site serves a module of the page (its fingerprinted name), to
// import the very instance the page runs.
export async function modulePath(page, name) {
  return page.evaluate(async (n) => `./${(await (await fetch("fichiers.json")).json())[n]}`, name);
}
