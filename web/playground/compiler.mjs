// A Worker that compiles and links one program at a time, with the compiler
// that runs in the page (the first compile fetches and compiles it, once per
// page load), against the library built ahead of time (kavex-files.json).
//
// From the page:  { id, source, asyncify }
// To the page:    { id, wasm, messages, times: { compile, link, asyncify } }  or  { id, failed: true, messages }
// From the page:  { id, symbolize: [offsets in the last program, counted from the module's start] }
// To the page:    { id, places: [[{ function, file, line, column }, ... innermost first], ...] }
//
// In a browser without WebAssembly's promise integration, the program's
// wait cannot suspend it: `asyncify` asks for the linked program to be
// rewritten by Binaryen's Asyncify, which lets it unwind its stack at the
// wait and wind it up again after (runner.mjs). Binaryen is fetched then only.
// and while getting ready, at once when the Worker starts:
//                 { progress: { done, total } } (bytes), then { ready: true }
import { runClang, runLLVM } from './clang/bundle.js';
import { link_flags, program_flags } from './flags.mjs';

function unpacked(tree) {
  const out = {};
  for (const [name, value] of Object.entries(tree)) {
    if (typeof value === 'string') out[name] = value;
    else if (value.base64) out[name] = Uint8Array.from(atob(value.base64), (c) => c.charCodeAt(0));
    else out[name] = unpacked(value);
  }
  return out;
}

const library = fetch(new URL('./kavex-files.json', import.meta.url)).then((r) => r.json()).then(unpacked);

// The compiler's modules and files, fetched and compiled once, with the
// download's progress. (clang++ itself fetches them on its first run, but
// through a call that says nothing of its progress.)
let progress_said_at = 0;
const compiler_ready = runLLVM(null, {}, {
  fetchProgress({ doneLength, totalLength }) {
    if (performance.now() - progress_said_at < 100 && doneLength < totalLength) return;
    progress_said_at = performance.now();
    postMessage({ progress: { done: doneLength, total: totalLength } });
  },
});
compiler_ready.then(() => postMessage({ ready: true }));

async function clang(args, files) {
  let messages = '';
  const decoder = new TextDecoder();
  const collect = (bytes) => { if (bytes) messages += decoder.decode(bytes, { stream: true }); };
  await compiler_ready;
  try {
    const made = await runClang(args, files, { stdout: collect, stderr: collect });
    return { made, messages };
  } catch (e) {
    if (e.files === undefined) messages += String(e.message || e);
    return { made: null, messages };
  }
}

// The program's stack may unwind and rewind at the library's wait, the one import that sleeps.
async function asyncified(wasm) {
  const { default: binaryen } = await import('./binaryen/index.js');
  binaryen.setDebugInfo(true);  // keeps the functions' names, which the page's report of a mistake reads
  const module = binaryen.readBinary(wasm);
  try {
    binaryen.setPassArgument('asyncify-imports', 'kavex.wait');
    module.runPasses(['asyncify']);
    return module.emitBinary();
  } finally {
    module.dispose();
  }
}

// The last program linked, with its line tables, and where its code section
// starts: a trap's place counts from the module's start, the line tables
// from the code section's. A program rewritten by Asyncify has moved on from
// its line tables: its places stay unknown.
let last_program = null;

function code_section_start(wasm) {
  let at = 8;
  const number = () => {
    let value = 0;
    for (let shift = 0; ; shift += 7) {
      const byte = wasm[at++];
      value += (byte & 0x7f) * 2 ** shift;
      if (!(byte & 0x80)) return value;
    }
  };
  while (at < wasm.length) {
    const section = wasm[at++];
    const size = number();
    if (section === 10) return at;
    at += size;
  }
  return 0;
}

async function symbolize(offsets) {
  const none = offsets.map(() => []);
  if (!last_program || !offsets.length) return none;
  const { wasm, code_at } = last_program;
  const addresses = offsets.map((o) => `0x${Math.max(o - code_at, 0).toString(16)}`);
  let json = '';
  try {
    await runLLVM(['addr2line', '--output-style=JSON', '-f', '-i', '-C', '-e', 'main.wasm', ...addresses],
      { 'main.wasm': wasm }, { stdout: (b) => { if (b) json += new TextDecoder().decode(b); }, stderr: () => {} });
    return JSON.parse(json).map((a) => a.Symbol.map((f) => ({
      function: f.FunctionName, file: f.FileName.replace(/^\//, ''), line: f.Line, column: f.Column,
    })));
  } catch {
    return none;
  }
}

onmessage = async ({ data }) => {
  if (data.symbolize) return postMessage({ id: data.id, places: await symbolize(data.symbolize) });
  const { id, source, asyncify } = data;
  const files = { ...(await library), 'main.cpp': source };
  const t0 = performance.now();
  const compiled = await clang(['clang++', ...program_flags, '-c', 'main.cpp', '-o', 'main.o'], files);
  const t1 = performance.now();
  if (!compiled.made) return postMessage({ id, failed: true, messages: compiled.messages });
  const linked = await clang(['clang++', 'main.o', ...link_flags, '-o', 'main.wasm'],
    { lib: files.lib, 'main.o': compiled.made['main.o'] });
  const t2 = performance.now();
  const messages = compiled.messages + linked.messages;
  if (!linked.made) return postMessage({ id, failed: true, messages });
  const made = linked.made['main.wasm'];
  last_program = asyncify ? null : { wasm: made.slice(), code_at: code_section_start(made) };
  const wasm = asyncify ? await asyncified(made) : made;
  const times = { compile: t1 - t0, link: t2 - t1, asyncify: performance.now() - t2 };
  postMessage({ id, wasm, messages, times }, [wasm.buffer]);
};
