// A Worker that compiles and links one program at a time, with the compiler
// that runs in the page (the first compile fetches and compiles it, once per
// page load), against the library built ahead of time (kavex-files.json).
//
// From the page:  { id, source }
// To the page:    { id, wasm, messages, times: { compile, link } }  or  { id, failed: true, messages }
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

onmessage = async ({ data: { id, source } }) => {
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
  const wasm = linked.made['main.wasm'];
  postMessage({ id, wasm, messages, times: { compile: t1 - t0, link: t2 - t1 } }, [wasm.buffer]);
};
