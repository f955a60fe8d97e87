// Pong's page in headless Chromium against a native pong host over
// 127.0.0.1: the page joins the host's WebSocket port and plays a match to
// its end, and both end on the same court (the page's screen text equals the
// host's last frame) and print the same score; a second page is turned away
// while the first plays. Two pages play each other through a host that only
// referees (one page's paddle reaches the other), and all three end on the
// same court and score. A page joining where nobody listens says why; one
// asked to host says in one line that it cannot listen; one that never
// connects says nothing of the network.
//   node --experimental-websocket pong-page.mjs SITE_FOLDER BIN_FOLDER
import assert from 'node:assert/strict';
import { spawn } from 'node:child_process';
import fs from 'node:fs';
import net from 'node:net';
import os from 'node:os';
import path from 'node:path';
import { Browser, runCases, WAIT_SCALE } from './browser.mjs';
import { serve } from '../../tools/web-serve.mjs';

const [site, bin] = process.argv.slice(2);
const server = await serve(site, 0);
const base = `http://127.0.0.1:${server.address().port}`;
const SCORE = /Host \d+ Guest \d+/;

// A native pong host under the capture presenter, its last frame in
// frame.txt; resolves once it has said which ports it listens on.
function startHost(extra = []) {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'tw-pong-'));
  const config = path.join(dir, 'tw-config.txt');
  fs.writeFileSync(config, `display:capture,\nsnapshot_file:${dir}/frame.txt,\n` +
                           `logfile:${dir}/log.txt,\nframe_time:10,\nrandom_seed:1,\n`);
  const child = spawn(path.join(bin, 'example_pong'), ['--capture', '--host', '0', ...extra],
                      { cwd: bin, env: { ...process.env, TARNWICK_CONFIG: config } });
  let output = '';
  const exited = new Promise((resolve) => child.once('exit', resolve));
  const listening = new Promise((resolve, reject) => {
    child.stdout.on('data', (chunk) => {
      output += chunk;
      const ports = output.match(/hosting on port (\d+), pages on port (\d+)/);
      if (ports) resolve(Number(ports[2]));
    });
    exited.then(() => reject(new Error('the host ended before listening: ' + output)));
  });
  return { child, dir, listening, exited, output: () => output };
}

// The first console line of a page that matches pattern (its program's
// printed lines reach the console), once there is one.
async function consoleLine(browser, pattern, what) {
  await browser.waitFor(`document.body.dataset.state === 'ended'`, 60000, what);
  const end = Date.now() + 5000 * WAIT_SCALE;  // the console event may trail the page's state
  for (;;) {
    const line = browser.console.find((l) => pattern.test(l));
    if (line) return line.match(pattern)[0];
    if (Date.now() > end) throw new Error(`${what}: ${browser.console.slice(-10).join(' | ')}`);
    await new Promise((resolve) => setTimeout(resolve, 50));
  }
}

// The host's last captured frame, without the capture's trailer.
function lastFrame(host) {
  const frame = fs.readFileSync(`${host.dir}/frame.txt`, 'utf8');
  return frame.substring(0, frame.indexOf('\n--\n') + 1);
}

const joinPage = (port) => `${base}/pong.html?arg=--join&arg=127.0.0.1&arg=${port}`;

await runCases({
  'a page plays a match against a native host; a second page is turned away': async (browser) => {
    const host = startHost();
    let second = null;
    try {
      const port = await host.listening;
      await browser.open(joinPage(port));
      // The ball leaves the middle only once the host has its guest.
      await browser.waitForScreen((t) => t.split('\n')[12]?.[40] === ' ', 20000, 'the ball in play');
      second = await Browser.launch();
      await second.open(joinPage(port));
      // Turned away as it joins, or just after: it never plays.
      await consoleLine(second, /Host 0 Guest 0|cannot host or join/, 'the second page turned away');
      // The guest shows the final court a while before it leaves.
      const court = await browser.waitForScreen((t) => /Host 3|Guest 3/.test(t), 60000, 'the final score');
      const score = await consoleLine(browser, SCORE, 'the end of the match');
      assert.equal(await host.exited, 0, host.output());
      assert.equal(host.output().trim().split('\n').pop(), score);
      assert.equal(court, lastFrame(host));
    } finally {
      if (second) await second.close();
      host.child.kill();
      fs.rmSync(host.dir, { recursive: true, force: true });
    }
  },
  'two pages play each other through a host that only referees': async (browser) => {
    const host = startHost(['--referee']);
    let right = null;
    try {
      const port = await host.listening;
      await browser.open(joinPage(port));
      // Seated on the left: the host's records have brought its score labels.
      await browser.waitForScreen((t) => /Left 0/.test(t), 20000, 'the first page seated');
      right = await Browser.launch();
      await right.open(joinPage(port));
      await right.waitForScreen((t) => /Left \d/.test(t), 20000, 'the second page seated');
      // The left paddle moves down, and the host passes it on to the right page.
      // The host is stopped meanwhile, so that the match cannot end (and the
      // right page leave) before the move reaches it, however slow the pages.
      // A page shows its move after it has sent it: the frame that shows it
      // is presented after the next step's exchange.
      const leftPaddleMoved = (t) => {
        const column = t.split('\n').map((row) => row[2]);
        return column[10] === ' ' && column.includes('|');
      };
      host.child.kill('SIGSTOP');
      await browser.key('ArrowDown', 'ArrowDown');
      await browser.waitForScreen(leftPaddleMoved, 20000, 'the left page to move its paddle');
      host.child.kill('SIGCONT');
      await right.waitForScreen(leftPaddleMoved, 20000, 'the left paddle moved');
      const pages = [browser, right];
      const courts = await Promise.all(pages.map((page) => page.waitForScreen(
        (t) => /Left 3|Right 3/.test(t), 60000, 'the final score')));
      const scores = await Promise.all(pages.map((page) => consoleLine(
        page, /Left \d+ Right \d+/, 'the end of the match')));
      assert.equal(await host.exited, 0, host.output());
      assert.deepEqual(scores, Array(2).fill(host.output().trim().split('\n').pop()));
      assert.deepEqual(courts, Array(2).fill(lastFrame(host)));
    } finally {
      if (right) await right.close();
      host.child.kill('SIGCONT');
      host.child.kill();
      fs.rmSync(host.dir, { recursive: true, force: true });
    }
  },
  'a page joining where no host listens says so and ends': async (browser) => {
    const probe = net.createServer().listen(0, '127.0.0.1');
    await new Promise((resolve) => probe.once('listening', resolve));
    const port = probe.address().port;
    await new Promise((resolve) => probe.close(resolve));
    await browser.open(joinPage(port));
    await consoleLine(browser, /cannot host or join/, 'the page to give up');
    const log = await browser.evaluate(`FS.readFile('/tarnwick.log', { encoding: 'utf8' })`);
    assert.match(log, new RegExp(`Connecting to 127.0.0.1:${port} failed:\n.*Connection refused`));
  },
  'a page cannot host, and says so in one line': async (browser) => {
    await browser.open(`${base}/pong.html?arg=--host`);
    const log = `FS.analyzePath('/tarnwick.log').exists && FS.readFile('/tarnwick.log', { encoding: 'utf8' })`;
    await browser.waitFor(`(${log} || '').includes('cannot listen')`, 10000, 'the refusal');
    const lines = (await browser.evaluate(log)).split('\n').filter((l) => /Error|Warning/.test(l));
    assert.deepEqual(lines.map((l) => l.replace(/^\S+\s+\S+\s+/, '')), [
      'NetworkManager::setUpServer(): Error! A browser page cannot listen for connections; it can ' +
      'connect to a host\'s WebSocket port.']);
  },
  'a page that never connects says nothing of the network': async (browser) => {
    await browser.open(`${base}/index.html`);  // Veld, whose log is written as it goes
    await browser.waitFor(`Number(document.body.dataset.frames) > 2`, 10000, 'the first frames');
    const log = await browser.evaluate(`FS.readFile('/tarnwick.log', { encoding: 'utf8' })`);
    assert.match(log, /Game engine started/);
    assert.doesNotMatch(log, /(Warning|Error)!.*(network|TCP|socket)/i);
  },
});
server.close();
