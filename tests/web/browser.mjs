// Headless Chromium driven over the DevTools protocol with Node's own
// WebSocket (node --experimental-websocket): no npm package, no browser
// download. Each Browser has a fresh profile folder, so storage starts empty
// unless the same Browser reloads a page.
import { spawn } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';

const CHROMIUM = process.env.TW_CHROMIUM || '/usr/bin/chromium';

function sleep(ms) { return new Promise((resolve) => setTimeout(resolve, ms)); }

// Waits are for events, and a busy machine (CI shares one) may make a page
// many times slower than an idle one: every wait may last this many times
// what its caller names, failing only then.
export const WAIT_SCALE = Number(process.env.TW_WAIT_SCALE || 5);

// Windows key codes of the named keys the tests press.
const NAMED_KEY_CODES = { Escape: 27, ' ': 32, ArrowLeft: 37, ArrowUp: 38, ArrowRight: 39, ArrowDown: 40 };

export class Browser {
  static async launch() {
    const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'tw-chromium-'));
    const child = spawn(CHROMIUM, [
      '--headless=new', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync',
      '--mute-audio', '--autoplay-policy=user-gesture-required',
      '--disable-renderer-backgrounding', '--disable-background-timer-throttling',
      '--window-size=1100,900', `--user-data-dir=${profile}`, '--remote-debugging-port=0',
      'about:blank',
    ], { stdio: ['ignore', 'ignore', 'pipe'], detached: true });
    let stderr = '';
    child.stderr.on('data', (chunk) => { stderr += chunk; });
    // Chromium writes its port into the profile once it listens (the file
    // may be seen before its first line is written).
    const portFile = path.join(profile, 'DevToolsActivePort');
    let port = '';
    for (let i = 0; i < 100 * WAIT_SCALE && !/^\d+$/.test(port); i++) {
      await sleep(100);
      try { port = fs.readFileSync(portFile, 'utf8').split('\n')[0]; } catch (e) { /* not yet */ }
    }
    const browser = new Browser(child, profile);
    try {
      if (!/^\d+$/.test(port)) throw new Error('Chromium did not start: ' + stderr.slice(-500));
      const targets = await (await fetch(`http://127.0.0.1:${port}/json/list`)).json();
      const page = targets.find((t) => t.type === 'page');
      if (!page) throw new Error('Chromium has no page to drive');
      browser.url = page.webSocketDebuggerUrl;
      await browser.connect();
    } catch (error) {
      await browser.close();  // Chromium and its helpers end, its profile goes
      throw error;
    }
    return browser;
  }

  constructor(child, profile) {
    this.child = child;
    this.profile = profile;
    this.url = '';
    this.next = 1;
    this.pending = new Map();
    this.console = [];
  }

  connect() {
    this.socket = new WebSocket(this.url);
    this.socket.onmessage = (message) => {
      const data = JSON.parse(message.data);
      if (data.id && this.pending.has(data.id)) {
        const { resolve, reject } = this.pending.get(data.id);
        this.pending.delete(data.id);
        if (data.error) reject(new Error(data.error.message)); else resolve(data.result);
      } else if (data.method === 'Runtime.consoleAPICalled') {
        this.console.push(data.params.args.map((a) => a.value).join(' '));
      }
    };
    return new Promise((resolve, reject) => {
      this.socket.onopen = async () => {
        await this.send('Page.enable');
        await this.send('Runtime.enable');
        resolve();
      };
      this.socket.onerror = () => reject(new Error('cannot reach Chromium'));
    });
  }

  send(method, params = {}) {
    const id = this.next++;
    this.socket.send(JSON.stringify({ id, method, params }));
    return new Promise((resolve, reject) => this.pending.set(id, { resolve, reject }));
  }

  async evaluate(expression) {
    const result = await this.send('Runtime.evaluate',
                                   { expression, awaitPromise: true, returnByValue: true });
    if (result.exceptionDetails) throw new Error(result.exceptionDetails.text + ': ' + expression);
    return result.result.value;
  }

  async open(url) {
    this.console = [];
    await this.send('Page.navigate', { url });
    await this.waitFor(`document.readyState === 'complete'`, 10000, 'the page to load');
  }

  // Polls a page expression until it is truthy; fails after ms with what.
  async waitFor(expression, ms, what) {
    ms *= WAIT_SCALE;
    const end = Date.now() + ms;
    let value;
    while (Date.now() < end) {
      value = await this.evaluate(expression).catch(() => undefined);
      if (value) return value;
      await sleep(50);
    }
    throw new Error(`timed out after ${ms} ms waiting for ${what}\n  page says: ` +
                    (await this.evaluate(`document.getElementById('message')?.innerText`)
                      .catch(() => '?')) + `\n  console: ${this.console.slice(-10).join(' | ')}`);
  }

  screenText() { return this.evaluate(`document.getElementById('screen-text').textContent`); }

  // Waits until the screen text satisfies test (a function of the text).
  async waitForScreen(test, ms, what) {
    ms *= WAIT_SCALE;
    const end = Date.now() + ms;
    let text = '';
    while (Date.now() < end) {
      text = await this.screenText();
      if (test(text)) return text;
      await sleep(30);
    }
    throw new Error(`timed out waiting for ${what}; the screen shows:\n${text}`);
  }

  // A key press and release as the keyboard sends them (code as in DOM's
  // KeyboardEvent.code).
  async key(code, key, holdMs = 60) {
    const keyCode = key.length === 1 ? key.toUpperCase().charCodeAt(0) : NAMED_KEY_CODES[key];
    const base = { code, key, windowsVirtualKeyCode: keyCode, nativeVirtualKeyCode: keyCode };
    await this.send('Input.dispatchKeyEvent', { type: 'keyDown', ...base });
    await sleep(holdMs);
    await this.send('Input.dispatchKeyEvent', { type: 'keyUp', ...base });
  }

  async screenshot() {
    const shot = await this.send('Page.captureScreenshot', { format: 'png' });
    return Buffer.from(shot.data, 'base64');
  }

  async close() {
    try { this.socket?.close(); } catch (e) { /* already closed */ }
    // Chromium leads its own process group: ending the group ends its
    // helper processes too, which would otherwise go on writing the profile.
    const exited = new Promise((resolve) => {
      if (this.child.exitCode !== null) resolve(); else this.child.once('exit', resolve);
    });
    try { process.kill(-this.child.pid, 'SIGTERM'); } catch (e) { this.child.kill('SIGTERM'); }
    await exited;
    await sleep(200);
    // Chromium's helper processes may still be writing their last files.
    try {
      fs.rmSync(this.profile, { recursive: true, force: true, maxRetries: 10, retryDelay: 100 });
    } catch (error) {
      console.log(`(left ${this.profile}: ${error.code})`);
    }
  }
}

// A page expression giving the cells of #screen-text (cols x rows) that are
// not blank but have no pixel other than the background in their box on
// #canvas, as "x,y c".
export function uninkedCells(cols, rows) {
  return `(() => {
    const text = document.getElementById('screen-text').textContent.split('\\n');
    const canvas = document.getElementById('canvas');
    const pixels = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
    const cw = canvas.width / ${cols}, ch = canvas.height / ${rows}, missing = [];
    for (let y = 0; y < ${rows}; y++) for (let x = 0; x < ${cols}; x++) {
      if ((text[y][x] || ' ') === ' ') continue;
      let inked = false;
      const x0 = Math.max(0, Math.floor((x - 0.1) * cw)), x1 = Math.min(canvas.width, Math.ceil((x + 0.9) * cw));
      const y0 = Math.max(0, Math.floor((y + 0.2) * ch)), y1 = Math.min(canvas.height, Math.ceil((y + 1.2) * ch));
      for (let py = y0; py < y1 && !inked; py++) for (let px = x0; px < x1 && !inked; px++) {
        const i = (py * canvas.width + px) * 4;
        inked = pixels[i] + pixels[i + 1] + pixels[i + 2] > 60;
      }
      if (!inked) missing.push(x + ',' + y + ' ' + text[y][x]);
    }
    return missing;
  })()`;
}

// Runs named cases one after another, each with a fresh browser, and prints
// one line per case and the summary line; the exit status is 1 when any
// failed.
export async function runCases(cases) {
  let passed = 0, failed = 0;
  for (const [name, body] of Object.entries(cases)) {
    const started = Date.now();
    let browser = null;
    try {
      browser = await Browser.launch();
      await body(browser);
      passed++;
      console.log(`ok   ${name} (${Date.now() - started} ms)`);
    } catch (error) {
      failed++;
      console.log(`FAIL ${name}: ${error.stack || error}`);
    } finally {
      if (browser) await browser.close();
    }
  }
  console.log(`${passed} passed, ${failed} failed`);
  process.exitCode = failed === 0 ? 0 : 1;
}
