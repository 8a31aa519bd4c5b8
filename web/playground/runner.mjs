// A Worker that runs one program compiled in the page: a fresh one for every
// Run, ended by the page at Stop, so that nothing a program does (an endless
// loop, a crash, a huge allocation) reaches the page.
//
// From the page:  { run: WebAssembly.Module, files: { name: Uint8Array } }, then { input: [numbers] }
// To the page:    { frame, width, height, pixels }  the picture at a refresh (RGBA bytes)
//                 { out: text, fd }                  what the program printed
//                 { title }, { saved: name, bytes }, { ended: status }, { crashed: message }
//
// The program's wait (graphics/sdl_side_playground.cpp) suspends it in a
// promise, through WebAssembly's promise integration: meanwhile the page's
// input arrives here.
import { wasi } from './wasi.mjs';

let memory = null;
const input = [];        // records from the page, oldest first (keys.mjs)
let wake = null;         // ends the program's sleep early, when input comes
const files = new Map(); // name → bytes: the examples' pictures, and what the program saves
let frames = 0;
let waiting_frame = null;  // where the latest picture is, sent when the program waits
const started = performance.now();

const text = (at) => {
  const bytes = new Uint8Array(memory.buffer, at);
  return new TextDecoder().decode(bytes.subarray(0, bytes.indexOf(0)));
};

// The picture of the last refresh, copied once the program waits: a program
// that refreshes faster than the page shows costs one copy per pause.
function send_frame() {
  const { at, width, height } = waiting_frame;
  waiting_frame = null;
  const pixels = new Uint8ClampedArray(memory.buffer.slice(at, at + 4 * width * height));
  postMessage({ frame: frames, width, height, pixels }, [pixels.buffer]);
}

const page = {
  wait: new WebAssembly.Suspending((ms) => new Promise((resolve) => {
    const done = () => {
      clearTimeout(timer);
      wake = null;
      resolve();
    };
    const timer = setTimeout(done, ms);
    wake = done;
  })),
  now: () => Math.floor(performance.now() - started) >>> 0,
  poll(at) {
    if (input.length === 0) return 0;
    new Int32Array(memory.buffer, at, 6).set(input.shift());
    return 1;
  },
  open(width, height) {
    postMessage({ opened: true, width, height });
  },
  frame(at, width, height) {
    ++frames;
    if (!waiting_frame) setTimeout(send_frame, 0);
    waiting_frame = { at, width, height };
  },
  title: (at) => postMessage({ title: text(at) }),
  saved(at) {
    const name = text(at);
    postMessage({ saved: name, bytes: files.get(name) });
  },
  file_size(at) {
    const bytes = files.get(text(at));
    return bytes ? bytes.length : -1;
  },
  file_read(name_at, to) {
    new Uint8Array(memory.buffer).set(files.get(text(name_at)), to);
  },
  file_write(name_at, at, size) {
    files.set(text(name_at), new Uint8Array(memory.buffer.slice(at, at + size)));
  },
};

async function run(module) {
  const system = wasi({
    args: ['main'],
    env: ['KAVEX_EXPLAIN=1'],
    write: (fd, out) => postMessage({ out, fd }),
    memory: () => memory,
  });
  let status = 0;
  try {
    const instance = await WebAssembly.instantiate(module, { wasi_snapshot_preview1: system.imports, kavex: page });
    memory = instance.exports.memory;
    await WebAssembly.promising(instance.exports._start)();
  } catch (e) {
    if (!(e instanceof system.Exit)) {
      postMessage({ crashed: String(e.message || e) });
      return;
    }
    status = e.code;
  }
  if (waiting_frame) send_frame();
  postMessage({ ended: status });
}

onmessage = ({ data }) => {
  if (data.input) {
    input.push(data.input);
    if (wake) wake();
  } else if (data.run) {
    for (const [name, bytes] of Object.entries(data.files)) files.set(name, bytes);
    run(data.run);
  }
};
