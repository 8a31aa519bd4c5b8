// The pages in headless Chromium: each page's size, the time from opening it
// to its first frame, and how many flakes each snowfall moves at 25 frames a
// second, and what a waiting page costs. bench/web_capacity.sh builds the
// pages and runs this.
//
// Capacity as for the desktop (bench/snow_capacity.sh): space presses bring
// each count of flakes, then over three seconds the page's refreshes and the
// time its main thread was busy (Chromium's TaskDuration, which holds the
// program's WebAssembly) are counted. A frame holds the 40 ms period while
// that time stays under 40 ms.
import fs from 'node:fs';
import path from 'node:path';
import { launch, open_page, pages_dir } from '../tests/web/page.mjs';

const sleep = (ms) => new Promise((r) => setTimeout(r, ms));

// Many space presses at once, as the browser delivers a key typed: its
// keydown, keypress and keyup. Waits until the program has taken them.
async function press_space(p, times) {
  await p.page.evaluate((n) => {
    const c = document.getElementById('canvas');
    const send = (type, fields) => {
      const e = new KeyboardEvent(type, { bubbles: true, cancelable: true });
      for (const [k, v] of Object.entries(fields)) Object.defineProperty(e, k, { get: () => v });
      c.dispatchEvent(e);
    };
    for (let i = 0; i < n; ++i) {
      send('keydown', { keyCode: 32, which: 32, key: ' ' });
      send('keypress', { keyCode: 32, which: 32, charCode: 32, key: ' ' });
      send('keyup', { keyCode: 32, which: 32, key: ' ' });
    }
  }, times);
  await p.page.waitForFunction(() => SDL.events.length === 0, { timeout: 600000, polling: 50 });
}

async function busy_seconds(p) {
  return (await p.page.metrics()).TaskDuration;
}

async function capacity(browser, name, start, per_press, counts) {
  const p = await open_page(name, { browser });
  await p.move_pointer(200, 200);
  let flakes = start;
  const rows = [];
  for (const count of counts) {
    const presses = Math.ceil((count - flakes) / per_press);
    for (let done = 0; done < presses; done += 1000) await press_space(p, Math.min(1000, presses - done));
    flakes += presses * per_press;
    await sleep(1000);  // the backlog of ticks is gone
    const frames0 = await p.frames();
    const busy0 = await busy_seconds(p);
    const t0 = Date.now();
    await sleep(3000);
    const frames = (await p.frames()) - frames0;
    const busy = (await busy_seconds(p)) - busy0;
    const seconds = (Date.now() - t0) / 1000;
    rows.push({ flakes, fps: frames / seconds, ms: (1000 * busy) / Math.max(frames, 1) });
    console.error(`${name} ${flakes}: ${(frames / seconds).toFixed(1)} frames/s, ${rows.at(-1).ms.toFixed(1)} ms/frame`);
  }
  await p.close();
  // A straight line through the busy times per frame; where it crosses 40 ms.
  const n = rows.length;
  const mx = rows.reduce((s, r) => s + r.flakes, 0) / n;
  const my = rows.reduce((s, r) => s + r.ms, 0) / n;
  const slope = rows.reduce((s, r) => s + (r.flakes - mx) * (r.ms - my), 0) / rows.reduce((s, r) => s + (r.flakes - mx) ** 2, 0);
  const base = my - slope * mx;
  return { rows, ns_per_flake: slope * 1e6, base_ms: base, at_25: (40 - base) / slope };
}

// The share of a core a page's main thread takes while the program waits:
// hello waits for nothing, events for its one-second timer.
async function idle_percent(browser, name) {
  const p = await open_page(name, { browser });
  await sleep(1000);
  const before = await busy_seconds(p);
  await sleep(5000);
  const percent = ((await busy_seconds(p)) - before) / 5 * 100;
  await p.close();
  return percent;
}

async function first_frame_ms(browser, name, runs) {
  const times = [];
  for (let i = 0; i < runs; ++i) {
    const p = await open_page(name, { browser });
    // A program that opens no window (fontsheet writes a file) shows no frame.
    const shown = await p.page.waitForFunction(() => Module.kavexFrames >= 1, { timeout: 5000 }).then(() => true, () => false);
    if (shown) times.push(await p.page.evaluate(() => Module.kavexFirstFrame));
    await p.close();
    if (!shown) return null;
  }
  times.sort((a, b) => a - b);
  return times[Math.floor(times.length / 2)];
}

const chromium = await launch({ protocolTimeout: 600000 });
// The project's programs: the two snowfalls and every example.
const examples = fs.readdirSync(new URL('../examples', import.meta.url)).filter((f) => f.endsWith('.cpp'));
const pages = ['starsnow', 'dotsnow', ...examples.map((f) => path.basename(f, '.cpp')).sort()].map((n) => `${n}.html`);
console.log('| page | size | first frame (median of 5) |\n|---|---:|---:|');
for (const file of pages) {
  const name = path.basename(file, '.html');
  const kb = fs.statSync(path.join(pages_dir, file)).size / 1024;
  const first = await first_frame_ms(chromium.browser, name, 5);
  console.log(`| ${name} | ${kb.toFixed(0)} KB | ${first === null ? 'no window' : `${first.toFixed(0)} ms`} |`);
}
console.log('\n| waiting page | main thread busy |\n|---|---:|');
for (const name of ['hello', 'events']) console.log(`| ${name} | ${(await idle_percent(chromium.browser, name)).toFixed(2)} % of a core |`);
for (const [name, start, per_press, counts] of [
  ['dotsnow', 400, 100, [1000, 10000, 100000, 300000, 500000, 1000000]],
  ['starsnow', 100, 10, [1000, 10000, 30000, 50000, 100000]],
]) {
  const c = await capacity(chromium.browser, name, start, per_press, counts);
  console.log(`\n${name}:\n\n| flakes | frames/s | busy ms/frame |\n|---:|---:|---:|`);
  for (const r of c.rows) console.log(`| ${r.flakes.toLocaleString('en')} | ${r.fps.toFixed(1)} | ${r.ms.toFixed(1)} |`);
  console.log(`\nLine through the points: ${c.ns_per_flake.toFixed(0)} ns per flake and frame, ${c.base_ms.toFixed(1)} ms besides: 25 frames a second up to about ${Math.round(c.at_25).toLocaleString('en')} flakes`);
}
await chromium.close();
