// The playground (playground/ in the pages' folder, served as scripts/playground serves
// it): programs compiled in the page draw the desktop's pictures, take the
// desktop's input, print, and cannot take the page with them.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import { execFileSync } from 'node:child_process';
import { after, before, describe, test } from 'node:test';
import { expect_desktop_records } from './event_script.mjs';
import { assert_tone, blobs, launch, listen_to_sound, open_playground, pages_dir, patience, read_ppm, serve_playground, silent_until_first_click } from './page.mjs';

const root = path.join(path.dirname(new URL(import.meta.url).pathname), '..', '..');
// The first Run of a visit fetches and compiles the compiler: generous.
const compiler_patience = 300000;

let chromium;
let server;
before(async () => {
  server = await serve_playground();
  chromium = await launch();
});
after(async () => {
  await chromium.close();
  server.stop();
});

const as_code = (source) => `code=${Buffer.from(source, 'utf8').toString('base64url')}`;

async function open(fragment, query = '', options = {}) {
  return open_playground(`${server.address}${query}`, fragment, { browser: chromium.browser, ...options });
}

// Until the Run ended at the compiler or showed a first picture.
async function compiled(p) {
  await p.page.waitForFunction(() => window.playground.failed || window.playground.frames > 0,
    { timeout: compiler_patience, polling: 50 });
  return p.page.evaluate(() => window.playground);
}

describe('the playground', () => {
  test('a #code= link to hello shows the desktop hello picture pixel for pixel', async () => {
    const source = fs.readFileSync(path.join(root, 'examples', 'hello.cpp'), 'utf8');
    const p = await open(as_code(source));
    const state = await compiled(p);
    assert.equal(state.failed, false, state.printed);
    const desktop = read_ppm(path.join(pages_dir, 'desktop', 'hello.ppm'));
    const shown = await p.grab();
    assert.deepEqual([shown.width, shown.height], [desktop.width, desktop.height]);
    const differing = shown.pixels.filter((v, i) => v !== desktop.pixels[i]).length;
    assert.equal(differing, 0, 'pixels that differ from the desktop hello');
    await p.close();
  });

  test('#example=starsnow runs: its border, falling flakes, and space adds flakes', async () => {
    const p = await open('example=starsnow');
    await compiled(p);
    const white_pixels = (img) => img.pixels.filter((v) => v === 0xffffff).length;
    let img = await p.next_frame();
    assert.equal(img.at(0, 0), 0x000032, 'the border');
    assert.equal(img.at(399, 399), 0x000032, 'the border');
    // Each flake of a later frame, beside its nearest flake of one 4 to 12
    // refreshes before: a flake moves -1 to 3 pixels a refresh, so one refresh
    // alone is too close to call, and many blur which flake is which.
    let older = img;
    for (let tries = 0; tries < 50 && (img === older || img.frame > older.frame + 12); ++tries) {
      older = img;
      img = await p.frame_from(older.frame + 4);
    }
    const earlier = blobs(older, 0xffffff);
    let down = 0, up = 0;
    for (const f of blobs(img, 0xffffff)) {
      const near = earlier.reduce((best, e) => (Math.hypot(e.cx - f.cx, e.cy - f.cy) < Math.hypot(best.cx - f.cx, best.cy - f.cy) ? e : best));
      if (f.cy > near.cy) ++down;
      if (f.cy < near.cy) ++up;
    }
    assert.ok(down > 2 * up, `the flakes fall: ${down} went down, ${up} up`);
    const before_space = white_pixels(img);
    await p.click(200, 200);
    await p.page.keyboard.press('Space');
    let more = false;
    for (let i = 0; i < 50 && !more; ++i) more = white_pixels(await p.next_frame()) > before_space + 50;
    assert.ok(more, 'space adds flakes');
    await p.close();
  });

  test('a syntax error shows the compiler message with its line, a link to it, and draws nothing; at 1280 x 800 it is in view, the notes about the headers folded', async () => {
    const p = await open_playground(server.address, as_code('#include "graphics.hpp"\nusing namespace kavex;\nint main() {\n    gout.open(200, 100)\n    gout << 5;\n}\n'),
      { browser: chromium.browser, viewport: { width: 1280, height: 800 } });
    const state = await compiled(p);
    const seen = await p.page.evaluate(() => {
      const [error, panel] = [document.querySelector('#output a.error'), document.getElementById('output')].map((e) => e.getBoundingClientRect());
      const notes = document.querySelector('#output details.notes');
      return { inside: error.top >= panel.top && error.bottom <= panel.bottom && panel.bottom <= innerHeight,
        folded: !notes.open && notes.querySelectorAll('.note').length };
    });
    assert.ok(seen.inside, 'the first error inside the panel, the panel inside the window');
    assert.ok(seen.folded >= 2, 'the notes about the headers folded');
    assert.equal(state.failed, true);
    assert.match(state.printed, /main\.cpp:4:\d+: error: expected ';'/);
    const line = await p.page.$eval('#output a.error', (a) => a.dataset.line);
    assert.equal(line, '4');
    await p.page.click('#output a.error');
    const cursor = await p.page.evaluate(() => document.querySelector('.CodeMirror').CodeMirror.getCursor().line);
    assert.equal(cursor, 3, 'the click puts the cursor on line 4');
    const shown = await p.grab();
    assert.equal(shown.pixels.filter((v) => v !== 0).length, 0, 'nothing drawn');
    await p.close();
  });

  test('printf output, explanations, the pictures to load and a saved file as a download', async () => {
    const p = await open(as_code([
      '#include "graphics.hpp"', '#include <cstdio>', 'using namespace kavex;',
      'int main() {', '    std::printf("sum: %d\\n", 40 + 2);', '    gout << move_abs(0, 0);',
      '    canvas face, none;', '    const bool found = face.load("pictures/face.png");',
      '    std::printf("loaded: %d %d\\n", found, none.load("pictures/none.png"));',
      '    std::printf("saved: %d\\n", face.save("face.bmp"));', '    return 3;', '}', '',
    ].join('\n')));
    await p.page.waitForFunction(() => window.playground.ended !== null, { timeout: compiler_patience });
    const lines = await p.wait_for_lines(4, (l) => /^(sum|loaded|saved):/.test(l) || l.startsWith('kavex: '));
    assert.ok(lines.includes('sum: 42'), lines.join('\n'));
    assert.ok(lines.includes('loaded: 1 0'), lines.join('\n'));
    assert.ok(lines.includes('saved: 1'), lines.join('\n'));
    assert.ok(lines.some((l) => /^kavex: .*open/.test(l)), 'an explanation of drawing before open');
    await p.page.waitForFunction(() => document.querySelectorAll('#output a.explained-line').length >= 2, { timeout: patience });
    const named = await p.page.$$eval('#output a.explained-line', (links) => links.map((a) => a.dataset.line));
    assert.deepEqual(named.slice(0, 2), ['6', '9'], 'the explanations name the lines that led to them');
    assert.ok(lines.some((l) => /^kavex: load\("pictures\/none.png"\)/.test(l)), 'an explanation of the missing file');
    assert.equal(await p.page.evaluate(() => window.playground.ended), 3, 'the exit status');
    const saved = await p.page.$eval('#downloads a', async (a) => [a.download, [...new Uint8Array(await (await fetch(a.href)).arrayBuffer()).slice(0, 2)]]);
    assert.deepEqual(saved, ['face.bmp', [0x42, 0x4d]], 'a BMP offered as a download');
    await p.close();
  });

  test('a beep is silent before the first click, says why, and after a key the page plays it', async () => {
    const p = await open(as_code([
      '#include "graphics.hpp"', '#include <cstdio>', 'using namespace kavex;',
      'int main() {', '    gout.open(100, 100);', '    gout << refresh;',
      '    std::printf("before a click: %d\\n", beep(440, 200));', '    event ev;',
      '    while (gin.wait_event(ev))', '        if (ev.key == \'b\') std::printf("after a key: %d\\n", beep(440, 200));', '}', '',
    ].join('\n')), '', { before_load: silent_until_first_click });
    const before = await p.wait_for_lines(2, (l) => l.startsWith('before') || l.includes('makes no sound'));
    assert.ok(before.includes('before a click: 0'), before.join('\n'));
    assert.ok(before.some((l) => /^kavex: beep\(\) makes no sound: the page plays sound only after its first click or key/.test(l)), before.join('\n'));
    await listen_to_sound(p.page);
    await p.click(50, 50);
    await p.page.keyboard.press('b');
    await p.wait_for_lines(1, (l) => l === 'after a key: 1');
    await assert_tone(p.page, { seconds: 0.2, hz: 440, hz_within: 8 });
    await p.close();
  });

  test('a program that never waits, printing without end, leaves the page answering, keeps its newest lines, is said to be busy, and Stop ends it', async () => {
    const p = await open(as_code('#include <cstdio>\nint main() {\n    for (long i = 0;; i++) std::printf("line %ld\\n", i);\n}\n'));
    await p.page.waitForFunction(() => window.playground.running || window.playground.failed, { timeout: compiler_patience });
    await p.page.waitForSelector('#busy:not([hidden]) ~ #output .left-out', { timeout: patience });
    const gone = new Promise((resolve) => p.page.on('workerdestroyed', (w) => { if (w.url().includes('runner')) resolve(); }));
    // The page answers, and its editor takes keys, while the program spins.
    await p.page.click('.CodeMirror');
    await p.page.keyboard.type('// still here');
    const text = await p.page.evaluate(() => document.querySelector('.CodeMirror').CodeMirror.getValue());
    assert.match(text, /still here/);
    const kept = (await p.page.evaluate(() => window.playground.printed)).split('\n').filter((l) => l.startsWith('line ')).map((l) => Number(l.slice(5)));
    assert.ok(kept.length > 1000 && kept.length <= 5000 && kept[0] > 0, `the newest of the lines kept: ${kept.length} from ${kept[0]}`);
    assert.ok(kept.every((n, i) => i === 0 || n === kept[i - 1] + 1), 'the kept lines follow each other');
    const stopped_at = Date.now();
    await p.page.click('#stop');
    await gone;
    console.log(`the program's Worker ended ${Date.now() - stopped_at} ms after Stop`);
    assert.equal(await p.page.evaluate(() => window.playground.running), false);
    await p.close();
  });

  test('after one visit the playground opens and runs hello with its server stopped', async () => {
    const own = await serve_playground();
    const first = await open_playground(own.address, '', { browser: chromium.browser });
    await first.page.waitForFunction(() => window.playground.ready, { timeout: compiler_patience });
    await first.page.evaluate(() => navigator.serviceWorker.ready);
    await first.page.waitForFunction(() => navigator.serviceWorker.controller, { timeout: compiler_patience });
    await first.close();
    own.stop();
    await own.stopped;
    const p = await open_playground(own.address, 'example=hello', { browser: chromium.browser });
    await p.page.waitForFunction(() => window.playground.frames > 0 || window.playground.failed, { timeout: compiler_patience });
    const shown = await p.grab();
    assert.ok(shown.count(0x1e3c78) > 10000, 'hello drew its background offline');
    await p.close();
  });

  test('the server answers malformed requests with 400, serves nothing outside its folder, and goes on serving', async () => {
    const status_of = (route) => new Promise((resolve, reject) => {
      http.get(`${server.address.replace(/\/$/, '')}${route}`, (r) => { r.resume(); resolve(r.statusCode); }).on('error', reject);
    });
    for (const bad of ['/%', '/a%00b', '/%E0%A4%A']) assert.equal(await status_of(bad), 400, bad);
    assert.equal(await status_of('/%2e%2e/%2e%2e/%2e%2e/etc/passwd'), 404, 'a file outside the folder');
    assert.equal(await status_of('/index.html'), 200, 'still serving');
  });

  test('a typed program is kept: there after a reload of the plain address, and an example chosen after it does not lose it', async () => {
    const p = await open('example=hello');
    await p.page.waitForFunction(() => window.playground.running || window.playground.failed, { timeout: compiler_patience });
    assert.equal(new URL(p.page.url()).hash, '', 'the address is plain once its program is taken in');
    const marker = `// kept ${Date.now()}`;
    await p.page.click('.CodeMirror');
    await p.page.keyboard.type(`${marker}\n`);
    await p.page.waitForFunction((wanted) => new Promise((resolve) => {
      indexedDB.open('kavex-playground').onsuccess = (e) => {
        e.target.result.transaction('programs').objectStore('programs').getAll().onsuccess = (all) =>
          resolve(all.target.result.some((program) => program.source.includes(wanted)));
      };
    }), { timeout: patience, polling: 100 }, marker);
    // The editor is filled a moment after the page (or a choice) asks: choosing keeps the program first.
    const editor_shows = (wanted) => p.page.waitForFunction((w) =>
      document.querySelector('.CodeMirror')?.CodeMirror.getValue().includes(w), { timeout: patience, polling: 100 }, wanted);
    await p.page.reload();
    await editor_shows(marker);
    await p.page.select('#examples', 'starsnow');
    await editor_shows('pehely');
    const mine = await p.page.$$eval('#programs option', (options) => options.filter((o) => o.textContent.startsWith('hello')).map((o) => o.value));
    await p.page.select('#programs', mine[0]);
    await editor_shows(marker);
    await p.close();
  });

  test('run-time mistakes stop the program with what happened, at the student\'s line', async () => {
    const mistakes = [
      { line: 6, words: /\.at\(\) was given an index outside the vector/,
        source: '#include <vector>\n#include <cstdio>\nint main() {\n    std::vector<int> v{1, 2, 3};\n    std::printf("before\\n");\n    return v.at(5);\n}\n' },
      { line: 6, words: /null pointer/,
        source: 'struct ball { int x, y; };\nball* find(int n) { return n > 100 ? new ball{1, 2} : nullptr; }\n' +
          'int main(int argc, char**) {\n    ball* b = find(argc);\n\n    b->x = 7;\n    return b->y;\n}\n' },
      { line: 3, words: /endless recursion/, source: 'int depth(int n) {\n    if (n < 0) return 0;\n    return depth(n + 1) + 1;\n}\nint main() { return depth(0); }\n' },
    ];
    for (const { line, words, source } of mistakes) {
      const p = await open(as_code(source));
      await p.page.waitForFunction(() => window.playground.mistake || window.playground.ended !== null || window.playground.failed,
        { timeout: compiler_patience, polling: 100 });
      const { mistake, printed } = await p.page.evaluate(() => window.playground);
      assert.ok(mistake, printed);
      assert.equal(mistake.line, line, printed);
      assert.match(mistake.words, words);
      await p.page.click('#output a.mistake');
      const cursor = await p.page.evaluate(() => document.querySelector('.CodeMirror').CodeMirror.getCursor().line);
      assert.equal(cursor, line - 1, 'the click puts the cursor on the line');
      await p.close();
    }
  });

  test('in a Hungarian browser its controls, the explanations and a run-time mistake are in Hungarian, and a language chosen in its menu is kept', async () => {
    const choice = 'kavex-playground-language';
    const hungarian = (forget) => `Object.defineProperty(navigator, 'languages', { get: () => ['hu-HU', 'en'] });
      if (${forget}) localStorage.removeItem('${choice}');`;
    const source = '#include "graphics.hpp"\nusing namespace kavex;\nint main(int argc, char**) {\n    gout << move_abs(5, 5);\n' +
      '    int* none = argc > 5 ? new int(1) : nullptr;\n    return *none;\n}\n';
    const p = await open(as_code(source), '', { before_load: hungarian(true) });
    await p.page.waitForFunction(() => window.playground.mistake, { timeout: compiler_patience, polling: 100 });
    const said = await p.page.evaluate(() => ({
      lang: document.documentElement.lang, run: document.getElementById('run').textContent,
      title: document.getElementById('share').title, status: document.getElementById('status').textContent,
      printed: window.playground.printed, words: window.playground.mistake.words,
    }));
    assert.deepEqual([said.lang, said.run, said.title, said.status],
      ['hu', 'Futtatás', 'Egy hivatkozás, amely itt megnyitja ezt a programot', 'Hiba miatt leállt']);
    assert.match(said.printed, /^kavex: a toll nem mozdulhat el egy vásznon, amelynek nincs rajzfelülete\./m, 'the library explains in Hungarian');
    assert.match(said.printed, /^A program a main\.cpp 6\. sorában leállt: null mutatót használt/m, 'the page names the mistake in Hungarian');
    await p.page.select('#language', 'en');
    assert.equal(await p.page.$eval('#run', (b) => b.textContent), 'Run', 'the menu changes the words at once');
    await p.close();
    const again = await open('', '', { before_load: hungarian(false) });
    assert.equal(await again.page.$eval('#run', (b) => b.textContent), 'Run', 'the choice outlasts the visit');
    await again.page.evaluate((key) => localStorage.removeItem(key), choice);
    await again.close();
  });

  test('on a phone: the picture in view after Run, a finger drag draws without scrolling, and the on-screen keys are the real ones', async () => {
    const paint = '#include "graphics.hpp"\n#include <cstdio>\nusing namespace kavex;\nint main() {\n    gout.open(400, 400);\n' +
      '    gout << refresh;\n    event ev;\n    bool down = false;\n    while (gin.wait_event(ev)) {\n' +
      '        if (ev.key) std::printf("key %d\\n", ev.key);\n        if (ev.button) down = ev.button > 0;\n' +
      '        if (down) gout << use_color(255, 255, 255) << move_abs(ev.mouse_x, ev.mouse_y) << dot << refresh;\n    }\n}\n';
    const p = await open_playground(server.address, as_code(paint),
      { browser: chromium.browser, viewport: { width: 390, height: 844, isMobile: true, hasTouch: true } });
    await p.page.waitForFunction(() => window.playground.frames > 0 || window.playground.failed, { timeout: compiler_patience });
    const seen = await p.page.evaluate(() => {
      const [picture, editor] = [document.getElementById('canvas'), document.querySelector('.CodeMirror')].map((e) => e.getBoundingClientRect());
      return { in_view: picture.top >= 0 && picture.bottom <= Math.min(innerHeight, editor.top), scale: picture.width / 400, scrolled: scrollY };
    });
    assert.ok(seen.in_view, 'the picture in view, above the editor');
    const o = await p.origin();
    const at = (x, y) => [o.x + x * seen.scale, o.y + y * seen.scale];
    await p.page.touchscreen.touchStart(...at(100, 100));
    for (let i = 1; i <= 10; ++i) await p.page.touchscreen.touchMove(...at(100 + 20 * i, 100 + 10 * i));
    await p.page.touchscreen.touchEnd();
    let img = await p.grab();
    const white = (x, y) => [-1, 0, 1].some((d) => img.at(x + d, y) === 0xffffff || img.at(x, y + d) === 0xffffff);
    for (const deadline = Date.now() + patience; !white(300, 200) && Date.now() < deadline; img = await p.grab()) await new Promise((r) => setTimeout(r, 50));
    assert.deepEqual([[100, 100], [200, 150], [300, 200]].filter(([x, y]) => !white(x, y)), [], 'drawn where the finger went');
    assert.equal(await p.page.evaluate(() => scrollY), seen.scrolled, 'the page did not scroll');
    await (await p.page.$('#touch-keys [data-key="ArrowRight"]')).tap();
    await p.wait_for_lines(2, (l) => l.startsWith('key '));
    await p.click(5, 5);
    await p.page.keyboard.press('ArrowRight');
    const keys = await p.wait_for_lines(4, (l) => l.startsWith('key '));
    assert.deepEqual(keys.slice(0, 2), keys.slice(2, 4), `the on-screen key sends what the real key sends: ${keys}`);
    await p.close();
  });

  test("the README's playground program compiles as written, and finds a picture added to it by its name", async () => {
    const readme = fs.readFileSync(path.join(root, 'README.md'), 'utf8');
    const source = readme.split('### The playground')[1].match(/```cpp\n([\s\S]*?)```/)[1];
    const p = await open(as_code(`${source}// ${Date.now()}\n`));  // a program of its own in the list
    await p.wait_for_lines(1, (l) => l.startsWith('Add cat.png'));
    const picture = path.join(fs.mkdtempSync(path.join(os.tmpdir(), 'kavex-cat-')), 'cat.png');
    fs.copyFileSync(path.join(root, 'examples', 'pictures', 'face.png'), picture);
    await (await p.page.$('#picture-file')).uploadFile(picture);
    await p.page.waitForFunction(() => document.getElementById('files').textContent.includes('cat.png'), { timeout: patience });
    await p.page.click('#run');
    const img = await p.next_frame();
    const face = Array.from({ length: 40 * 40 }, (_, i) => img.at(10 + (i % 40), 10 + Math.floor(i / 40)));
    const cat = Array.from({ length: 40 * 40 }, (_, i) => img.at(200 + (i % 40), 100 + Math.floor(i / 40)));
    assert.ok(face.some((v) => v !== 0), 'the face is drawn');
    assert.deepEqual(cat, face, 'cat.png, a copy of the face, drawn where the program puts it');
    await p.close();
  });

  test('the events example prints what the desktop prints for keys, characters and the mouse', async () => {
    const p = await open('example=events');
    await p.page.waitForFunction(() => window.playground.running || window.playground.failed, { timeout: compiler_patience });
    await expect_desktop_records(p);
    await p.close();
  });

  test('without promise integration (Asyncify instead), the events example prints the same records', async () => {
    const p = await open('example=events', '?asyncify');
    await p.page.waitForFunction(() => window.playground.running || window.playground.failed, { timeout: compiler_patience });
    assert.equal(await p.page.evaluate(() => window.playground.asyncify), true);
    await expect_desktop_records(p);
    await p.close();
  });

  test('Record keeps the input as a transcript, and its Replay in the page gives the desktop replay\'s pictures', async () => {
    const p = await open('example=sprites');
    await p.page.waitForFunction(() => window.playground.running || window.playground.failed, { timeout: compiler_patience });
    await p.page.click('#record');
    await p.page.waitForFunction(() => window.playground.running && window.playground.frames > 0, { timeout: compiler_patience });
    for (const [x, y] of [[60, 80], [200, 150], [330, 260]]) {
      await p.move_pointer(x, y);
      await p.next_frame();
    }
    await p.page.click('#stop');  // closes the window: the recording ends whole
    await p.page.waitForFunction(() => !window.playground.running && window.playground.recorded.endsWith('close\n'),
      { timeout: patience });
    const recorded = await p.page.evaluate(() => window.playground.recorded);
    assert.match(recorded, /^kavex run 1\n/);
    assert.match(recorded, /\nmove 200 150\n/);

    const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'kavex-replay-'));
    fs.writeFileSync(path.join(dir, 'run.txt'), recorded);
    await (await p.page.$('#replay-file')).uploadFile(path.join(dir, 'run.txt'));
    await p.page.waitForFunction(() => window.playground.replayed !== null, { timeout: compiler_patience });
    const in_page = await p.page.evaluate(() => window.playground.replayed);
    fs.mkdirSync(path.join(dir, 'frames'));
    const env = { ...process.env, KAVEX_REPLAY: path.join(dir, 'run.txt'), KAVEX_FRAMES: path.join(dir, 'frames'), DISPLAY: '' };
    execFileSync(path.join(process.env.KAVEX_DESKTOP_BUILD, 'examples', 'sprites'), { env, cwd: dir });
    const on_desktop = fs.readFileSync(path.join(dir, 'frames', 'frames.txt'), 'utf8');
    assert.ok(on_desktop.split('\n').length > 4, on_desktop);
    assert.equal(in_page, on_desktop, 'the same pictures, checksum for checksum, after the same events');
    fs.rmSync(dir, { recursive: true });
    await p.close();
  });

  test("a teacher's assignment opens its starter code, and Check passes for the solution and fails for a changed copy", async () => {
    const p = await open('example=hello');
    await p.page.waitForFunction(() => window.playground.ready, { timeout: compiler_patience });
    await (await p.page.$('#assignment-file')).uploadFile(path.join(pages_dir, 'desktop', 'sprites-assignment.json'));
    await p.page.waitForFunction(() => window.playground.assignment === 'Sprites', { timeout: patience });
    const starter = fs.readFileSync(path.join(root, 'examples', 'hello.cpp'), 'utf8');
    await p.page.waitForFunction((wanted) => document.querySelector('.CodeMirror').CodeMirror.getValue() === wanted,
      { timeout: patience, polling: 100 }, starter);  // the starter code

    const solution = fs.readFileSync(path.join(root, 'examples', 'sprites.cpp'), 'utf8');
    const check = async (source) => {
      await p.page.evaluate((s) => document.querySelector('.CodeMirror').CodeMirror.setValue(s), source);
      await p.page.evaluate(() => { window.playground.check = null; });
      await p.page.click('#check');
      await p.page.waitForFunction(() => window.playground.check !== null, { timeout: compiler_patience });
      return p.page.evaluate(() => window.playground.check);
    };
    const passed = await check(solution);
    assert.deepEqual(passed, { passed: true, pictures: [{ event: 3, differing: 0 }, { event: 14, differing: 0 }] });
    const changed = await check(solution.replace('use_color(255, 200, 40)', 'use_color(255, 200, 41)'));
    assert.equal(changed.passed, false);
    assert.ok(changed.pictures.every((c) => c.differing > 0), JSON.stringify(changed));
    assert.equal(await p.page.$eval('#check-result', (e) => e.hidden), false, 'the pictures side by side');
    await p.close();
  });
});
