// The page's keys and mouse in the terms of the desktop's SDL 1.2, as the
// playground's side of the library polls them (graphics/sdl_side_playground.cpp):
// one input record per event (page_interface.mjs). A key's symbol is SDL
// 1.2's for the key; its character (on a press only) is the Unicode one it
// types.
import { page_record } from './page_interface.mjs';

// SDL 1.2's symbols for the keys that type no character, and for those whose
// symbol is not the character they type, by the browser's name of the key.
export const symbols = {
  Backspace: 8, Tab: 9, Enter: 13, Pause: 19, Escape: 27, Space: 32, Delete: 127,
  Numpad0: 256, Numpad1: 257, Numpad2: 258, Numpad3: 259, Numpad4: 260,
  Numpad5: 261, Numpad6: 262, Numpad7: 263, Numpad8: 264, Numpad9: 265,
  NumpadDecimal: 266, NumpadDivide: 267, NumpadMultiply: 268, NumpadSubtract: 269,
  NumpadAdd: 270, NumpadEnter: 271, NumpadEqual: 272,
  ArrowUp: 273, ArrowDown: 274, ArrowRight: 275, ArrowLeft: 276,
  Insert: 277, Home: 278, End: 279, PageUp: 280, PageDown: 281,
  NumLock: 300, CapsLock: 301, ScrollLock: 302, ShiftRight: 303, ShiftLeft: 304,
  ControlRight: 305, ControlLeft: 306, AltRight: 307, AltLeft: 308,
  MetaLeft: 311, OSLeft: 311, MetaRight: 312, OSRight: 312, PrintScreen: 316, ContextMenu: 319,
  Minus: 45, Equal: 61, BracketLeft: 91, BracketRight: 93, Backslash: 92, Semicolon: 59,
  Quote: 39, Backquote: 96, Comma: 44, Period: 46, Slash: 47, IntlBackslash: 60,
};
for (let i = 1; i <= 15; ++i) symbols[`F${i}`] = 281 + i;
for (let i = 0; i <= 9; ++i) symbols[`Digit${i}`] = 48 + i;

// What the desktop types for the keys that type a control character.
const control_characters = { Backspace: 8, Tab: 9, Enter: 13, NumpadEnter: 13, Escape: 27, Delete: 127 };

function symbol_of(e) {
  // A letter is the one the layout puts on the key, in lower case, as SDL names it.
  if (/^[a-zA-Z]$/.test(e.key)) return e.key.toLowerCase().charCodeAt(0);
  if (e.code in symbols) return symbols[e.code];
  return /^Key[A-Z]$/.test(e.code) ? e.code.toLowerCase().charCodeAt(3) : 0;
}

function character_of(e) {
  if (e.code in control_characters) return control_characters[e.code];
  const characters = [...e.key];
  if (characters.length !== 1) return 0;  // a key that types nothing: "Shift", "ArrowLeft"
  const c = characters[0].codePointAt(0);
  if (c > 0xFFFF) return 0;  // SDL 1.2 carries 16 bits
  // With Ctrl, a letter types its control character, as on the desktop.
  if (e.ctrlKey && !e.altKey && /^[a-zA-Z]$/.test(e.key)) return c & 0x1F;
  return c;
}

export function key_record(e) {
  const down = e.type === 'keydown';
  return page_record(down ? 'key_press' : 'key_release', { symbol: symbol_of(e), character: down ? character_of(e) : 0 });
}

// The pointer's place on the picture, kept inside it (the desktop does so
// while a button is held beyond the window's edge).
function place(e, canvas) {
  const box = canvas.getBoundingClientRect();
  const scale_x = canvas.width / (box.width || 1);
  const scale_y = canvas.height / (box.height || 1);
  const x = Math.floor((e.clientX - box.left) * scale_x);
  const y = Math.floor((e.clientY - box.top) * scale_y);
  return [Math.min(Math.max(x, 0), canvas.width - 1), Math.min(Math.max(y, 0), canvas.height - 1)];
}

// The desktop numbers the buttons left 1, middle 2, right 3.
const buttons = [1, 2, 3];

export function pointer_records(e, canvas) {
  const [x, y] = place(e, canvas);
  const button = buttons[e.button];
  switch (e.type) {
  case 'pointermove': return [page_record('pointer_move', { x, y })];
  case 'pointerdown': return button ? [page_record('button_press', { x, y, button })] : [];
  case 'pointerup': return button ? [page_record('button_release', { x, y, button })] : [];
  case 'wheel': {
    // A turn of the wheel is a press and a release of button 4 (up) or 5 (down).
    if (e.deltaY === 0) return [];
    const wheel = { x, y, button: e.deltaY < 0 ? 4 : 5 };
    return [page_record('button_press', wheel), page_record('button_release', wheel)];
  }
  default: return [];
  }
}
