// Serves a folder of static files (the browser build's site) on 127.0.0.1,
// with the types a browser needs for WebAssembly, and prints the address.
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

if (process.argv[1] === fileURLToPath(import.meta.url)) {
  const folder = process.argv[2];
  if (!folder || !fs.existsSync(path.join(folder, 'index.html'))) {
    console.error(`No site in '${folder}': build it with make web.`);
    process.exit(1);
  }
  const server = await serve(folder, Number(process.argv[3] || 8000));
  console.log(`Serving ${folder} on http://127.0.0.1:${server.address().port}/ (Ctrl-C stops)`);
}
