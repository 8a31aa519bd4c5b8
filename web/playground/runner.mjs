// A Worker that runs one program compiled in the page: a fresh one for every
// Run, ended by the page at Stop, so that nothing a program does (an endless
// loop, a crash, a huge allocation) reaches the page.
//
// From the page:  { run: WebAssembly.Module, files: { name: Uint8Array }, asyncify }, then { input: [numbers] }
// To the page:    { frame, width, height, pixels }  the picture at a refresh (RGBA bytes)
//                 { out: text, fd }                  what the program printed
//                 { title }, { saved: name, bytes }, { ended: status }, { crashed: message }
//
// The program's wait (graphics/sdl_side_playground.cpp) suspends it in a
// promise, through WebAssembly's promise integration (JSPI), or where the
// browser has none, through the program's own Asyncify (compiler.mjs):
// meanwhile the page's input arrives here.
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

// Up to `ms` ms, less when input comes.
const sleep = (ms) => new Promise((resolve) => {
  const done = () => {
    clearTimeout(timer);
    wake = null;
    resolve();
  };
  const timer = setTimeout(done, ms);
  wake = done;
});

// Asyncify: at the wait, the program's stack is unwound into `unwound_at`
// (its first two words say where the saved stack begins and ends), the
// program returns, and once the sleep is over it is entered again and
// rewound to the wait, which then returns.
const unwound_size = 1 << 20;
let unwound_at = 0;
let exports = null;
let sleeping = null;
const unwinding = 1;
const rewinding = 2;

function wait_by_unwinding(ms) {
  if (exports.asyncify_get_state() === rewinding) {
    exports.asyncify_stop_rewind();
    return;
  }
  sleeping = sleep(ms);
  new Int32Array(memory.buffer, unwound_at, 2).set([unwound_at + 8, unwound_at + unwound_size]);
  exports.asyncify_start_unwind(unwound_at);
}

async function start_with_asyncify() {
  // Pages of its own above the program's memory, which its allocator grows past.
  unwound_at = memory.grow(unwound_size / 65536) * 65536;
  for (;;) {
    exports._start();
    if (exports.asyncify_get_state() !== unwinding) return;
    exports.asyncify_stop_unwind();
    await sleeping;
    exports.asyncify_start_rewind(unwound_at);
  }
}

const page = {
  wait: null,  // by JSPI or by unwinding, as run() chooses
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

async function run(module, asyncify) {
  page.wait = asyncify ? wait_by_unwinding : new WebAssembly.Suspending(sleep);
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
    exports = instance.exports;
    if (asyncify) await start_with_asyncify();
    else await WebAssembly.promising(exports._start)();
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
    run(data.run, data.asyncify);
  }
};
