// The starter's game (tools/new-game) built for the browser: its page starts,
// greets, shows the hero from its preloaded sprite, walks it right on a key
// and ends on Q.
//   node --experimental-websocket starter-page.mjs SITE_FOLDER NAME
import { runCases } from './browser.mjs';
import { serve } from '../../tools/web-serve.mjs';

const [site, name] = process.argv.slice(2);
const server = await serve(site, 0);
const page = `http://127.0.0.1:${server.address().port}/${name}.html`;
// The column of the hero's legs ("/ \", the same in both frames), or -1.
const legsColumn = (text) => text.split('\n').reduce((found, row) => {
  const at = row.indexOf('/ \\');
  return at >= 0 ? at : found;
}, -1);

await runCases({
  'the starter game greets, walks on a key and ends on Q': async (browser) => {
    await browser.open(page);
    const first = await browser.waitForScreen(
      (t) => t.includes(`Hello from ${name}!`) && legsColumn(t) >= 0, 10000, 'the greeting and the hero');
    await browser.key('ArrowRight', 'ArrowRight');
    await browser.waitForScreen((t) => legsColumn(t) === legsColumn(first) + 1, 3000,
                                'the hero one cell right');
    await browser.key('KeyQ', 'q');
    await browser.waitFor(`document.body.dataset.state === 'ended'`, 5000, 'the game to end on Q');
  },
});
server.close();
