// A static server for the built site, as any static host serves it (gzip
// for a browser that takes it); the browser tests and ./dev.sh web use it.
import { createServer } from "node:http";
import { readFile, stat } from "node:fs/promises";
import { extname, join, normalize } from "node:path";
import { gzipSync } from "node:zlib";

const TYPES = {
  ".html": "text/html; charset=utf-8", ".js": "text/javascript", ".css": "text/css",
  ".wasm": "application/wasm", ".png": "image/png", ".webmanifest": "application/manifest+json",
  ".json": "application/json",
};
const COMPRESSED = new Set([".html", ".js", ".css", ".wasm", ".webmanifest", ".json", ""]);
const zipped = new Map();

// Compressed once per version of a file, as a host stores them.
async function gzipped(path, body) {
  const key = `${path}:${(await stat(path)).mtimeMs}`;
  if (!zipped.has(key)) zipped.set(key, gzipSync(body, { level: 9 }));
  return zipped.get(key);
}

// A name with the site's fingerprint never changes content: cached for a
// year without asking again. The page, its worker and the names' map are
// asked again every time (a 304 when unchanged).
export function cacheControl(path) {
  return /\.[0-9a-f]{8}\.[a-z]+$/.test(path) ? "public, max-age=31536000, immutable" : "no-cache";
}

export function serve(root, port = 0) {
  const server = createServer(async (req, res) => {
    const path = normalize(decodeURIComponent(new URL(req.url, "http://x").pathname)).replace(/^(\.\.[/\\])+/, "");
    try {
      const file = join(root, path.endsWith("/") ? `${path}index.html` : path);
      const body = await readFile(file);
      const headers = { "Content-Type": TYPES[extname(path) || ".html"] ?? "application/octet-stream",
        "Cache-Control": cacheControl(path) };
      if (COMPRESSED.has(extname(path)) && /\bgzip\b/.test(req.headers["accept-encoding"] ?? "")) {
        headers["Content-Encoding"] = "gzip";
        res.writeHead(200, headers);
        return res.end(await gzipped(file, body));
      }
      res.writeHead(200, headers);
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
