// Serves a folder of static files (the browser build's site) on 127.0.0.1,
// with the types a browser needs for WebAssembly, and prints the address of
// its front page (index.html), or of each of its pages when it has none.
//   node tools/web-serve.mjs FOLDER [PORT]     (PORT 0 picks a free one)
// Imported, serve(folder, port, extras) gives the listening server; extras
// maps more names to files elsewhere ({'/session.rec': '/tmp/x.rec'}).
import http from 'node:http';
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

const TYPES = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.wasm': 'application/wasm',
  '.data': 'application/octet-stream', '.ttf': 'font/ttf', '.txt': 'text/plain; charset=utf-8',
  '.png': 'image/png',
};

export function serve(folder, port, extras = {}) {
  const root = path.resolve(folder);
  const server = http.createServer((request, response) => {
    const name = decodeURIComponent(new URL(request.url, 'http://x').pathname);
    const file = extras[name] || path.join(root, name.endsWith('/') ? name + 'index.html' : name);
    // Nothing outside the folder is served.
    if (!extras[name] && file !== root && !file.startsWith(root + path.sep)) {
      response.writeHead(403).end();
      return;
    }
    fs.readFile(file, (error, bytes) => {
      if (error) {
        response.writeHead(404, { 'Content-Type': 'text/plain' }).end('not found\n');
        return;
      }
      response.writeHead(200, {
        'Content-Type': TYPES[path.extname(file)] || 'application/octet-stream',
        'Cache-Control': 'no-store',
      });
      response.end(bytes);
    });
  });
  return new Promise((resolve, reject) => {
    server.once('error', reject);
    server.listen(port, '127.0.0.1', () => resolve(server));
  });
}

// The addresses to print: the folder's front page, or each page in it when it
// has none (a game's own build names its page after the game).
function pageAddresses(folder, base) {
  if (fs.existsSync(path.join(folder, 'index.html'))) return [base];
  return fs.readdirSync(folder).filter((name) => name.endsWith('.html')).sort()
    .map((name) => base + encodeURIComponent(name));
}

if (process.argv[1] === fileURLToPath(import.meta.url)) {
  const folder = process.argv[2];
  if (!folder || !fs.statSync(folder, { throwIfNoEntry: false })?.isDirectory()) {
    console.error(`No folder '${folder ?? ''}' to serve: build the pages first ` +
                  '(make web, or emcmake cmake and cmake --build for a game of your own).');
    process.exit(1);
  }
  const server = await serve(folder, Number(process.argv[3] || 8000));
  const pages = pageAddresses(folder, `http://127.0.0.1:${server.address().port}/`);
  console.log(`Serving ${folder} (Ctrl-C stops):` + (pages.length ? '' : ' it holds no page (.html)'));
  for (const page of pages) console.log(`  ${page}`);
}
