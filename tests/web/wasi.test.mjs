// The playground's system for a program (web/playground/wasi.mjs) and the
// page's functions (page_interface.mjs), against the calls a program on the
// playground's library really makes: a program is compiled and linked here,
// in Node, as the page does it (the same compiler, flags and library), and
// run with wasi.mjs and a page of this test's own, without a browser.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { test } from 'node:test';
import { fileURLToPath } from 'node:url';
import { link_flags, program_flags } from '../../web/playground/flags.mjs';
import { page_imports, page_record } from '../../web/playground/page_interface.mjs';
import { wasi } from '../../web/playground/wasi.mjs';
import { pages_dir } from './page.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
const { runClang } = await import(path.join(here, '..', '..', 'web', 'playground', 'node_modules', '@yowasp', 'clang', 'gen', 'bundle.js'));

// The library and headers as the page receives them (build.mjs packs them).
function unpacked(tree) {
  return Object.fromEntries(Object.entries(tree).map(([name, value]) => [name,
    typeof value === 'string' ? value : value.base64 ? Buffer.from(value.base64, 'base64') : unpacked(value)]));
}

async function compiled(source) {
  const files = { ...unpacked(JSON.parse(fs.readFileSync(path.join(pages_dir, 'playground', 'kavex-files.json'), 'utf8'))), 'main.cpp': source };
  const quiet = { stdout: () => {}, stderr: () => {} };
  const made = await runClang(['clang++', ...program_flags, '-c', 'main.cpp', '-o', 'main.o'], files, quiet);
  const linked = await runClang(['clang++', 'main.o', ...link_flags, '-o', 'main.wasm'], { lib: files.lib, 'main.o': made['main.o'] }, quiet);
  return WebAssembly.compile(linked['main.wasm']);
}

// A program with a silent mistake, which then waits for the window's close.
const program = `#include "graphics.hpp"
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
`;

test('a program calls only what wasi.mjs answers and page_interface.mjs names, and runs on them to its end', async () => {
  const module = await compiled(program);
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
  // The page: a window of the program's size, its pictures, and then the close.
  const calls = [];
  const page = Object.fromEntries(Object.keys(page_imports).map((name) => [name, (...args) => { calls.push([name, ...args]); return 0; }]));
  let closed = false;
  page.poll = (at) => {
    if (closed) return 0;
    closed = true;
    new Int32Array(memory.buffer, at, 6).set(page_record('window_close'));
    return 1;
  };
  page.file_size = () => -1;
  const instance = await WebAssembly.instantiate(module, { wasi_snapshot_preview1: watched, kavex: page });
  memory = instance.exports.memory;
  let status = null;
  try {
    instance.exports._start();
  } catch (e) {
    if (!(e instanceof system.Exit)) throw e;
    status = e.code;
  }
  assert.equal(status, 3, 'the program ends with its own status');
  assert.deepEqual([...refused], [], 'calls the program made that wasi.mjs refused');
  assert.equal(out[1], 'main 1 1\n', 'its name, its one argument and the environment reach it');
  assert.match(out[2], /kavex: .*-50, -50/, 'the explanation of its mistake, on standard error');
  assert.deepEqual(calls.find((c) => c[0] === 'open'), ['open', 200, 100]);
  assert.ok(calls.some((c) => c[0] === 'frame' && c[2] === 200 && c[3] === 100), 'its refresh hands the picture over');
});
