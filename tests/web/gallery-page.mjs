// The live gallery in headless Chromium: for every game of the list
// (examples/gallery.txt) the index links its page, where the game starts in
// its frame, quits on Q, and its source files show exactly as they are, with
// the link to its guide page (which must be there once docs/guide is).
//   node --experimental-websocket gallery-page.mjs SITE_FOLDER REPOSITORY
import assert from 'node:assert/strict';
import fs from 'node:fs';
import { runCases } from './browser.mjs';
import { serve } from '../../tools/web-serve.mjs';

const [site, repository] = process.argv.slice(2);
const games = fs.readFileSync(`${repository}/examples/gallery.txt`, 'utf8').split('\n')
  .filter((line) => line.trim() && !line.startsWith('#'))
  .map((line) => {
    const [name, page, title, guide, sources] = line.split('|').map((field) => field.trim());
    return { name, page, title, guide, sources: sources.split(/\s+/) };
  });
const server = await serve(site, 0);
const base = `http://127.0.0.1:${server.address().port}/gallery/`;
const inFrame = (expression) =>
  `(() => { const doc = document.getElementById('game').contentDocument; return ${expression}; })()`;

const cases = {
  'the gallery index links every game of the list': async (browser) => {
    await browser.open(base);
    const links = await browser.evaluate(
      `[...document.querySelectorAll('ul.games a')].map((a) => a.getAttribute('href'))`);
    assert.deepEqual(links, games.map((game) => `${game.name}.html`));
  },
};
for (const game of games) {
  cases[`the gallery page of ${game.name} plays, answers Q and shows its source`] = async (browser) => {
    await browser.open(base + game.name + '.html');
    assert.equal(await browser.evaluate(`document.getElementById('guide').getAttribute('href')`),
                 `../guide/${game.guide}.md`);
    // Once the guide is written, each link must reach its page.
    if (fs.existsSync(`${repository}/docs/guide`)) {
      assert.equal(await browser.evaluate(
        `fetch(document.getElementById('guide').href).then((r) => r.status)`), 200,
        `the guide page ${game.guide}.md`);
    }
    const shown = await browser.evaluate(`Object.fromEntries([...document.querySelectorAll('pre')]
      .map((pre) => [pre.dataset.file, pre.textContent]))`);
    assert.deepEqual(Object.keys(shown), game.sources);
    for (const source of game.sources) {
      assert.ok(shown[source] === fs.readFileSync(`${repository}/${source}`, 'utf8'),
                `${source} is not shown as it is`);
    }
    // One frame at least: a turn-based game draws again only on input.
    await browser.waitFor(inFrame(`Number(doc.body.dataset.frames) > 0`), 20000,
                          `${game.name} to draw its first frame`);
    await browser.waitFor(inFrame(`doc.getElementById('screen-text').textContent.trim() !== ''`),
                          10000, `${game.name}'s screen text`);
    await browser.evaluate(`document.getElementById('game').contentWindow.focus()`);
    await browser.key('KeyQ', 'q');
    await browser.waitFor(inFrame(`doc.body.dataset.state === 'ended'`), 10000,
                          `${game.name} to end on Q`);
  };
}
await runCases(cases);
server.close();
