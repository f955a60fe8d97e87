// Veld's page under the development server with a copy of the game's data:
// a sprite file saved there shows on the open page, and the save-to-screen
// time is printed; served without a data folder the page has no feed.
//   node --experimental-websocket reload-page.mjs SITE_FOLDER GAME_FOLDER
import assert from 'node:assert/strict';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { runCases } from './browser.mjs';
import { serve } from '../../tools/web-serve.mjs';

const [site, game] = process.argv.slice(2);
const data = fs.mkdtempSync(path.join(os.tmpdir(), 'tw-reload-'));
for (const item of ['sprites', 'sounds', 'tw-config.txt']) {
  fs.cpSync(path.join(game, item), path.join(data, item), { recursive: true });
}
const watched = await serve(site, 0, {}, data);
const plain = await serve(site, 0);
const address = (server) => `http://127.0.0.1:${server.address().port}/index.html`;
const SPRITE = 'sprites/gamestart-spr.txt';

await runCases({
  'a saved sprite shows on the open page, a broken save leaves it': async (browser) => {
    await browser.open(address(watched));
    await browser.waitFor(`Number(document.body.dataset.frames) > 2`, 10000, 'the first frames');
    assert.equal(await browser.evaluate('window.TW_CHANGES'), '/__tw/changes');
    await browser.waitFor(`Module.tw.changedFiles !== undefined`, 2000, 'the page side');
    const saved = Date.now();
    fs.writeFileSync(path.join(data, SPRITE), '1\n14\n1\n1\ngreen\nSAVED-AND-SEEN\n');
    await browser.waitForScreen((text) => text.includes('SAVED-AND-SEEN'), 10000, 'the new sprite');
    console.log(`save to screen: ${Date.now() - saved} ms`);
    fs.writeFileSync(path.join(data, SPRITE), '1\n14\n1\n1\ngreen\nBROKEN\n');
    await browser.waitFor(`document.getElementById('message')?.innerText.includes('${SPRITE}:6')`,
                          10000, 'the problem on the page');
    assert.ok((await browser.screenText()).includes('SAVED-AND-SEEN'));
  },
  'the static site has no feed': async (browser) => {
    await browser.open(address(plain));
    await browser.waitFor(`Number(document.body.dataset.frames) > 2`, 10000, 'the first frames');
    assert.equal(await browser.evaluate('window.TW_CHANGES === undefined'), true);
  },
});
watched.close();
plain.close();
fs.rmSync(data, { recursive: true, force: true });
