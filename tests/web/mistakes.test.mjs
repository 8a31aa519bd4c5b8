// The playground's words for a program stopped on a mistake
// (web/playground/mistakes.mjs), from the stacks that Chromium and Firefox
// write for the same traps.
import assert from 'node:assert/strict';
import { describe, test } from 'node:test';
import { endless_recursion, students_function, students_line, wasm_frames, what_went_wrong } from '../../web/playground/mistakes.mjs';

const chromium_stack = `RuntimeError: unreachable
    at main.wasm.abort (wasm://wasm/main.wasm-0001c64e:wasm-function[20]:0x531)
    at main.wasm.std::__2::__libcpp_verbose_abort(char const*, ...) (wasm://wasm/main.wasm-0001c64e:wasm-function[8]:0x2c4)
    at main.wasm.__original_main (wasm://wasm/main.wasm-0001c64e:wasm-function[7]:0x274)
    at main.wasm._start (wasm://wasm/main.wasm-0001c64e:wasm-function[6]:0x1cd)
    at run (http://127.0.0.1:8400/runner.mjs:191:53)`;
const firefox_stack = `main.wasm.abort@http://127.0.0.1:8400/playground.mjs line 275 > WebAssembly.compile:wasm-function[20]:0x531
main.wasm.std::__2::__libcpp_verbose_abort(char const*, ...)@http://127.0.0.1:8400/playground.mjs line 275 > WebAssembly.compile:wasm-function[8]:0x2c4
main.wasm.__original_main@http://127.0.0.1:8400/playground.mjs line 275 > WebAssembly.compile:wasm-function[7]:0x274
main.wasm._start@http://127.0.0.1:8400/playground.mjs line 275 > WebAssembly.compile:wasm-function[6]:0x1cd
run@http://127.0.0.1:8400/runner.mjs:191:53`;
const index_check = '/usr/include/c++/v1/__vector/vector.h:412: libc++ Hardening assertion __n < size() failed: vector[] index out of bounds\n';

describe('a mistake in words', () => {
  test("Chromium's and Firefox's stacks give the same frames, with the module's offsets", () => {
    const expected = [0x531, 0x2c4, 0x274, 0x1cd];
    for (const stack of [chromium_stack, firefox_stack]) {
      const frames = wasm_frames(stack);
      assert.deepEqual(frames.map((f) => f.offset), expected);
      assert.equal(frames[2].name, 'main.wasm.__original_main');
      assert.match(what_went_wrong('unreachable', frames, index_check), /an index outside the container/);
      assert.equal(students_function(frames), 'main');
    }
  });

  test('endless recursion, by either browser\'s message or by the stack\'s depth', () => {
    const deep = Array.from({ length: 200 }, () => ({ name: 'main.wasm.depth(int)', offset: 0x1e2 }));
    assert.ok(endless_recursion('Maximum call stack size exceeded', []));
    assert.ok(endless_recursion('too much recursion', []));
    assert.ok(endless_recursion('memory access out of bounds', deep));
    assert.ok(!endless_recursion('memory access out of bounds', deep.slice(0, 20)));
    assert.match(what_went_wrong('memory access out of bounds', deep, ''), /endless recursion/);
  });

  test('a check compiled into the program is told by the name its trap has in the line tables', () => {
    const places = [[{ function: '__clang_trap_msg$Undefined Behavior Sanitizer$Array index out of bounds', file: 'main.cpp', line: 0 },
      { function: 'main', file: 'main.cpp', line: 5, column: 10 }]];
    const frames = [{ name: 'main.wasm.main', offset: 0x253 }];
    assert.match(what_went_wrong('unreachable', frames, '', places), /an index outside an array/);
    assert.equal(students_line(places).line, 5, 'the line of the student\'s code, not the trap\'s line 0');
  });
});
