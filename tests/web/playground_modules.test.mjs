// The playground's own modules in Node, without a browser: the keys in the
// desktop SDL 1.2's terms (keys.mjs), what an address carries (address.mjs),
// and a program compiled as the page compiles it (the same compiler, flags
// and library), run on the playground's WASI (wasi.mjs) and a page of the
// test's own that gives the page's functions (page_interface.mjs).
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { test } from 'node:test';
import { fileURLToPath } from 'node:url';
import { read_library } from '../../web/library.mjs';
import { asked_by, link_to_program } from '../../web/playground/address.mjs';
import { link_flags, program_flags } from '../../web/playground/flags.mjs';
import { key_record, pointer_records, symbols } from '../../web/playground/keys.mjs';
import { page_imports, page_record } from '../../web/playground/page_interface.mjs';
import { wasi } from '../../web/playground/wasi.mjs';
import { fill, language_of, tables } from '../../web/playground/words.mjs';
import { pages_dir } from './page.mjs';

// SDL's name (SDLK_NAME) of a browser's key: its name in capitals without
// "Arrow" or "Digit", "Numpad" as "KP" ("KP_" before a word), a side as L
// or R in front; and these, which SDL names otherwise.
const sdl_names_of_their_own = {
  Enter: 'RETURN', Equal: 'EQUALS', NumpadEqual: 'KP_EQUALS', NumpadDecimal: 'KP_PERIOD', NumpadSubtract: 'KP_MINUS',
  NumpadAdd: 'KP_PLUS', ScrollLock: 'SCROLLOCK', ControlLeft: 'LCTRL', ControlRight: 'RCTRL', MetaLeft: 'LSUPER',
  OSLeft: 'LSUPER', MetaRight: 'RSUPER', OSRight: 'RSUPER', PrintScreen: 'PRINT', ContextMenu: 'MENU',
  BracketLeft: 'LEFTBRACKET', BracketRight: 'RIGHTBRACKET', IntlBackslash: 'LESS',
};
const sdl_name = (code) => sdl_names_of_their_own[code] ?? code
  .replace(/^(Arrow|Digit)/, '').replace(/^Numpad(?=\d)/, 'KP').replace(/^Numpad/, 'KP_')
  .replace(/^(\w+)(Left|Right)$/, (_, key, side) => side[0] + key).toUpperCase();

test("every key's symbol is SDL 1.2's for that key, as its header numbers it", () => {
  const header = fs.readFileSync(path.join(read_library(pages_dir).folder('sdl_headers'), 'SDL_keysym.h'), 'utf8');
  const sdl = Object.fromEntries([...header.matchAll(/\bSDLK_(\w+)\s*=\s*(\d+)/g)].map(([, name, n]) => [name, Number(n)]));
  for (const [code, symbol] of Object.entries(symbols)) {
    assert.equal(symbol, sdl[sdl_name(code)], `${code} is SDLK_${sdl_name(code)}`);
    assert.equal(key_record({ type: 'keydown', code, key: code })[1], symbol, `a press of ${code} carries its symbol`);
  }
});

test('a key press carries the letter the layout puts on the key and the character it types; a release none', () => {
  const key = (type, code, key, more = {}) => key_record({ type, code, key, ...more });
  assert.deepEqual(key('keydown', 'KeyA', 'A'), page_record('key_press', { symbol: 97, character: 65 }));
  assert.deepEqual(key('keyup', 'KeyA', 'A'), page_record('key_release', { symbol: 97 }));
  assert.deepEqual(key('keydown', 'KeyA', 'q'), page_record('key_press', { symbol: 113, character: 113 }), 'AZERTY: the key marked Q');
  assert.deepEqual(key('keydown', 'KeyC', 'c', { ctrlKey: true }), page_record('key_press', { symbol: 99, character: 3 }));
  assert.deepEqual(key('keydown', 'Quote', 'ő'), page_record('key_press', { symbol: 39, character: 0x151 }));
  assert.deepEqual(key('keydown', 'Enter', 'Enter'), page_record('key_press', { symbol: 13, character: 13 }));
  assert.deepEqual(key('keydown', 'ShiftLeft', 'Shift'), page_record('key_press', { symbol: 304 }));
  assert.equal(key('keydown', 'KeyX', '😀')[2], 0, 'SDL 1.2 carries 16 bits: no character beyond them');
});

test('the pointer: its place inside the picture, buttons numbered as on the desktop, a wheel turn a press and a release', () => {
  // Shown at twice its size, 10 pixels from the left and 20 from the top.
  const canvas = { width: 400, height: 300, getBoundingClientRect: () => ({ left: 10, top: 20, width: 800, height: 600 }) };
  const at = (type, x, y, more = {}) => pointer_records({ type, clientX: x, clientY: y, ...more }, canvas);
  assert.deepEqual(at('pointermove', 211, 61), [page_record('pointer_move', { x: 100, y: 20 })]);
  assert.deepEqual(at('pointermove', -50, 5000), [page_record('pointer_move', { x: 0, y: 299 })], 'held beyond the edge');
  assert.deepEqual(at('pointerdown', 10, 20, { button: 2 }), [page_record('button_press', { button: 3 })], 'right');
  assert.deepEqual(at('pointerup', 10, 20, { button: 1 }), [page_record('button_release', { button: 2 })], 'middle');
  assert.deepEqual(at('pointerdown', 10, 20, { button: 3 }), [], 'a back button the desktop has no number for');
  assert.deepEqual(at('wheel', 10, 20, { deltaY: -3 }),
    [page_record('button_press', { button: 4 }), page_record('button_release', { button: 4 })]);
});

test("a program's link carries its text whole in an address's own characters; an address asks for an example, an assignment, nothing, or is damaged", () => {
  const source = '#include "graphics.hpp"\n// Árvíztűrő tükörfúrógép, Łódź, 😀\nint main() { return 1 + 2 * 3 / 4 - 5 % 6 & ~7; }\n';
  for (const text of [source, source.slice(0, -1), source.slice(0, -2), '']) {
    const [page, code] = link_to_program('https://host/playground/index.html?asyncify#example=hello', text).split('#');
    assert.equal(page, 'https://host/playground/index.html?asyncify');
    assert.match(code, /^code=[A-Za-z0-9_-]*$/, 'no +, / or = to be escaped');
    assert.deepEqual(asked_by(`#${code}`), { code: text });
  }
  assert.deepEqual(asked_by('#example=sprites'), { example: 'sprites' });
  assert.deepEqual(asked_by('#assignment=https%3A%2F%2Fschool.example%2Fa%201.json'), { assignment: 'https://school.example/a 1.json' });
  assert.deepEqual(asked_by(''), null);
  assert.deepEqual(asked_by('#ref-canvas'), null, "the reference's own anchors ask for nothing");
  assert.deepEqual(asked_by('#code=%%%'), { damaged: true }, 'not base64');
  assert.deepEqual(asked_by('#code=_w'), { damaged: true }, 'bytes that are no UTF-8 text');
});

// Compiled and linked as compiler.mjs does, against the library and headers as build.mjs packed them.
async function compiled(source) {
  const here = path.dirname(fileURLToPath(import.meta.url));
  const { runClang } = await import(path.join(here, '..', '..', 'web', 'playground', 'node_modules', '@yowasp', 'clang', 'gen', 'bundle.js'));
  const unpacked = (tree) => Object.fromEntries(Object.entries(tree).map(([name, value]) => [name,
    typeof value === 'string' ? value : value.base64 ? Buffer.from(value.base64, 'base64') : unpacked(value)]));
  const files = { ...unpacked(JSON.parse(fs.readFileSync(path.join(pages_dir, 'playground', 'kavex-files.json'), 'utf8'))), 'main.cpp': source };
  const quiet = { stdout: () => {}, stderr: () => {} };
  const made = await runClang(['clang++', ...program_flags, '-c', 'main.cpp', '-o', 'main.o'], files, quiet);
  const linked = await runClang(['clang++', 'main.o', ...link_flags, '-o', 'main.wasm'], { lib: files.lib, 'main.o': made['main.o'] }, quiet);
  return WebAssembly.compile(linked['main.wasm']);
}

test("the page's words: every language has every English word with its places, in its own words; the browser's tags it takes", () => {
  const places = (text) => [...new Set([...text.matchAll(/\{([a-z_]+)/g)].map((m) => m[1]))].sort().join(' ');
  for (const [language, table] of Object.entries(tables)) {
    assert.deepEqual(Object.keys(table).sort(), Object.keys(tables.en).sort(), `${language} has every word and no other`);
    for (const [key, text] of Object.entries(table)) {
      assert.equal(places(text), places(tables.en[key]), `${language}'s ${key} has English's places`);
      if (language !== 'en') assert.notEqual(text, tables.en[key], `${language}'s ${key} is in English`);
    }
  }
  assert.equal(fill('{n} {n:line|lines}', { n: 1 }), '1 line', 'English, with no language chosen in Node');
  assert.deepEqual(['hu-HU', 'pl', 'cs_CZ', 'sk', 'de-DE', 'hun', ''].map(language_of), ['hu', 'pl', 'cs', 'sk', null, null, null]);
});

test('a program calls only what wasi.mjs answers and page_interface.mjs names, and runs on them to its end', async () => {
  // A silent mistake, then a wait for the window's close.
  const module = await compiled(`#include "graphics.hpp"
#include <cstdio>
#include <cstdlib>
using namespace kavex;
int main(int argc, char** argv) {
    std::printf("%s %d %s\\n", argv[0], argc, std::getenv("KAVEX_EXPLAIN"));
    gout.open(200, 100);
    gout << move_abs(-50, -50) << refresh;
    event ev;
    while (gin.wait_event(ev)) {}
    return 3;
}
`);
  for (const { module: from, name } of WebAssembly.Module.imports(module)) {
    assert.ok(from === 'wasi_snapshot_preview1' || (from === 'kavex' && name in page_imports), `${from}.${name} is not one of the page's functions`);
  }
  const out = { 1: '', 2: '' };
  let memory = null;
  const system = wasi({ args: ['main'], env: ['KAVEX_EXPLAIN=1'], write: (fd, text) => { out[fd] += text; }, memory: () => memory });
  // The C library asks for more than it calls (the folders, when there are none): what it calls must be answered.
  const refused = new Set();
  const watched = new Proxy(system.imports, {
    get: (imports, name) => (...args) => {
      if (!system.answered.includes(name)) refused.add(name);
      return imports[name](...args);
    },
  });
  // The page: every call noted; no files; the window closed at the first poll.
  const calls = [];
  const page = Object.fromEntries(Object.keys(page_imports).map((name) => [name, (...args) => { calls.push([name, ...args]); return 0; }]));
  page.file_size = () => -1;
  let closed = false;
  page.poll = (at) => {
    if (closed) return 0;
    closed = true;
    new Int32Array(memory.buffer, at, 6).set(page_record('window_close'));
    return 1;
  };
  const instance = await WebAssembly.instantiate(module, { wasi_snapshot_preview1: watched, kavex: page });
  memory = instance.exports.memory;
  const status = (() => {
    try {
      instance.exports._start();
    } catch (e) {
      if (e instanceof system.Exit) return e.code;
      throw e;
    }
  })();
  assert.equal(status, 3, 'the program ends with its own status');
  assert.deepEqual([...refused], [], 'calls the program made that wasi.mjs refused');
  assert.equal(out[1], 'main 1 1\n', 'its name, its one argument and the environment reach it');
  assert.match(out[2], /kavex: .*-50, -50/, 'the explanation of its mistake, on standard error');
  assert.deepEqual(calls.find((c) => c[0] === 'open'), ['open', 200, 100]);
  assert.ok(calls.some((c) => c[0] === 'frame' && c[2] === 200 && c[3] === 100), 'its refresh hands the picture over');
});
