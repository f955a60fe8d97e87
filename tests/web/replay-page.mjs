// A recording made by the native Veld (tests/web/NativeSession.cpp wrote it
// and its native replay's last frame into WORK) replays in the page, from
// index.html?replay=session.rec with the file beside the page, to the same
// last frame. A refused replay file says why on the page.
//   node --experimental-websocket replay-page.mjs SITE_FOLDER WORK_FOLDER TEST_DATA_FOLDER
import assert from 'node:assert/strict';
import fs from 'node:fs';
import { runCases } from './browser.mjs';
import { serve } from '../../tools/web-serve.mjs';

const [site, work, data] = process.argv.slice(2);
const server = await serve(site, 0, {
  '/session.rec': `${work}/session.rec`,
  '/flipped.rec': `${data}/replays/flipped-byte.rec`,
});
const base = `http://127.0.0.1:${server.address().port}`;

await runCases({
  'a native recording replays in the page to the native last frame': async (browser) => {
    const native = fs.readFileSync(`${work}/session-last-frame.txt`, 'utf8');
    await browser.open(`${base}/index.html?replay=session.rec`);
    await browser.waitFor(`document.body.dataset.state === 'ended'`, 60000, 'the end of the replay');
    assert.equal(await browser.screenText(), native);
  },

  'a refused replay file says why on the page': async (browser) => {
    await browser.open(`${base}/index.html?replay=flipped.rec`);
    await browser.waitFor(`/refused/.test(document.getElementById('message').innerText)`, 10000,
                          'the refusal');
    assert.match(await browser.evaluate(`document.getElementById('message').innerText`), /checksum/);
  },
});
server.close();
