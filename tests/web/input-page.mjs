// The input script (the table in tests/support/InputProbe.h: three quick taps
// of the left arrow, the down arrow held until it auto-repeats, then
// released) played into the input probe's page: the probe must give the
// report the window, the terminal and the capture give.
//   node --experimental-websocket input-page.mjs TEST_SITE_FOLDER
import { runCases, WAIT_SCALE } from './browser.mjs';
import { serve } from '../../tools/web-serve.mjs';

const [site] = process.argv.slice(2);
const server = await serve(site, 0);
const page = `http://127.0.0.1:${server.address().port}/probe.html`;
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));
const TAP_GAP_MS = 400, HOLD_MS = 1500, REPEAT_MS = 40;  // as in InputProbe.h
const SCRIPT = [{ tap: 3, code: 'ArrowLeft' }, { hold: true, code: 'ArrowDown' }];
// How many keystrokes the probe has logged (its STROKE_LINE).
const STROKES = `(FS.analyzePath('/tarnwick.log').exists ? FS.readFile('/tarnwick.log', { encoding: 'utf8' })
  .split('\\n').filter((l) => l.includes('InputProbe: stroke')).length : 0)`;

async function send(browser, type, code, autoRepeat = false) {
  await browser.send('Input.dispatchKeyEvent', { type, code, key: code, autoRepeat });
}

await runCases({
  'the input script gives the page the report every presenter gives': async (browser) => {
    await browser.open(page);
    await browser.waitFor(`Number(document.body.dataset.frames) > 2`, 10000, 'the first frames');
    for (const line of SCRIPT) {
      if (line.tap) {
        for (let i = 0; i < line.tap; i++) {
          // The next tap goes once the probe has logged this one: two taps in
          // one frame of a busy page would be one press.
          const seen = await browser.evaluate(STROKES);
          await send(browser, 'keyDown', line.code);
          await send(browser, 'keyUp', line.code);
          await browser.waitFor(`${STROKES} > ${seen}`, 10000, `tap ${i} seen`);
          await sleep(TAP_GAP_MS);
        }
      } else {
        await send(browser, 'keyDown', line.code);
        for (let held = 0; held < HOLD_MS; held += REPEAT_MS) {
          await sleep(REPEAT_MS);
          await send(browser, 'keyDown', line.code, true);
        }
        await send(browser, 'keyUp', line.code);
      }
      await sleep(TAP_GAP_MS);
    }
    await browser.key('KeyQ', 'q');
    const end = Date.now() + 10000 * WAIT_SCALE;
    while (Date.now() < end && !browser.console.some((l) => l.startsWith('input script:'))) await sleep(50);
    const verdict = browser.console.find((l) => l.startsWith('input script:'));
    if (verdict !== 'input script: the report every presenter gives') {
      throw new Error(`the probe says: ${browser.console.join(' | ')}`);
    }
  },
});
server.close();
