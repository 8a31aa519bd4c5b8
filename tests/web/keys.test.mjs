// The page's keys and mouse in the desktop SDL 1.2's terms
// (web/playground/keys.mjs), without a browser: every key's symbol is the
// one SDL's own header gives that key, and the records carry what the
// desktop gives for a press, a release, a character and the mouse.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { test } from 'node:test';
import { key_record, pointer_records, symbols } from '../../web/playground/keys.mjs';
import { page_record } from '../../web/playground/page_interface.mjs';
import { read_library } from '../../web/library.mjs';
import { pages_dir } from './page.mjs';

// SDL's name (SDLK_NAME) of each key that keys.mjs gives a symbol, by the browser's name of the key.
const sdl_names = {
  Backspace: 'BACKSPACE', Tab: 'TAB', Enter: 'RETURN', Pause: 'PAUSE', Escape: 'ESCAPE', Space: 'SPACE', Delete: 'DELETE',
  NumpadDecimal: 'KP_PERIOD', NumpadDivide: 'KP_DIVIDE', NumpadMultiply: 'KP_MULTIPLY', NumpadSubtract: 'KP_MINUS',
  NumpadAdd: 'KP_PLUS', NumpadEnter: 'KP_ENTER', NumpadEqual: 'KP_EQUALS',
  ArrowUp: 'UP', ArrowDown: 'DOWN', ArrowRight: 'RIGHT', ArrowLeft: 'LEFT',
  Insert: 'INSERT', Home: 'HOME', End: 'END', PageUp: 'PAGEUP', PageDown: 'PAGEDOWN',
  NumLock: 'NUMLOCK', CapsLock: 'CAPSLOCK', ScrollLock: 'SCROLLOCK', ShiftRight: 'RSHIFT', ShiftLeft: 'LSHIFT',
  ControlRight: 'RCTRL', ControlLeft: 'LCTRL', AltRight: 'RALT', AltLeft: 'LALT',
  MetaLeft: 'LSUPER', OSLeft: 'LSUPER', MetaRight: 'RSUPER', OSRight: 'RSUPER', PrintScreen: 'PRINT', ContextMenu: 'MENU',
  Minus: 'MINUS', Equal: 'EQUALS', BracketLeft: 'LEFTBRACKET', BracketRight: 'RIGHTBRACKET', Backslash: 'BACKSLASH',
  Semicolon: 'SEMICOLON', Quote: 'QUOTE', Backquote: 'BACKQUOTE', Comma: 'COMMA', Period: 'PERIOD', Slash: 'SLASH',
  IntlBackslash: 'LESS',
};
for (let i = 0; i <= 9; ++i) Object.assign(sdl_names, { [`Numpad${i}`]: `KP${i}`, [`Digit${i}`]: `${i}` });
for (let i = 1; i <= 15; ++i) sdl_names[`F${i}`] = `F${i}`;

test("every key's symbol is SDL 1.2's for that key, as its header numbers it", () => {
  const header = fs.readFileSync(path.join(read_library(pages_dir).folder('sdl_headers'), 'SDL_keysym.h'), 'utf8');
  const sdl = Object.fromEntries([...header.matchAll(/\bSDLK_(\w+)\s*=\s*(\d+)/g)].map(([, name, n]) => [name, Number(n)]));
  for (const [code, symbol] of Object.entries(symbols)) {
    assert.ok(code in sdl_names, `keys.mjs gives ${code} a symbol, and this test does not know its SDL name`);
    assert.equal(symbol, sdl[sdl_names[code]], `${code} is SDLK_${sdl_names[code]}`);
    const press = key_record({ type: 'keydown', code, key: code });
    assert.equal(press[1], symbol, `a press of ${code} carries its symbol`);
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
