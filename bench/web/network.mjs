// The page-to-host round trip: a page (bench-site/echo.html) joins a native
// echo host (bench_echo_host) over 127.0.0.1 through the network manager and
// bounces a 64-byte whole message off it; printed beside the native
// WebSocket and TCP round trips of bench_network, measured in the same run,
// as a ratio to the native WebSocket one.
//   node --experimental-websocket bench/web/network.mjs SITE_FOLDER NATIVE_BENCH_BIN
import { execFileSync, spawn } from 'node:child_process';
import path from 'node:path';
import { Browser } from '../../tests/web/browser.mjs';
import { serve } from '../../tools/web-serve.mjs';

const [site, binArgument] = process.argv.slice(2);
const bin = path.resolve(binArgument);
const ROUNDS = 2000;
const benchSite = path.join(site, '..', 'bench-site');
const extras = {};
for (const name of ['echo.html', 'echo.js', 'echo.wasm']) extras['/' + name] = path.join(benchSite, name);
const server = await serve(site, 0, extras);
const base = `http://127.0.0.1:${server.address().port}`;

// Microseconds per round trip of one native benchmark of bench_network.
function nativeRoundTrip(name) {
  const out = execFileSync(path.join(bin, 'bench_network'), [`--benchmark_filter=${name}$`],
                           { encoding: 'utf8', stdio: ['ignore', 'pipe', 'ignore'] }).replace(/\x1b\[[0-9;]*m/g, '');  // no colours
  return Number(out.match(new RegExp(`${name}\\s+([\\d.]+) us`))[1]);
}

async function pageRoundTrip() {
  const host = spawn(path.join(bin, 'bench_echo_host'), [], { cwd: bin });
  const port = await new Promise((resolve, reject) => {
    let said = '';
    host.stdout.on('data', (chunk) => {
      said += chunk;
      const found = said.match(/echoing on port (\d+)/);
      if (found) resolve(found[1]);
    });
    host.once('exit', () => reject(new Error('the echo host ended: ' + said)));
  });
  const browser = await Browser.launch();
  try {
    await browser.open(`${base}/echo.html?arg=127.0.0.1&arg=${port}`);
    await browser.waitFor(`Module.echoReady`, 10000, 'the page to join the host');
    if (await browser.evaluate(`Module.echoReady`) !== 1) throw new Error('the page could not join');
    return await browser.evaluate(`new Promise((resolve, reject) => {
      const started = performance.now();
      Module.websocket.on('message', () => {
        const done = Module._echoReceived(${ROUNDS});
        if (done < 0) reject(new Error('the connection was lost'));
        if (done >= ${ROUNDS}) resolve((performance.now() - started) * 1000 / done);
      });
      Module._echoStart();
    })`);
  } finally {
    await browser.close();
    host.kill();
  }
}

const tcp = nativeRoundTrip('BM_RoundTripTcp');
const websocket = nativeRoundTrip('BM_RoundTripWebSocket');
const page = await pageRoundTrip();
console.log('64-byte round trip over loopback to a native host:');
console.log(`  native TCP peer        ${tcp.toFixed(1)} us`);
console.log(`  native WebSocket peer  ${websocket.toFixed(1)} us`);
console.log(`  page peer (WebSocket)  ${page.toFixed(1)} us over ${ROUNDS} round trips, ` +
            `${(page / websocket).toFixed(2)} x the native WebSocket peer`);
server.close();
