// Spectators of a running native Veld (under the capture presenter, writing
// its screen to a file each frame, started with --spectate): two watcher
// pages in headless Chromium, the second joining while the first watches,
// show the game's screen text and draw every non-blank cell of it; when the
// game ends, both pages say so.
//   node --experimental-websocket spectate-page.mjs SITE_FOLDER VELD_PROGRAM
import assert from 'node:assert/strict';
import { spawn } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { Browser, runCases, uninkedCells } from './browser.mjs';
import { serve } from '../../tools/web-serve.mjs';

const [site, veld] = process.argv.slice(2);
const server = await serve(site, 0);
const base = `http://127.0.0.1:${server.address().port}`;

// Starts Veld serving spectators on a free port; resolves with the program
// and the port it printed.
function startVeld(work) {
  fs.writeFileSync(path.join(work, 'config.txt'),
                   `display:capture,snapshot_file:${work}/screen.txt,logfile:${work}/veld.log,`);
  const game = spawn(veld, ['--spectate', '0'], {
    stdio: ['ignore', 'pipe', 'inherit'],
    env: Object.assign({}, process.env, { TARNWICK_CONFIG: path.join(work, 'config.txt') }) });
  return new Promise((resolve, reject) => {
    let out = '';
    game.stdout.on('data', (chunk) => {
      out += chunk;
      const port = out.match(/watch\.html\?port=(\d+)/);
      if (port) resolve({ game, port: Number(port[1]) });
    });
    game.on('exit', (code) => reject(new Error(`veld ended (${code}) before serving: ${out}`)));
  });
}

// The game's screen as its last finished frame's text (the file's first part).
function gameScreen(work) {
  try {
    const text = fs.readFileSync(path.join(work, 'screen.txt'), 'utf8');
    return text.slice(0, text.indexOf('--\n'));
  } catch (e) {
    return '';  // not written yet
  }
}

// Waits until the watcher shows the screen the game shows at that moment.
async function showsGameScreen(watcher, work) {
  let watched = '';
  for (let i = 0; i < 200; i++) {
    watched = await watcher.screenText();
    if (watched.includes('#') && watched === gameScreen(work)) return watched;
    await new Promise((resolve) => setTimeout(resolve, 50));
  }
  assert.fail(`the watcher shows:\n${watched}\nthe game shows:\n${gameScreen(work)}`);
}

await runCases({
  'two watchers show the running game\'s screen and see it end': async (first) => {
    const work = fs.mkdtempSync(path.join(os.tmpdir(), 'tw-spectate-'));
    const { game, port } = await startVeld(work);
    let second = null;
    try {
      await first.open(`${base}/watch.html?port=${port}`);
      await first.waitFor(`Number(document.body.dataset.frames) > 0`, 10000, 'a watched frame');
      second = await Browser.launch();
      await second.open(`${base}/watch.html?port=${port}`);
      await second.waitFor(`Number(document.body.dataset.frames) > 0`, 10000, 'a watched frame');
      for (const watcher of [first, second]) {
        await showsGameScreen(watcher, work);
        assert.deepEqual(await watcher.evaluate(uninkedCells(80, 24)), []);
      }
      game.kill('SIGTERM');
      for (const watcher of [first, second]) {
        await watcher.waitFor(`document.body.dataset.state === 'ended'`, 10000, 'the end');
      }
    } finally {
      game.kill('SIGKILL');
      if (second) await second.close();
      fs.rmSync(work, { recursive: true, force: true });
    }
  },
  'a page without a port says what it needs': async (browser) => {
    await browser.open(`${base}/watch.html`);
    await browser.waitFor(`document.body.dataset.state === 'failed'`, 5000, 'the refusal');
    assert.match(await browser.evaluate(`document.getElementById('message').innerText`),
                 /watch\.html\?port=N/);
  },
});
server.close();
