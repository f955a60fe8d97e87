// Veld's page in headless Chromium: the start screen read from #screen-text
// equals the capture presenter's golden frame and every non-blank cell of it
// is inked on the canvas; a run starts, jumps (with its sound) and pauses;
// a hidden tab stops stepping; the best score and mute choice survive a reload; blocked storage and a
// missing data file say so on the page.
//   node --experimental-websocket veld-page.mjs SITE_FOLDER TEST_DATA_FOLDER
import assert from 'node:assert/strict';
import fs from 'node:fs';
import { runCases, uninkedCells } from './browser.mjs';
import { serve } from '../../tools/web-serve.mjs';

const [site, data] = process.argv.slice(2);
const golden = fs.readFileSync(`${data}/frames/start-screen.txt`, 'utf8')
  .split('\n').slice(0, 24).join('\n') + '\n';
// The page again under /missing/, without its data file.
const missing = { '/missing/index.data': '/nonexistent' };
for (const name of ['index.html', 'index.js', 'index.wasm', 'tw-font.ttf']) {
  missing['/missing/' + name] = `${site}/${name}`;
}
const server = await serve(site, 0, missing);
const base = `http://127.0.0.1:${server.address().port}`;

async function startPage(browser, page = '/index.html') {
  await browser.open(base + page);
  await browser.waitFor(`Number(document.body.dataset.frames) > 2`, 10000, 'the first frames');
}

// The row holding the runner's arms, top row 0.
const runnerRow = (text) => text.split('\n').findIndex((row) => row.includes('/|\\'));
const scoreOf = (text) => Number((text.match(/Score:\s+(\d+)/) || [])[1]);

// Neighbouring cells whose lines or blocks join (the first reaches towards
// the second and the second back), and those whose seam shows: a pixel line
// across it, up to a quarter of a cell either side, whose brightest pixel in
// the cells' band is under three quarters of the pair's brightest.
const JOIN_GAPS = `(() => {
  const joins = { right: '\u2500\u2550\u2554\u255a\u255f\u2588', left: '\u2500\u2550\u2557\u255d\u2562\u2588',
                  down: '\u2502\u2551\u2554\u2557\u255f\u2562\u2588', up: '\u2502\u2551\u255a\u255d\u255f\u2562\u2588' };
  const text = document.getElementById('screen-text').textContent.split('\\n');
  const at = (x, y) => (text[y] || '')[x] || ' ';
  const canvas = document.getElementById('canvas'), w = canvas.width;
  const pixels = canvas.getContext('2d').getImageData(0, 0, w, canvas.height).data;
  const cw = w / 80, ch = canvas.height / 24, gaps = [];
  const bright = (px, py) => pixels[(py * w + px) * 4] + pixels[(py * w + px) * 4 + 1] + pixels[(py * w + px) * 4 + 2];
  let pairs = 0;
  // Lines a to b across the seam, each seen along from to to.
  const check = (a, b, from, to, pixel, where) => {
    const best = [];
    for (let line = Math.floor(a); line < Math.ceil(b); line++) {
      let most = 0;
      for (let k = Math.max(0, Math.floor(from)); k < Math.ceil(to); k++) most = Math.max(most, pixel(line, k));
      best.push(most);
    }
    pairs++;
    if (best.some((most) => most < 0.75 * Math.max(...best))) gaps.push(where);
  };
  for (let y = 0; y < 24; y++) for (let x = 0; x < 80; x++) {
    const where = at(x, y) + ' at ' + x + ',' + y;
    if (joins.right.includes(at(x, y)) && joins.left.includes(at(x + 1, y))) {
      check((x + 0.65) * cw, (x + 1.15) * cw, (y + 0.2) * ch, (y + 1.2) * ch, (px, py) => bright(px, py), where + ' right');
    }
    if (joins.down.includes(at(x, y)) && joins.up.includes(at(x, y + 1))) {
      check((y + 0.95) * ch, (y + 1.45) * ch, (x - 0.1) * cw, (x + 0.9) * cw, (py, px) => bright(px, py), where + ' down');
    }
  }
  return { pairs, gaps };
})()`;

// The page drawing U+2630, which the font lacks (another font on the
// machine has it), and then U+FFFD: how many pixels are inked in the first
// and how many differ between the two.
const LACKING_DRAWN = `(() => {
  const canvas = document.getElementById('canvas'), ctx = canvas.getContext('2d');
  const drawn = (code) => {
    Module.tw.draw(new Float32Array([0, code, 0xffffff, 0, 0, 0, 0, 0]));
    return ctx.getImageData(0, 0, canvas.width, canvas.height).data;
  };
  const lacking = drawn(0x2630), replacement = drawn(0xfffd);
  let inked = 0, differ = 0;
  for (let i = 0; i < lacking.length; i += 4) {
    if (lacking[i] > 0) inked++;
    if (lacking[i] !== replacement[i]) differ++;
  }
  return { inked, differ };
})()`;

await runCases({
  'the start screen is the golden frame, every non-blank cell inked, the tab named Veld': async (browser) => {
    await startPage(browser);
    assert.equal(await browser.screenText(), golden);
    assert.equal(await browser.evaluate(`document.title`), 'Veld');  // its window_title
    assert.deepEqual(await browser.evaluate(uninkedCells(80, 24)), []);
  },

  'P starts a run, Space jumps, Esc pauses and plays on': async (browser) => {
    await startPage(browser);
    await browser.key('KeyP', 'p');
    const running = await browser.waitForScreen((t) => t.includes('Score') && runnerRow(t) > 0,
                                                5000, 'a run');
    await browser.key('Space', ' ');
    await browser.waitForScreen((t) => runnerRow(t) > 0 && runnerRow(t) < runnerRow(running),
                                3000, 'the runner in the air');
    // The jump's sound: audio opened with the first key.
    await browser.waitFor(`Module.tw.soundsStarted > 0`, 3000, 'a sound started');
    await browser.key('Escape', 'Escape');
    const paused = await browser.waitForScreen((t) => t.includes('PAUSED'), 3000, 'the pause box');
    await new Promise((resolve) => setTimeout(resolve, 400));
    assert.equal(await browser.screenText(), paused, 'something moved while paused');
    await browser.key('Escape', 'Escape');
    await browser.waitForScreen((t) => !t.includes('PAUSED') && t !== paused, 3000, 'play again');
  },

  'a hidden tab steps no more, and plays on when shown again': async (browser) => {
    await startPage(browser);
    const other = await browser.send('Target.createTarget', { url: 'about:blank' });
    await browser.waitFor(`document.hidden`, 3000, 'the page hidden behind another tab');
    const frames = await browser.evaluate(`Module.tw.frames`);
    await new Promise((resolve) => setTimeout(resolve, 500));
    assert.equal(await browser.evaluate(`Module.tw.frames`), frames, 'frames while hidden');
    await browser.send('Target.closeTarget', { targetId: other.targetId });
    await browser.waitFor(`Module.tw.frames > ${frames}`, 3000, 'frames again');
  },

  'the best score and mute choice survive a reload': async (browser) => {
    await startPage(browser);
    await browser.key('KeyM', 'm');
    await browser.waitForScreen((t) => t.includes('MUTED'), 3000, 'MUTED');
    await browser.key('KeyP', 'p');
    const scored = await browser.waitForScreen((t) => scoreOf(t) >= 2, 8000, 'a score of 2');
    await browser.key('KeyQ', 'q');
    await browser.waitForScreen((t) => /best/i.test(t) && !t.includes('Score:  '), 5000,
                                'the game-over screen');
    await startPage(browser);
    const text = await browser.screenText();
    assert.match(text, /MUTED/);
    const best = Number((text.match(/Best score:\s+(\d+)/) || [])[1]);
    assert.ok(best >= scoreOf(scored), `best score ${best} after a score of ${scoreOf(scored)}`);
  },

  'storage that refuses a write says so on the page and plays on': async (browser) => {
    await browser.send('Page.addScriptToEvaluateOnNewDocument', {
      source: `Storage.prototype.setItem = function () {
                 throw new DOMException('the quota is used up', 'QuotaExceededError'); };`,
    });
    await startPage(browser);
    await browser.key('KeyM', 'm');
    await browser.waitFor(`/storage is full or blocked/.test(document.getElementById('message').innerText)`,
                          3000, 'the storage message');
    await browser.waitForScreen((t) => t.includes('MUTED'), 3000, 'MUTED all the same');
  },

  'the showcase\'s box drawing and blocks join without a seam; a lacking character shows U+FFFD':
  async (browser) => {
    await startPage(browser, '/showcase.html');
    const { pairs, gaps } = await browser.evaluate(JOIN_GAPS);
    assert.ok(pairs >= 60, `only ${pairs} joined pairs on the screen`);
    assert.deepEqual(gaps, []);
    const { inked, differ } = await browser.evaluate(LACKING_DRAWN);
    assert.ok(inked > 20, `${inked} pixels inked`);
    assert.equal(differ, 0, 'pixels where U+2630 is not drawn as U+FFFD');
  },

  'a missing data file says so on the page': async (browser) => {
    await browser.open(base + '/missing/index.html');
    await browser.waitFor(`document.body.dataset.state === 'failed'`, 10000, 'the failure');
    assert.match(await browser.evaluate(`document.getElementById('message').innerText`), /index\.data|failed/);
  },

  'every example page starts and goes on drawing': async (browser) => {
    for (const page of ['catch', 'maze', 'showcase', 'garden']) {
      await browser.open(`${base}/${page}.html`);
      await browser.waitFor(`Number(document.body.dataset.frames) > 5`, 10000, `${page}'s frames`);
      assert.equal(await browser.evaluate(`document.body.dataset.state`), 'running', page);
    }
  },
});
server.close();
