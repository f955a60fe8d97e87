// The roguelike example's page in headless Chromium: it waits for keys
// without drawing (the frame count stands still while idle), and an arrow
// key moves the player, which changes the map shown.
//   node --experimental-websocket roguelike-page.mjs SITE_FOLDER
import assert from 'node:assert/strict';
import { runCases } from './browser.mjs';
import { serve } from '../../tools/web-serve.mjs';

const [site] = process.argv.slice(2);
const server = await serve(site, 0);
const page = `http://127.0.0.1:${server.address().port}/roguelike.html`;
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));
// The player's cell, as [row, column].
const playerAt = (text) => {
  const rows = text.split('\n');
  const row = rows.findIndex((r) => r.includes('@'));
  return [row, row < 0 ? -1 : rows[row].indexOf('@')];
};

await runCases({
  'idle, nothing is drawn; an arrow key moves the player': async (browser) => {
    await browser.open(page);
    const start = await browser.waitForScreen((t) => t.includes('HP') && t.includes('@'), 10000, 'the dungeon');
    const frames = await browser.evaluate(`Module.tw.frames`);
    await sleep(800);
    assert.equal(await browser.evaluate(`Module.tw.frames`), frames, 'frames drawn while waiting');
    const [row, column] = playerAt(start);
    await browser.key('ArrowLeft', 'ArrowLeft');
    await browser.waitForScreen((t) => playerAt(t)[1] === column - 1, 5000, 'the player a cell left');
  },
});
server.close();
