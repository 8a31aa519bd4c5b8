// Test helpers: the built pages in headless Chromium, opened from disk.
//
//   const p = await open_page('starsnow');    // starsnow.html in the pages' folder
//   const frame = await p.next_frame();       // { width, height, at(x, y) }
//   await p.close();                          // fails the test on a page error or an abort
//
// KAVEX_WEB_PAGES names the folder of the pages, the web build's
// (scripts/test-web sets it).
import assert from 'node:assert/strict';
import { spawn } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';
import puppeteer from 'puppeteer-core';

const here = path.dirname(fileURLToPath(import.meta.url));
export const pages_dir = process.env.KAVEX_WEB_PAGES;
if (!pages_dir) throw new Error('KAVEX_WEB_PAGES must name the folder of the built pages, as scripts/test-web does');

// Generous: no verdict may depend on how fast the machine is.
export const patience = 20000;

// This machine's network is closed: nothing may try to reach it.
const chromium_args = [
  '--no-sandbox', '--disable-gpu', '--disable-background-timer-throttling',
  '--disable-background-networking', '--disable-component-update', '--disable-sync',
  '--no-first-run', '--disable-quic', '--disable-renderer-backgrounding',
  '--disable-backgrounding-occluded-windows',
];

// Every browser still open. A test that fails before it closes its own must
// not keep its file's process alive, which would hang the whole run: under
// the test runner, what is left open is closed once the file's tests end.
const open_browsers = new Set();
if (process.env.NODE_TEST_CONTEXT) {
  const { after } = await import('node:test');
  after(async () => { for (const b of [...open_browsers]) await b.close(); });
}

export async function launch(options = {}) {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'kavex-chromium-'));
  const browser = await puppeteer.launch({
    executablePath: process.env.KAVEX_CHROMIUM || '/usr/bin/chromium',
    headless: true,
    userDataDir: profile,
    args: chromium_args,
    ...options,
  });
  const launched = {
    browser,
    async close() {
      open_browsers.delete(launched);
      await browser.close();
      fs.rmSync(profile, { recursive: true, force: true });
    },
  };
  open_browsers.add(launched);
  return launched;
}

// A picture read from the page: 0x00RRGGBB words, row by row.
export function picture(width, height, pixels) {
  return {
    width, height, pixels,
    at(x, y) { return pixels[y * width + x]; },
    count(value) { let n = 0; for (const p of pixels) n += p === value; return n; },
  };
}

export async function open_page(name, { browser } = {}) {
  const file = path.join(pages_dir, `${name}.html`);
  assert.ok(fs.existsSync(file), `${file} is not built`);
  const p = await watched_page(browser, pathToFileURL(file).href, {
    frames: 'typeof Module === "object" && Module.kavexFrames | 0',
    aborted: '!document.getElementById("problem").hidden || (typeof ABORT !== "undefined" && ABORT)',
  });
  await p.page.waitForFunction(() => typeof Module === 'object' && Module.calledRun, { timeout: patience });
  return p;
}

// A page whose program's refreshes `frames` counts, and whose failure
// `aborted` tells (expressions in the page); its lines are what it logs, or
// the lines of the text that `printed` gives.
async function watched_page(browser, url, { frames: count, aborted, printed, viewport, before_load }) {
  const own = browser ? null : await launch();
  const b = browser || own.browser;
  const page = await b.newPage();
  if (viewport) await page.setViewport(viewport);
  if (before_load) await page.evaluateOnNewDocument(before_load);
  const problems = [];
  const lines = [];
  page.on('pageerror', (e) => problems.push(`page error: ${e.message}`));
  page.on('console', (m) => {
    if (m.type() === 'log') lines.push(m.text());
    if (m.type() === 'error') problems.push(`console error: ${m.text()}`);
  });
  const opened = Date.now();
  await page.goto(url);

  const frames = () => page.evaluate(count);

  const p = {
    page, lines, problems, opened,
    frames,
    // The canvas's picture now.
    // The picture's `frame` is the count of refreshes it shows, read with it.
    async grab() {
      const { width, height, data, frame } = await page.evaluate(`(() => {
        const c = document.getElementById('canvas');
        const rgba = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;
        let s = '';
        for (let i = 0; i < rgba.length; i += 0x8000) s += String.fromCharCode.apply(null, rgba.subarray(i, i + 0x8000));
        return { width: c.width, height: c.height, data: btoa(s), frame: (${count}) };
      })()`);
      const rgba = Buffer.from(data, 'base64');
      const pixels = new Array(width * height);
      for (let i = 0; i < pixels.length; ++i) pixels[i] = (rgba[4 * i] << 16) | (rgba[4 * i + 1] << 8) | rgba[4 * i + 2];
      return Object.assign(picture(width, height, pixels), { frame });
    },
    // Waits for the program's next refresh, then reads the picture.
    async next_frame() {
      return p.frame_from((await frames()) + 1);
    },
    // Waits until the program has refreshed `n` times, then reads the picture.
    async frame_from(n) {
      await page.waitForFunction(`(${count}) >= ${n}`, { timeout: patience, polling: 5 });
      return p.grab();
    },
    // The canvas's top-left corner in the page.
    async origin() {
      const box = await (await page.$('#canvas')).boundingBox();
      return { x: box.x, y: box.y };
    },
    async move_pointer(x, y) {
      const o = await p.origin();
      await page.mouse.move(o.x + x + 0.5, o.y + y + 0.5);
    },
    async click(x, y) {
      const o = await p.origin();
      await page.mouse.click(o.x + x + 0.5, o.y + y + 0.5);
    },
    // Waits until the program has printed `count` lines that `keep` accepts.
    async wait_for_lines(count, keep = () => true) {
      const deadline = Date.now() + patience;
      for (;;) {
        if (printed) lines.splice(0, lines.length, ...(await page.evaluate(printed)).split('\n').filter(Boolean));
        if (lines.filter(keep).length >= count || Date.now() >= deadline) return lines.filter(keep);
        await new Promise((r) => setTimeout(r, 20));
      }
    },
    async aborted() {
      return page.evaluate(aborted);
    },
    // Closes the page; a page error or an abort fails the test.
    async close() {
      const failed = await p.aborted();
      await page.close();
      if (own) await own.close();
      assert.deepEqual(problems, [], 'no page error');
      assert.equal(failed, false, 'no abort');
    },
  };
  return p;
}

// The playground served at `site` (scripts/playground's address), opened
// with `fragment` (code=..., example=NAME). What the program prints is its
// lines, as the pages log theirs.
// `viewport` (puppeteer's) is a phone's, say; the editor and the picture
// side by side by default.
export async function open_playground(site, fragment, { browser, viewport = { width: 1400, height: 1000 }, before_load } = {}) {
  const p = await watched_page(browser, `${site}#${fragment}`, {
    before_load,
    frames: 'window.playground ? window.playground.frames : 0',
    aborted: 'false',  // a program's crash is the page's news, not its failure
    printed: 'window.playground ? window.playground.printed : ""',
    viewport,
  });
  return p;
}

// Serves the pages' playground/ on 127.0.0.1, as scripts/playground does; its address.
export async function serve_playground() {
  const server = spawn(process.execPath, [path.join(here, '..', '..', 'web', 'playground', 'serve.mjs'),
    path.join(pages_dir, 'playground'), '0'], { stdio: ['ignore', 'pipe', 'inherit'] });
  const address = await new Promise((resolve, reject) => {
    let said = '';
    server.stdout.on('data', (d) => {
      said += d;
      const found = said.match(/http:\/\/127\.0\.0\.1:\d+\//);
      if (found) resolve(found[0]);
    });
    server.on('exit', () => reject(new Error(`the playground's server ended: ${said}`)));
  });
  const stopped = new Promise((resolve) => server.on('exit', resolve));
  return { address, stop: () => server.kill(), stopped };
}

// A binary PPM, as tests/web/desktop_picture writes it.
export function read_ppm(file) {
  const bytes = fs.readFileSync(file);
  const header = bytes.subarray(0, 64).toString('latin1').match(/^P6\s+(\d+)\s+(\d+)\s+255\s/);
  assert.ok(header, `${file} is no binary PPM`);
  const [whole, w, h] = header;
  const width = Number(w), height = Number(h);
  const pixels = new Array(width * height);
  for (let i = 0, p = whole.length; i < pixels.length; ++i, p += 3) pixels[i] = (bytes[p] << 16) | (bytes[p + 1] << 8) | bytes[p + 2];
  return picture(width, height, pixels);
}

// Sets of 8-connected pixels of one value, with their bounds and centres.
export function blobs(img, value) {
  const out = [];
  const seen = new Uint8Array(img.width * img.height);
  for (let y0 = 0; y0 < img.height; ++y0) {
    for (let x0 = 0; x0 < img.width; ++x0) {
      const i0 = y0 * img.width + x0;
      if (seen[i0] || img.pixels[i0] !== value) continue;
      const b = { pixels: 0, min_x: x0, max_x: x0, min_y: y0, max_y: y0, cx: 0, cy: 0 };
      const stack = [[x0, y0]];
      seen[i0] = 1;
      while (stack.length) {
        const [x, y] = stack.pop();
        ++b.pixels;
        b.cx += x;
        b.cy += y;
        b.min_x = Math.min(b.min_x, x); b.max_x = Math.max(b.max_x, x);
        b.min_y = Math.min(b.min_y, y); b.max_y = Math.max(b.max_y, y);
        for (let ny = y - 1; ny <= y + 1; ++ny) {
          for (let nx = x - 1; nx <= x + 1; ++nx) {
            if (nx < 0 || ny < 0 || nx >= img.width || ny >= img.height) continue;
            const i = ny * img.width + nx;
            if (seen[i] || img.pixels[i] !== value) continue;
            seen[i] = 1;
            stack.push([nx, ny]);
          }
        }
      }
      b.cx /= b.pixels;
      b.cy /= b.pixels;
      out.push(b);
    }
  }
  return out;
}

// The mean sideways step from each blob after to its nearest blob before,
// within `reach`, on a field that wraps sideways.
export function mean_drift(before, after, width, reach) {
  let sum = 0;
  let pairs = 0;
  for (const a of after) {
    let best = Infinity;
    let best_dx = 0;
    for (const b of before) {
      let dx = a.cx - b.cx;
      if (dx > width / 2) dx -= width;
      if (dx < -width / 2) dx += width;
      const dy = a.cy - b.cy;
      if (Math.abs(dx) > reach || dy < -2 || dy > reach) continue;
      const d = dx * dx + dy * dy;
      if (d < best) { best = d; best_dx = dx; }
    }
    if (best < Infinity) { sum += best_dx; ++pairs; }
  }
  return pairs ? sum / pairs : 0;
}

// Headless Chromium counts every page as clicked already; a browser keeps a
// page silent until its visitor's first click or key. Given as `before_load`,
// this makes the page see what a browser would.
export function silent_until_first_click() {
  let active = false;
  for (const type of ['pointerdown', 'keydown']) addEventListener(type, (e) => { if (e.isTrusted) active = true; }, true);
  Object.defineProperty(Navigator.prototype, 'userActivation', { get: () => ({ hasBeenActive: active, isActive: active }) });
}

// What the page sends to its speakers, from now on: every node that the page
// connects to an audio output also feeds a tap, which keeps the left channel's
// samples. The page's AudioContext must not have been made yet.
export async function listen_to_sound(page) {
  await page.evaluate(() => {
    const connect = AudioNode.prototype.connect;
    window.kavexHeard = { rate: 0, samples: [] };
    AudioNode.prototype.connect = function (target, ...rest) {
      if (target instanceof AudioDestinationNode && !this.kavexIsTap) {
        const context = this.context;
        if (!context.kavexTap) {
          const tap = context.createScriptProcessor(4096, 2, 2);
          tap.kavexIsTap = true;
          tap.onaudioprocess = (e) => { for (const s of e.inputBuffer.getChannelData(0)) window.kavexHeard.samples.push(s); };
          connect.call(tap, context.destination);
          context.kavexTap = tap;
          window.kavexHeard.rate = context.sampleRate;
        }
        connect.call(this, context.kavexTap);
      }
      return connect.call(this, target, ...rest);
    };
  });
}

// The first sound the tap hears, once half a second of silence follows it:
// its length in seconds and its frequency in Hz; null if none has come within
// the patience. A busy machine may starve the output for a moment, and the
// rest of the sound plays late rather than never: gaps of silence are left
// out of the length, and the frequency comes from the half periods between
// zero crossings near their median, which a gap's one long interval or a cut
// wave's short one do not move.
async function heard_tone(page) {
  const deadline = Date.now() + patience;
  for (;;) {
    const tone = await tone_so_far(page);
    if (tone || Date.now() > deadline) return tone;
    await new Promise((r) => setTimeout(r, 100));
  }
}

// Asserts that the page sounded a tone of that length and frequency, within
// 20 ms and `hz_within` Hz.
export async function assert_tone(page, { seconds, hz, hz_within }) {
  const tone = await heard_tone(page);
  assert.ok(tone, 'a tone was heard');
  assert.ok(Math.abs(tone.seconds - seconds) < 0.02, `${seconds * 1000} ms long: ${tone.seconds}`);
  assert.ok(Math.abs(tone.hz - hz) < hz_within, `at ${hz} Hz: ${tone.hz}`);
}

function tone_so_far(page) {
  return page.evaluate(() => {
    const { rate, samples } = window.kavexHeard;
    const sounding = (s) => Math.abs(s) > 0.01;
    const first = samples.findIndex(sounding);
    if (first < 0) return null;
    let start = first, last = first, sounded = 0;
    const crossings = [];
    for (let i = first + 1; i < samples.length && i - last < rate / 2; ++i) {
      if (!sounding(samples[i])) continue;
      if (i - last > rate / 50) {  // a gap: the stretch before it ends at its last sample
        sounded += last - start;
        start = i;
      } else {
        for (let j = last + 1; j <= i; ++j) if ((samples[j - 1] < 0) !== (samples[j] < 0)) crossings.push(j);
      }
      last = i;
    }
    if (samples.length - last < rate / 2) return null;  // not over yet
    const halves = crossings.slice(1).map((c, k) => c - crossings[k]);
    const median = [...halves].sort((a, b) => a - b)[halves.length >> 1];
    const near = halves.filter((h) => Math.abs(h - median) <= median / 4);
    const half_period = near.reduce((sum, h) => sum + h, 0) / near.length;
    return { seconds: (sounded + last - start) / rate, hz: rate / (2 * half_period) };
  });
}
