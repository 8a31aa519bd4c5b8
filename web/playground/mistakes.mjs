// A program that stopped on a mistake, in a beginner's words: what the
// browser said (a trap's message and stack), what the C++ library or libc
// printed just before (their checks say what failed), told apart here.
//
//   const frames = wasm_frames(error_stack);     // innermost first: { name, offset }
//   const places = ...                           // each frame's places in the source (compiler.mjs)
//   const words = what_went_wrong(message, frames, last_error_text, places);
//   const place = students_line(places);         // the innermost place in main.cpp
import { say } from './words.mjs';

// The frames of WebAssembly code in a stack, as Chromium and Safari write
// them ("    at NAME (wasm://wasm/MODULE:wasm-function[N]:0xOFFSET)") and as
// Firefox does ("NAME@URL > WebAssembly.compile:wasm-function[N]:0xOFFSET"):
// the offset counts from the module's start in both.
export function wasm_frames(stack) {
  const frames = [];
  for (const line of String(stack || '').split('\n')) {
    const place = line.match(/wasm-function\[\d+\]:0x([0-9a-f]+)/);
    if (!place) continue;
    const name = line.match(/^\s*at (.*?) \(/) || line.match(/^([^@\s][^@]*)@/);
    frames.push({ name: name ? name[1] : '', offset: parseInt(place[1], 16) });
  }
  return frames;
}

// So many frames that the stack can only have run out.
const deep = 150;

export function endless_recursion(message, frames) {
  if (/call stack|too much recursion/i.test(message)) return true;
  return frames.length >= deep && new Set(frames.slice(0, deep).map((f) => f.name)).size < 10;
}

// The C++ library's own words for its checks, in a beginner's.
function library_check(text) {
  const at = text.match(/out_of_range was thrown in -fno-exceptions mode with message "(.*)"/);
  if (at) return at[1] ? say('at_outside', { container: at[1] }) : say('at_outside_container');
  if (/bad_alloc was thrown|bad_array_new_length/.test(text)) return say('too_much_memory');
  if (/length_error was thrown/.test(text)) return say('container_too_long');
  const check = text.match(/Hardening assertion (.*) failed: (.*)/);
  if (!check) return null;
  const what = check[2].trim();
  if (/index out of bounds/.test(what)) return say('index_outside_container', { what });
  if (/empty/.test(what)) return say('empty_container', { what });
  return say('library_check', { what });
}

// A check compiled into the program names itself in the line tables, as the
// function its trap stands in: "__clang_trap_msg$Undefined Behavior Sanitizer$Array index out of bounds".
function compiled_check(places) {
  const trap = (places[0] || []).find((p) => p.function.startsWith('__clang_trap_msg$'));
  if (!trap) return null;
  if (/null/i.test(trap.function)) return say('null_pointer');
  if (/index out of bounds/i.test(trap.function)) return say('index_outside_array');
  return say('check_failed_named', { what: trap.function.split('$').pop() });
}

// `message`: the trap's or error's message; `errors`: the program's
// standard error, its last lines at least; `places`: each frame's places.
export function what_went_wrong(message, frames, errors, places = []) {
  const names = frames.map((f) => f.name).join('\n');
  const last_lines = errors.split('\n').slice(-4).join('\n');
  if (endless_recursion(message, frames)) return say('endless_recursion');
  if (/out of bounds/.test(message)) return say('memory_outside');
  if (!/unreachable/.test(message)) return message;
  if (/__assert_fail/.test(names)) {
    const condition = last_lines.match(/Assertion failed: (.*) \(/);
    return condition ? say('assert_false', { condition: condition[1] }) : say('assert_failed');
  }
  if (/abort/.test(names)) return library_check(last_lines) || say('abort');
  return compiled_check(places) || say('null_or_index');
}

// Where no line is known (a program rewritten for Asyncify): the innermost
// function that is neither the C++ library's, libc's nor kavex's.
export function students_function(frames) {
  for (const { name } of frames) {
    const bare = name.replace(/^\S*?\.wasm\./, '').replace(/^__original_main$/, 'main');
    if (bare && !/^(std::|__|_start|abort|kavex::|operator |dl|malloc|free)/.test(bare)) return bare;
  }
  return null;
}

// The student's line: the innermost place in main.cpp, or null.
export function students_line(places_of_frames) {
  for (const places of places_of_frames) {
    for (const place of places) if (place.file === 'main.cpp' && place.line > 0) return place;
  }
  return null;
}
