// A mistake in Firefox is named as in Chromium (whose stacks the playground
// tests run on): Firefox writes its wasm frames and its endless recursion
// in words of its own (web/playground/mistakes.mjs reads both).
import assert from 'node:assert/strict';
import { test } from 'node:test';
import { students_function, wasm_frames, what_went_wrong } from '../../web/playground/mistakes.mjs';

test("Firefox's stack of a failed check: the module's offsets, the check's words, the student's function", () => {
  const stack = ['abort', 'std::__2::__libcpp_verbose_abort(char const*, ...)', '__original_main', '_start']
    .map((name, i) => `main.wasm.${name}@http://127.0.0.1:8400/playground.mjs line 275 > WebAssembly.compile:wasm-function[${20 - i}]:0x${(0x531 - 0x100 * i).toString(16)}`)
    .join('\n');
  const frames = wasm_frames(`${stack}\nrun@http://127.0.0.1:8400/runner.mjs:191:53`);
  assert.deepEqual(frames.map((f) => f.offset), [0x531, 0x431, 0x331, 0x231]);
  const check = 'vector.h:412: libc++ Hardening assertion __n < size() failed: vector[] index out of bounds\n';
  assert.match(what_went_wrong('unreachable executed', frames, check), /an index outside the container/);
  assert.equal(students_function(frames), 'main');
  assert.match(what_went_wrong('too much recursion', [], ''), /endless recursion/);
});
