// The catch example built as a game of one's own (examples/web-consumer,
// emcmake cmake with tarnwick_web_page) starts in the page and its basket
// answers a key. Its folder is served as a game developer serves theirs, by
// the server's command, which prints the page's address (the folder has no
// index.html).
//   node --experimental-websocket consumer-page.mjs CONSUMER_SITE_FOLDER
import { spawn } from 'node:child_process';
import { fileURLToPath } from 'node:url';
import { runCases } from './browser.mjs';

const [site] = process.argv.slice(2);
const server = spawn(process.execPath,
                     [fileURLToPath(new URL('../../tools/web-serve.mjs', import.meta.url)), site, '0'],
                     { stdio: ['ignore', 'pipe', 'inherit'] });
const page = await new Promise((resolve, reject) => {
  let printed = '';
  server.stdout.on('data', (chunk) => {
    printed += chunk;
    const address = printed.match(/http:\/\/127\.0\.0\.1:\d+\/catch\.html/);
    if (address) resolve(address[0]);
  });
  server.once('exit', (status) => reject(new Error(`the server stopped (${status}): ${printed}`)));
});
const basketColumn = (text) => text.split('\n').reduce((found, row) => {
  const at = row.indexOf('\\___/');
  return at >= 0 ? at : found;
}, -1);

await runCases({
  'the consumer page starts and its basket moves on a key': async (browser) => {
    await browser.open(page);
    const first = await browser.waitForScreen((t) => basketColumn(t) >= 0, 10000, 'the basket');
    await browser.key('KeyD', 'd');
    // One keystroke: two cells to the right.
    await browser.waitForScreen((t) => basketColumn(t) > basketColumn(first), 3000,
                                'the basket further right');
  },
});
server.kill();
