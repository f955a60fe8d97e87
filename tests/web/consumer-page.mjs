// The catch example built as a game of one's own (examples/web-consumer,
// emcmake cmake with tarnwick_web_page) starts in the page and its basket
// answers a key.
//   node --experimental-websocket consumer-page.mjs CONSUMER_SITE_FOLDER
import { runCases } from './browser.mjs';
import { serve } from '../../tools/web-serve.mjs';

const [site] = process.argv.slice(2);
const server = await serve(site, 0);
const base = `http://127.0.0.1:${server.address().port}`;
const basketColumn = (text) => text.split('\n').reduce((found, row) => {
  const at = row.indexOf('\\___/');
  return at >= 0 ? at : found;
}, -1);

await runCases({
  'the consumer page starts and its basket moves on a key': async (browser) => {
    await browser.open(`${base}/catch.html`);
    const first = await browser.waitForScreen((t) => basketColumn(t) >= 0, 10000, 'the basket');
    await browser.key('KeyD', 'd');
    // Pressed, then held for a step or two: two cells a step, to the right.
    await browser.waitForScreen((t) => basketColumn(t) > basketColumn(first), 3000,
                                'the basket further right');
  },
});
server.close();
