// The playground in headless Chromium, served on 127.0.0.1 as
// scripts/playground serves it: its size, how long a first and a return
// visit take to become ready (Run enabled: the compiler compiled) and to the
// first picture of a Run pressed then, the time from Run to the first frame of hello
// and starsnow (the median of five Runs, with its compile, link and start;
// also as a browser without promise integration runs them, with Asyncify),
// and how long a program's Worker takes to end after Stop.
// bench/playground.sh builds the playground and runs this.
import fs from 'node:fs';
import path from 'node:path';
import { launch, pages_dir, serve_playground } from '../tests/web/page.mjs';

const site = path.join(pages_dir, 'playground');
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const minutes = 600000;

function folder_bytes(dir) {
  let total = 0;
  for (const entry of fs.readdirSync(dir, { withFileTypes: true })) {
    const file = path.join(dir, entry.name);
    total += entry.isDirectory() ? folder_bytes(file) : fs.statSync(file).size;
  }
  return total;
}

async function ready_after(browser, address, query = '') {
  const page = await browser.newPage();
  await page.setViewport({ width: 1400, height: 1000 });
  const t0 = Date.now();
  await page.goto(`${address}${query}#example=hello`);
  await page.waitForFunction(() => window.playground && window.playground.frames > 0, { timeout: minutes, polling: 20 });
  const first_frame = Date.now() - t0;
  return { page, ms: Math.round(await page.evaluate(() => window.playground.ready_at)), first_frame };
}

// Runs the program shown `times` times; each Run's first frame and its parts.
async function runs(page, example, times) {
  await page.select('#examples', example);
  const out = [];
  for (let i = 0; i < times; ++i) {
    const before = await page.evaluate(() => window.playground.runs);
    await page.click('#run');
    await page.waitForFunction((n) => window.playground.runs > n && window.playground.frames > 0,
      { timeout: minutes, polling: 5 }, before);
    out.push(await page.evaluate(() => ({ first: window.playground.first_frame, ...window.playground.times })));
  }
  await page.click('#stop');
  return out;
}

async function stop_ms(page, source) {
  await page.evaluate((s) => document.querySelector('.CodeMirror').CodeMirror.setValue(s), source);
  await page.click('#run');
  await page.waitForFunction(() => window.playground.running, { timeout: minutes });
  await new Promise((r) => setTimeout(r, 500));
  const gone = new Promise((resolve) => page.on('workerdestroyed', (w) => { if (w.url().includes('runner')) resolve(); }));
  const t0 = Date.now();
  await page.click('#stop');
  await gone;
  return Date.now() - t0;
}

const server = await serve_playground();
const chromium = await launch();
const first = await ready_after(chromium.browser, server.address);
// The service worker keeps the folder once it is installed.
await first.page.evaluate(() => navigator.serviceWorker.ready);
await first.page.waitForFunction(() => navigator.serviceWorker.controller, { timeout: minutes });
await first.page.close();
const second = await ready_after(chromium.browser, server.address);
const { page } = second;

console.log(`Size: ${(folder_bytes(site) / 1e6).toFixed(1)} MB in all, of which the compiler ` +
  `${(folder_bytes(path.join(site, 'clang')) / 1e6).toFixed(1)} MB and the library with its headers ` +
  `${(fs.statSync(path.join(site, 'kavex-files.json')).size / 1e3).toFixed(0)} KB.`);
console.log(`Ready to Run: ${(first.ms / 1000).toFixed(1)} s on the first visit (an empty cache), ` +
  `${(second.ms / 1000).toFixed(1)} s on a return visit; from opening a link to hello to its first picture: ` +
  `${(first.first_frame / 1000).toFixed(1)} s and ${(second.first_frame / 1000).toFixed(1)} s.\n`);
console.log('| program | Run to first frame | compile | link | Asyncify | start |\n|---|---:|---:|---:|---:|---:|');
async function table_rows(on, label) {
  for (const example of ['hello', 'starsnow']) {
    const measured = await runs(on, example, 5);
    const m = (key) => `${median(measured.map((r) => r[key])).toFixed(0)} ms`;
    console.log(`| ${example}${label} | ${m('first')} | ${m('compile')} | ${m('link')} | ${m('asyncify')} | ${m('start')} |`);
    console.error(example, label, JSON.stringify(measured));
  }
}
await table_rows(page, '');
// As a browser without promise integration runs them: rewritten by Asyncify.
const without = await ready_after(chromium.browser, server.address, '?asyncify');
await table_rows(without.page, ' (Asyncify)');
await without.page.close();
const spinning = await stop_ms(page, 'int main() {\n    volatile unsigned n = 0;\n    for (;;) ++n;\n}\n');
const waiting = await stop_ms(page, (await page.evaluate(() => fetch('examples.json').then((r) => r.json())))
  .find((e) => e.name === 'starsnow').source);
console.log(`\nStop to the program's Worker gone: ${spinning} ms for a program that never waits, ${waiting} ms for starsnow.`);
await chromium.close();
server.stop();
