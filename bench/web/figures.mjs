// Figures of the browser build, measured in headless Chromium from a local
// server: what a player downloads for Veld (gzip, per file), the time from
// page load to the first frame, and the main-thread time per loop step for
// Veld replaying a recorded session and for a full 80 x 24 screen of
// changing characters (screen.html, in bench-site/ beside the site).
//   node --experimental-websocket bench/web/figures.mjs SITE_FOLDER [RECORDING]
import fs from 'node:fs';
import path from 'node:path';
import zlib from 'node:zlib';
import { Browser } from '../../tests/web/browser.mjs';
import { serve } from '../../tools/web-serve.mjs';

const [site, recording] = process.argv.slice(2);
const benchSite = path.join(site, '..', 'bench-site');
const extras = recording ? { '/session.rec': recording } : {};
for (const name of ['screen.html', 'screen.js', 'screen.wasm']) extras['/' + name] = path.join(benchSite, name);
const server = await serve(site, 0, extras);
const base = `http://127.0.0.1:${server.address().port}`;

function summary(times) {
  const sorted = [...times].sort((a, b) => a - b);
  const at = (q) => sorted[Math.min(sorted.length - 1, Math.floor(q * sorted.length))];
  const mean = sorted.reduce((a, b) => a + b, 0) / sorted.length;
  return `mean ${mean.toFixed(3)} ms, median ${at(0.5).toFixed(3)}, p95 ${at(0.95).toFixed(3)}, ` +
         `max ${sorted[sorted.length - 1].toFixed(3)} over ${sorted.length} steps`;
}

let total = 0;
console.log('Download for Veld (gzip -9):');
for (const name of ['index.html', 'index.js', 'index.wasm', 'index.data', 'tw-font.ttf']) {
  const bytes = fs.readFileSync(`${site}/${name}`);
  const packed = zlib.gzipSync(bytes, { level: 9 }).length;
  total += packed;
  console.log(`  ${name.padEnd(12)} ${String(bytes.length).padStart(8)} B, gzip ${String(packed).padStart(8)} B`);
}
console.log(`  total gzip   ${total} B (${(total / 1048576).toFixed(2)} MiB)`);

const firstFrames = [];
for (let i = 0; i < 5; i++) {
  const browser = await Browser.launch();
  await browser.open(`${base}/index.html`);
  await browser.waitFor(`Module.tw.firstFrameAt > 0`, 10000, 'the first frame');
  firstFrames.push(await browser.evaluate(`Module.tw.firstFrameAt`));
  await browser.close();
}
firstFrames.sort((a, b) => a - b);
console.log(`Page load to first frame: median ${firstFrames[2].toFixed(0)} ms ` +
            `(of ${firstFrames.map((t) => t.toFixed(0)).join(', ')})`);

async function stepTimes(page, what) {
  const browser = await Browser.launch();
  await browser.open(`${base}/${page}`);
  await browser.waitFor(`document.body.dataset.state === 'ended'`, 120000, what);
  const times = await browser.evaluate(`Module.tw.stepTimes`);
  await browser.close();
  return times;
}
if (recording) {
  console.log('Veld replaying the session, main thread per step: ' +
              summary(await stepTimes('index.html?replay=session.rec', 'the replay')));
}
console.log('Full 80 x 24 screen of changing characters, main thread per step: ' +
            summary(await stepTimes('screen.html', 'the screen page')));
server.close();
