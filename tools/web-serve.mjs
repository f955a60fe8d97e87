// Serves a folder of static files (the browser build's site) on 127.0.0.1,
// with the types a browser needs for WebAssembly, and prints the address of
// its front page (index.html), or of each of its pages when it has none.
//   node tools/web-serve.mjs FOLDER [PORT] [--watch DATA]   (PORT 0 picks a free one)
// Imported, serve(folder, port, extras, data) gives the listening server;
// extras maps more names to files elsewhere ({'/session.rec': '/tmp/x.rec'}).
// With a DATA folder (the game's data as the program finds it beside
// itself), every file saved there is pushed to the open pages, which load it
// again: the pages learn the feed's address from the served HTML, so the
// static site, served by anything else, never has one.
import http from 'node:http';
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

const TYPES = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.wasm': 'application/wasm',
  '.data': 'application/octet-stream', '.ttf': 'font/ttf', '.txt': 'text/plain; charset=utf-8',
  '.png': 'image/png', '.md': 'text/plain; charset=utf-8',
};

const CHANGES = '/__tw/changes';
const MAX_PUSHED_BYTES = 1 << 20;

// Pushes each file saved under data to the pages listening, as a Server-Sent
// Event "change" with its path inside data and its bytes in base64. Saves
// come as bursts of events (an editor writes, renames, touches): a file is
// sent once its events have been quiet for a moment.
function changeFeed(data) {
  const listeners = new Set();
  const pending = new Map();
  const send = (name) => {
    pending.delete(name);
    fs.readFile(path.join(data, name), (error, bytes) => {
      if (error || bytes.length > MAX_PUSHED_BYTES) return;  // deleted, a folder, too big
      const message = `event: change\ndata: ${JSON.stringify({
        path: name.split(path.sep).join('/'), data: bytes.toString('base64') })}\n\n`;
      for (const response of listeners) response.write(message);
    });
  };
  const watcher = fs.watch(data, { recursive: true }, (type, name) => {
    if (!name || path.basename(name).startsWith('.')) return;  // editors' swap files
    clearTimeout(pending.get(name));
    pending.set(name, setTimeout(() => send(name), 30));
  });
  return {
    listen(response) {
      response.writeHead(200, { 'Content-Type': 'text/event-stream', 'Cache-Control': 'no-store' });
      response.write(': listening\n\n');
      listeners.add(response);
      response.on('close', () => listeners.delete(response));
    },
    close() { watcher.close(); for (const response of listeners) response.end(); },
  };
}

// A served page learns where the feed is before its own scripts run.
function withFeed(bytes) {
  return Buffer.from(bytes.toString('utf8').replace(
    '</head>', `<script>window.TW_CHANGES = '${CHANGES}';</script>\n</head>`));
}

export function serve(folder, port, extras = {}, data = null) {
  const root = path.resolve(folder);
  const feed = data ? changeFeed(path.resolve(data)) : null;
  const server = http.createServer((request, response) => {
    const name = decodeURIComponent(new URL(request.url, 'http://x').pathname);
    if (feed && name === CHANGES) {
      feed.listen(response);
      return;
    }
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
      response.end(feed && file.endsWith('.html') ? withFeed(bytes) : bytes);
    });
  });
  if (feed) {
    // Open feeds would keep a closing server waiting for ever.
    const close = server.close.bind(server);
    server.close = (callback) => { feed.close(); return close(callback); };
  }
  return new Promise((resolve, reject) => {
    server.once('error', reject);
    server.listen(port, '127.0.0.1', () => resolve(server));
  });
}

// The addresses to print: the folder's front page, or each page in it when it
// has none (a game's own build names its page after the game), and the
// gallery's when the folder holds one.
function pageAddresses(folder, base) {
  if (fs.existsSync(path.join(folder, 'index.html'))) {
    return fs.existsSync(path.join(folder, 'gallery', 'index.html')) ? [base, base + 'gallery/'] : [base];
  }
  return fs.readdirSync(folder).filter((name) => name.endsWith('.html')).sort()
    .map((name) => base + encodeURIComponent(name));
}

if (process.argv[1] === fileURLToPath(import.meta.url)) {
  const args = process.argv.slice(2);
  const at = args.indexOf('--watch');
  const data = at >= 0 ? args.splice(at, 2)[1] : null;
  const folder = args[0];
  if (!folder || !fs.statSync(folder, { throwIfNoEntry: false })?.isDirectory()) {
    console.error(`No folder '${folder ?? ''}' to serve: build the pages first ` +
                  '(make web, or emcmake cmake and cmake --build for a game of your own).');
    process.exit(1);
  }
  if (at >= 0 && !fs.statSync(data ?? '', { throwIfNoEntry: false })?.isDirectory()) {
    console.error(`No data folder '${data ?? ''}' to watch.`);
    process.exit(1);
  }
  const server = await serve(folder, Number(args[1] || 8000), {}, data);
  const pages = pageAddresses(folder, `http://127.0.0.1:${server.address().port}/`);
  console.log(`Serving ${folder} (Ctrl-C stops):` + (pages.length ? '' : ' it holds no page (.html)'));
  for (const page of pages) console.log(`  ${page}`);
  if (data) console.log(`Files saved in ${data} are pushed to the open pages.`);
}
