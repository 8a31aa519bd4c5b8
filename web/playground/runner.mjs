// A Worker that runs one program compiled in the page: a fresh one for every
// Run, ended by the page at Stop, so that nothing a program does (an endless
// loop, a crash, a huge allocation) reaches the page.
//
// From the page:  { run: WebAssembly.Module, files: { name: Uint8Array }, asyncify, env: ['NAME=VALUE'], sound_allowed },
//                 then { input: [numbers] }, and { sound_allowed: true } at the visitor's first click or key
// To the page:    { frame, width, height, pixels }  the picture at a refresh (RGBA bytes)
//                 { out: [[fd, text, stack?], ...], left_out }  what the program printed, gathered;
//                                                    an explanation of the library's with the stack that wrote it
//                 { waiting: true }                  the program waits for events (at most once a second)
//                 { title }, { saved: name, bytes }, { ended: status }, { crashed: message, stack }
//                 { recorded: text }                 what KAVEX_RECORD adds to its transcript
//                 { pictures: { name: bytes } }      at the end, what KAVEX_FRAMES wrote
//                 { sound_open: rate }, { sound: Int16Array or count }   the program's first sound, then
//                                                    its stereo frames (a count: of silence), a little
//                                                    ahead of when they play
//
// What a program prints is gathered here and handed on at most five times a
// second, the newest megabyte of it: a program that prints in an endless
// loop would otherwise bury the page under messages.
//
// The program's wait (graphics/sdl_side_playground.cpp) suspends it in a
// promise, through WebAssembly's promise integration (JSPI), or where the
// browser has none, through the program's own Asyncify (compiler.mjs):
// meanwhile the page's input arrives here.
import { record_fields } from './page_interface.mjs';
import { wasi } from './wasi.mjs';

let memory = null;
const input = [];        // records from the page, oldest first (keys.mjs)
let wake = null;         // ends the program's sleep early, when input comes
const files = new Map(); // name → bytes: the examples' pictures, and what the program saves
let frames = 0;
let waiting_frame = null;  // where the latest picture is, sent when the program waits
let frame_sent_at = 0;
let waiting_said_at = -Infinity;
const started = performance.now();

// --- what the program prints, gathered
const output_pause = 200;        // ms between two hand-overs to the page
const output_kept = 1 << 20;     // characters kept between two hand-overs
let printed = [];                // [fd, text], oldest first
let printed_size = 0;
let printed_left_out = 0;        // lines dropped since the last hand-over
let printed_handed_at = 0;
let hand_over_timer = null;

const lines_in = (text) => text.split('\n').length - 1;

function hand_over_output() {
  clearTimeout(hand_over_timer);
  hand_over_timer = null;
  printed_handed_at = performance.now();
  if (!printed.length && !printed_left_out) return;
  postMessage({ out: printed, left_out: printed_left_out });
  printed = [];
  printed_size = 0;
  printed_left_out = 0;
}

// Enough frames to find the student's own below the library's and libc's,
// and to tell endless recursion by its depth.
Error.stackTraceLimit = 200;

function gather_output(fd, text) {
  const last = printed[printed.length - 1];
  if (fd === 2 && text.includes('kavex: ')) printed.push([fd, text, new Error().stack]);
  else if (last && last[0] === fd && last.length === 2) last[1] += text;
  else printed.push([fd, text]);
  printed_size += text.length;
  while (printed_size > output_kept && printed.length) {
    const [, oldest] = printed.shift();
    printed_size -= oldest.length;
    printed_left_out += lines_in(oldest);
  }
  // A program that never waits gets no timer: it hands over as it prints.
  if (performance.now() - printed_handed_at >= output_pause) hand_over_output();
  else if (!hand_over_timer) hand_over_timer = setTimeout(hand_over_output, output_pause);
}

const text = (at) => {
  const bytes = new Uint8Array(memory.buffer, at);
  return new TextDecoder().decode(bytes.subarray(0, bytes.indexOf(0)));
};

// The picture of the last refresh, copied once the program waits: a program
// that refreshes faster than the page shows costs one copy per pause.
function send_frame() {
  if (!waiting_frame) return;
  const { at, width, height } = waiting_frame;
  waiting_frame = null;
  frame_sent_at = performance.now();
  const pixels = new Uint8ClampedArray(memory.buffer.slice(at, at + 4 * width * height));
  postMessage({ frame: frames, width, height, pixels }, [pixels.buffer]);
}

// The page learns, once a second at most, that the program still waits for events.
function say_waiting() {
  if (performance.now() - waiting_said_at < 1000) return;
  waiting_said_at = performance.now();
  postMessage({ waiting: true });
}

// Up to `ms` ms, less when input comes.
const sleep = (ms) => new Promise((resolve) => {
  say_waiting();
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

// The page's functions that the library imports (page_interface.mjs names them).
const page = {
  wait: null,  // by JSPI or by unwinding, as run() chooses
  now: () => Math.floor(performance.now() - started) >>> 0,
  poll(at) {
    if (input.length === 0) return 0;
    new Int32Array(memory.buffer, at, record_fields.length).set(input.shift());
    return 1;
  },
  open(width, height) {
    postMessage({ opened: true, width, height });
  },
  // A program that refreshes without waiting still shows ten pictures a second.
  frame(at, width, height) {
    ++frames;
    if (!waiting_frame) setTimeout(send_frame, 0);
    waiting_frame = { at, width, height };
    if (performance.now() - frame_sent_at >= 100) send_frame();
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
  sound_allowed: () => (sound_allowed ? 1 : 0),
  sound_open: (rate) => postMessage({ sound_open: rate }),
  sound(at, count) {
    if (!at) return postMessage({ sound: count });
    const frames = new Int16Array(memory.buffer.slice(at, at + 4 * count));
    postMessage({ sound: frames }, [frames.buffer]);
  },
  // A recording goes to the page as it grows: Stop ends this Worker at once.
  file_append(name_at, at, size, start_new) {
    const name = text(name_at);
    const chunk = new Uint8Array(memory.buffer, at, size);
    files.set(name, appended(start_new ? null : files.get(name), chunk));
    if (name === setting('KAVEX_RECORD')) postMessage({ recorded: new TextDecoder().decode(chunk) });
  },
};

// A file that grows a line at a time keeps room to grow in, doubling it when
// full: copying the whole file at each line made a long recording quadratic
// (36,000 lines took 6 s). Only buffers made here are grown in place.
const growing = new WeakSet();
function appended(before, chunk) {
  const length = (before ? before.length : 0) + chunk.length;
  if (before && growing.has(before.buffer) && before.byteOffset === 0 && before.buffer.byteLength >= length) {
    const whole = new Uint8Array(before.buffer, 0, length);
    whole.set(chunk, before.length);
    return whole;
  }
  const room = new ArrayBuffer(Math.max(length, 2 * (before ? before.length : 0), 4096));
  growing.add(room);
  const whole = new Uint8Array(room, 0, length);
  if (before) whole.set(before);
  whole.set(chunk, before ? before.length : 0);
  return whole;
}

let sound_allowed = false;  // browsers sound only after the visitor's first click or key
let environment = [];
const setting = (name) => (environment.find((s) => s.startsWith(`${name}=`)) || '').slice(name.length + 1);

// What KAVEX_FRAMES wrote: the list and the pictures in its folder.
function hand_over_pictures() {
  const folder = setting('KAVEX_FRAMES');
  if (!folder) return;
  const pictures = {};
  for (const [name, bytes] of files) if (name.startsWith(`${folder}/`)) pictures[name.slice(folder.length + 1)] = bytes;
  postMessage({ pictures });
}

async function run(module, asyncify, env = []) {
  page.wait = asyncify ? wait_by_unwinding : new WebAssembly.Suspending(sleep);
  environment = env;
  const system = wasi({
    args: ['main'],
    env: ['KAVEX_EXPLAIN=1', ...env],
    write: gather_output,
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
      hand_over_output();
      send_frame();
      hand_over_pictures();
      postMessage({ crashed: String(e.message || e), stack: String(e.stack) });
      return;
    }
    status = e.code;
  }
  hand_over_output();
  send_frame();
  hand_over_pictures();
  postMessage({ ended: status });
}

onmessage = ({ data }) => {
  if (data.input) {
    input.push(data.input);
    if (wake) wake();
  }
  if (data.sound_allowed) sound_allowed = true;
  if (data.run) {
    for (const [name, bytes] of Object.entries(data.files)) files.set(name, bytes);
    run(data.run, data.asyncify, data.env);
  }
};
