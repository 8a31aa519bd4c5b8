// A Worker that compiles and links one program at a time, with the compiler
// that runs in the page (the first compile fetches and compiles it, once per
// page load), against the library built ahead of time (kavex-files.json).
//
// From the page:  { id, source, asyncify }
// To the page:    { id, wasm, messages, times: { compile, link, asyncify } }  or  { id, failed: true, messages }
//
// In a browser without WebAssembly's promise integration, the program's
// wait cannot suspend it: `asyncify` asks for the linked program to be
// rewritten by Binaryen's Asyncify, which lets it unwind its stack at the
// wait and wind it up again after (runner.mjs). Binaryen is fetched then only.
// and once, while getting ready: { progress: { done, total } }
import { runClang } from './clang/bundle.js';
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

async function clang(args, files) {
  let messages = '';
  const decoder = new TextDecoder();
  const collect = (bytes) => { if (bytes) messages += decoder.decode(bytes, { stream: true }); };
  const fetchProgress = ({ doneLength, totalLength }) => postMessage({ progress: { done: doneLength, total: totalLength } });
  try {
    const made = await runClang(args, files, { stdout: collect, stderr: collect, fetchProgress });
    return { made, messages };
  } catch (e) {
    if (e.files === undefined) messages += String(e.message || e);
    return { made: null, messages };
  }
}

// The program's stack may unwind and rewind at the library's wait, the one import that sleeps.
async function asyncified(wasm) {
  const { default: binaryen } = await import('./binaryen/index.js');
  const module = binaryen.readBinary(wasm);
  try {
    binaryen.setPassArgument('asyncify-imports', 'kavex.wait');
    module.runPasses(['asyncify']);
    return module.emitBinary();
  } finally {
    module.dispose();
  }
}

onmessage = async ({ data: { id, source, asyncify } }) => {
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
  const wasm = asyncify ? await asyncified(linked.made['main.wasm']) : linked.made['main.wasm'];
  const times = { compile: t1 - t0, link: t2 - t1, asyncify: performance.now() - t2 };
  postMessage({ id, wasm, messages, times }, [wasm.buffer]);
};
