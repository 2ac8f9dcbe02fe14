// A static server for the built site, as any static host serves it; the
// browser tests and ./dev.sh web use it.
import { createServer } from "node:http";
import { readFile } from "node:fs/promises";
import { extname, join, normalize } from "node:path";

const TYPES = {
  ".html": "text/html; charset=utf-8", ".js": "text/javascript", ".css": "text/css",
  ".wasm": "application/wasm", ".png": "image/png", ".webmanifest": "application/manifest+json",
};

export function serve(root, port = 0) {
  const server = createServer(async (req, res) => {
    const path = normalize(decodeURIComponent(new URL(req.url, "http://x").pathname)).replace(/^(\.\.[/\\])+/, "");
    try {
      const body = await readFile(join(root, path.endsWith("/") ? `${path}index.html` : path));
      res.writeHead(200, { "Content-Type": TYPES[extname(path) || ".html"] ?? "application/octet-stream" });
      res.end(body);
    } catch {
      res.writeHead(404).end();
    }
  });
  return new Promise((resolve) => server.listen(port, "127.0.0.1", () => resolve(server)));
}

// node web/tools/serve.js SITE_DIR [PORT]: serves the site on 127.0.0.1.
if (process.argv[1] && import.meta.url === new URL(`file://${process.argv[1]}`).href) {
  const server = await serve(process.argv[2], Number(process.argv[3] ?? 8080));
  console.log(`Kelvora : http://127.0.0.1:${server.address().port}/ (Ctrl+C pour arrêter)`);
}
