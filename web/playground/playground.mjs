// The playground's page: the editor, Run and Stop, the picture, the output.
//
// The program is compiled in one Worker (compiler.mjs), which keeps the
// compiler for the whole visit, and runs in another (runner.mjs), a fresh one
// for every Run, which Stop ends at once: the page stays free whatever the
// program does. A link carries a program, an example or a teacher's
// assignment in the address (address.mjs): the program is opened and run,
// the assignment's starter code opened, with Check to compare.
// Record runs the program and keeps its input as a transcript to download;
// Replay… runs it on a transcript instead of the keys and mouse (runs.mjs).
// For the tests and the benchmark, window.playground tells how far a run got.
import { asked_by, link_to_program } from './address.mjs';
import { key_record, pointer_records } from './keys.mjs';
import { page_record } from './page_interface.mjs';
import { endless_recursion, students_function, students_line, wasm_frames, what_went_wrong } from './mistakes.mjs';
import { output_panel } from './output.mjs';
import { open_speaker, play, silence } from './speaker.mjs';
import { check_pictures, frames_list, read_assignment, record_settings, replay_settings, show_check, transcript_file } from './runs.mjs';
import { choose_language, language, languages, put_words, say } from './words.mjs';
import { workspace } from './workspace.mjs';

const $ = (id) => document.getElementById(id);
const canvas = $('canvas');
const context = canvas.getContext('2d');
const output = $('output');
const status = (text) => { $('status').textContent = text; };
const header = document.querySelector('header');
new ResizeObserver(() => document.body.style.setProperty('--header', `${header.offsetHeight}px`)).observe(header);

put_words(document);
status(say('getting_ready'));

// The language menu: the page's words change at once, the program's
// explanations at its next Run.
const language_menu = $('language');
for (const [code, name] of Object.entries(languages)) language_menu.add(new Option(name, code));
language_menu.value = language();
language_menu.addEventListener('change', () => {
  choose_language(language_menu.value);
  put_words(document);
});

// Without WebAssembly's promise integration (JSPI), each program is rewritten
// by Asyncify after linking; ?asyncify asks for that anywhere.
const asyncify = !('Suspending' in WebAssembly && 'promising' in WebAssembly) ||
  new URLSearchParams(location.search).has('asyncify');

const state = window.playground = {
  asyncify,         // the programs wait by Asyncify, not JSPI
  ready: false,     // the compiler is ready
  ready_at: 0,      // ms from opening the page until then
  runs: 0,          // Runs so far
  running: false,   // a program runs now
  frames: 0,        // the running program's refreshes shown
  first_frame: 0,   // ms from Run to the first picture
  times: null,      // ms of the last run's steps: compile, link, asyncify, start
  ended: null,      // the last program's exit status, once it ended
  failed: false,    // the last Run stopped at the compiler
  mistake: null,    // the last program stopped on a mistake: { words, line } (0: no line known)
  printed: '',      // the text under the picture, the program's and the compiler's (the panel's, below)
  recorded: '',     // the transcript of the last Record
  replayed: null,   // the frames list (frames.txt) of the last Replay or Check
  assignment: null, // the open assignment's title
  check: null,      // the last Check: { passed, pictures: [{ event, differing }] }
};

// Ctrl+Enter, in the editor or anywhere, reaches the page's own listener (below).
const editor = CodeMirror.fromTextArea($('source'), {
  mode: 'text/x-c++src', lineNumbers: true, indentUnit: 4, theme: 'default',
});

// --- the student's programs and the examples
const examples = await fetch('examples.json').then((r) => r.json());
const work = await workspace({ editor, examples, say: status });

// --- output: the program's, the library's explanations, the compiler's messages
function go_to_line(line, column = 1) {
  editor.focus();
  editor.setCursor({ line: line - 1, ch: column - 1 });
}
const out = output_panel(output, { go_to_line });
Object.defineProperty(state, 'printed', { get: () => out.text(), enumerable: true });

// --- the compiler, kept for the whole visit
const compiler = new Worker('compiler.mjs', { type: 'module' });
const compiling = new Map();
let compile_count = 0;
compiler.onmessage = ({ data }) => {
  if (data.progress) {
    show_progress(data.progress);
    return;
  }
  if (data.ready) {
    compiler_is_ready();
    return;
  }
  compiling.get(data.id)(data);
  compiling.delete(data.id);
};

// The first visit downloads the compiler (about 105 MB): a bar says how far.
function show_progress({ done, total }) {
  if (state.ready || !total) return;
  const bar = $('progress');
  bar.hidden = false;
  bar.max = total;
  bar.value = done;
  status(done < total ? say('getting_ready_mb', { done: Math.round(done / 1e6), total: Math.round(total / 1e6) })
    : say('starting_compiler'));
}

// Ready to Run once the compiler's module is compiled. The program shown is
// compiled at once: the compiler's first compile of a visit is its slowest,
// and a first Run of that program takes its result.
function compiler_is_ready() {
  if (state.ready) return;
  state.ready = true;
  state.ready_at = performance.now();
  $('progress').hidden = true;
  for (const id of ['run', 'record', 'replay', 'check']) $(id).disabled = false;
  if (state.runs) {
    status(say('compiling'));  // the Run of a link, which waited for the compiler
    return;
  }
  status(say(work.lasting ? 'ready_kept' : 'ready_not_kept'));
  const source = editor.getValue();
  warm_up = { source, result: ask_compiler({ source, asyncify }) };
}

function ask_compiler(request) {
  const id = ++compile_count;
  return new Promise((resolve) => {
    compiling.set(id, resolve);
    compiler.postMessage({ id, ...request });
  });
}
// The compile made while getting ready: a first Run of the same program
// takes its result instead of compiling again.
let warm_up = null;
function compile(source) {
  const made = warm_up && warm_up.source === source ? warm_up.result : ask_compiler({ source, asyncify });
  warm_up = null;
  return made;
}

// Each frame's places in the source, innermost first; none for a program
// rewritten for Asyncify.
async function places_of(frames) {
  if (!frames.length) return [];
  return (await ask_compiler({ symbolize: frames.map((f) => f.offset) })).places;
}

// --- running
let runner = null;

// Browsers let a page sound only after its visitor's first click or key; a
// program that started before that learns it at that moment, once.
const may_sound = () => !navigator.userActivation || navigator.userActivation.hasBeenActive;
let told_of_sound = null;  // the runner that knows it may sound
for (const type of ['pointerdown', 'keydown']) {
  addEventListener(type, () => {
    if (!runner || told_of_sound === runner) return;
    runner.postMessage({ sound_allowed: true });
    told_of_sound = runner;
  }, { capture: true });
}

function stop(why) {
  if (!runner) return;
  runner.terminate();
  runner = null;
  silence();
  busy.hidden = true;
  state.running = false;
  $('stop').disabled = true;
  out.end_of_run();
  if (why) out.print(`${why}\n`, 'stopped');
}

// The last of what the program wrote to standard error: the C++ library's
// and libc's checks say there what failed, just before they stop it.
let error_tail = '';

// The program stopped on a mistake: what it was, at the student's line.
async function report_mistake(message, stack) {
  const frames = wasm_frames(stack);
  const places = await places_of(frames);
  const words = what_went_wrong(message, frames, error_tail, places);
  // A function calling itself is named where it calls, not where it starts.
  const from = endless_recursion(message, frames) ? 1 : 0;
  const place = students_line(places.slice(from));
  let said;
  if (place) said = out.link(say('stopped_at_line', { line: place.line, why: words }), place.line, place.column || 1, 'mistake');
  else {
    const in_function = students_function(frames.slice(from));
    const text = in_function ? say('stopped_in', { function: in_function, why: words }) : say('stopped_because', { why: words });
    said = out.print(`${text}\n`, 'mistake');
  }
  out.into_view(said);
  state.mistake = { words, line: place ? place.line : 0 };
}

// An explanation of the library's names the student's line that led to it.
async function name_line(piece, stack) {
  const place = students_line(await places_of(wasm_frames(stack)));
  if (!place || !piece.isConnected) return;
  piece.textContent = piece.textContent.replace(/\n$/, '');
  piece.append(out.line_link(say('explained_line', { line: place.line }), place.line, place.column || 1, 'explained-line'), '\n');
}

// A program that neither waits for events nor refreshes for a while may be
// in an endless loop: the page says so, calmly, and lets it run.
const quiet_limit = 5000;
let last_sign_of_life = 0;
const busy = $('busy');
setInterval(() => {
  busy.hidden = !(runner && performance.now() - last_sign_of_life > quiet_limit);
}, 500);

function on_program({ data }) {
  if (data.frame || data.waiting) {
    last_sign_of_life = performance.now();
    busy.hidden = true;
  }
  if (data.waiting) return;
  if (data.frame) {
    if (data.width !== canvas.width || data.height !== canvas.height) {
      canvas.width = data.width;
      canvas.height = data.height;
    }
    context.putImageData(new ImageData(data.pixels, data.width, data.height), 0, 0);
    if (!state.frames) {
      state.first_frame = performance.now() - run_started;
      state.times.start = performance.now() - linked_at;
    }
    state.frames = data.frame;
  } else if (data.opened) {
    canvas.width = data.width;
    canvas.height = data.height;
  } else if (data.out) {
    out.left_out(data.left_out);
    for (const [fd, text, stack] of data.out) {
      if (fd === 2) error_tail = (error_tail + text).slice(-4000);
      const piece = out.program(fd, text);
      if (stack && piece) name_line(piece, stack);
    }
  } else if (data.title !== undefined) {
    $('caption').textContent = data.title;
  } else if (data.sound) {
    play(data.sound);
  } else if (data.sound_open) {
    open_speaker(data.sound_open);
  } else if (data.saved) {
    offer(data.saved, data.bytes);
  } else if (data.recorded) {
    state.recorded += data.recorded;
  } else if (data.pictures) {
    replayed(data.pictures);
  } else if (data.ended !== undefined) {
    state.ended = data.ended;
    stop(data.ended ? say('program_ended_with', { status: data.ended }) : say('program_ended'));
    status(say('ended'));
    if (purpose === 'record') offer_recording();
  } else if (data.crashed) {
    stop();
    status(say('stopped_on_mistake'));
    report_mistake(data.crashed, data.stack);
  }
}

// A file the program saved, offered for download as the pages do.
function offer(name, bytes) {
  const link = document.createElement('a');
  link.href = URL.createObjectURL(new Blob([bytes]));
  link.download = name.split('/').pop();
  link.textContent = say('download_file', { file: name });
  const item = document.createElement('li');
  item.append(link);
  $('downloads').append(item);
}

let run_started = 0;
let linked_at = 0;

// What this run is for: 'run', 'record', 'replay' or 'check'.
let purpose = 'run';

// `env` and `files` go to the program besides the usual ones.
async function run({ env = [], files = {}, why = 'run' } = {}) {
  if (!state.ready && state.runs > 0) return;  // the first Run (of a link) waits for the compiler
  stop();
  purpose = why;
  show_reference(false);
  ++state.runs;
  const this_run = state.runs;
  Object.assign(state, { frames: 0, first_frame: 0, times: null, ended: null, failed: false, mistake: null });
  if (why === 'record') state.recorded = '';
  if (why === 'replay' || why === 'check') Object.assign(state, { replayed: null, check: null });
  $('check-result').hidden = true;
  error_tail = '';
  run_started = performance.now();
  out.clear();
  $('caption').textContent = '';
  $('downloads').textContent = '';
  context.fillStyle = '#000';
  context.fillRect(0, 0, canvas.width, canvas.height);
  status(state.ready ? say('compiling') : $('status').textContent);
  const result = await compile(editor.getValue());
  if (this_run !== state.runs) return;  // another Run came meanwhile
  out.compiler(result.messages);
  if (result.failed) {
    state.failed = true;
    status(say('compiler_mistakes'));
    return;
  }
  state.times = { ...result.times };
  linked_at = performance.now();
  const module = await WebAssembly.compile(result.wasm);
  runner = new Worker('runner.mjs', { type: 'module' });
  last_sign_of_life = performance.now();
  runner.onmessage = on_program;
  runner.onerror = (e) => {
    stop(say('stopped_because', { why: e.message }));
    status(say('stopped_on_mistake'));
  };
  state.running = true;
  $('stop').disabled = false;
  status(say(touch_keys.hidden ? 'running_click' : 'running'));
  // On a narrow screen the picture is above the editor: bring it into view.
  const box = canvas.getBoundingClientRect();
  if (box.top < 0 || box.bottom > innerHeight) canvas.scrollIntoView({ block: 'nearest' });
  runner.postMessage({ run: module, files: { ...work.files(), ...files }, asyncify, env: [`KAVEX_LANG=${language()}`, ...env], sound_allowed: may_sound() });
}

$('run').addEventListener('click', () => run());
$('stop').addEventListener('click', () => {
  if (purpose === 'record') return end_recording();
  stop(say('stopped_run'));
  status(say('stopped'));
});

// --- Record, Replay…, and a teacher's assignment
$('record').addEventListener('click', () => {
  run({ env: record_settings, why: 'record' });
  status(say('recording'));
});

// Stop closes the program's window, so that the recording ends as a closed
// window ends it, whole; a program that will not end is stopped after a second.
function end_recording() {
  send(page_record('window_close'));
  const this_run = runner;
  setTimeout(() => {
    if (runner !== this_run) return;
    stop(say('stopped_run'));
    offer_recording();
  }, 1000);
}

function offer_recording() {
  if (!state.recorded) return;
  offer(transcript_file, new TextEncoder().encode(state.recorded));
  status(say('recorded', { lines: state.recorded.split('\n').length - 2, file: transcript_file }));
}

function replay(transcript, why) {
  return run({ env: replay_settings, files: { [transcript_file]: new TextEncoder().encode(transcript) }, why });
}

$('replay').addEventListener('click', () => $('replay-file').click());
$('replay-file').addEventListener('change', async (e) => {
  const [file] = e.target.files;
  e.target.value = '';
  if (file) replay(await file.text(), 'replay');
});

let assignment = null;
const assignment_shelf = 'kavex-playground-assignment';

async function open_assignment(text, { keep = true } = {}) {
  try {
    assignment = read_assignment(text);
  } catch (error) {
    status(say('no_assignment', { why: error.message }));
    return false;
  }
  state.assignment = assignment.title;
  $('check').hidden = false;
  $('check').title = say('check_title', { title: assignment.title });
  if (keep) {
    try { localStorage.setItem(assignment_shelf, text); } catch { /* kept for this visit only */ }
    await work.open_link_program(assignment.starter);
  }
  status(say('assignment_open', { title: assignment.title }));
  return true;
}

$('assignment').addEventListener('click', () => $('assignment-file').click());
$('assignment-file').addEventListener('change', async (e) => {
  const [file] = e.target.files;
  e.target.value = '';
  if (file) open_assignment(await file.text());
});
$('check').addEventListener('click', () => {
  if (assignment) replay(assignment.transcript, 'check');
});

async function replayed(pictures) {
  state.replayed = new TextDecoder().decode(pictures[frames_list] || new Uint8Array());
  if (purpose !== 'check') {
    status(say('replayed', { pictures: state.replayed.split('\n').length - 2 }));
    return;
  }
  const results = await check_pictures(assignment, pictures);
  show_check($('check-result'), assignment, results);
  $('check-result').scrollIntoView({ block: 'nearest' });
  state.check = { passed: results.every((r) => r.passed), pictures: results.map((r) => ({ event: r.event, differing: r.differing })) };
  status(say(state.check.passed ? 'check_passed' : 'check_failed'));
}
document.addEventListener('keydown', (e) => {
  if ((e.ctrlKey || e.metaKey) && e.key === 'Enter') {
    e.preventDefault();
    run();
  } else if ((e.ctrlKey || e.metaKey) && e.key.toLowerCase() === 's') {
    e.preventDefault();
    work.save_now();
  }
});

$('share').addEventListener('click', async () => {
  const link = link_to_program(location.href, editor.getValue());
  history.replaceState(null, '', link);
  try {
    await navigator.clipboard.writeText(link);
    status(say('link_copied'));
  } catch {
    status(say('link_in_address'));
  }
});

// --- the reference, beside the editor in the result's place
const reference = $('reference');
let reference_loaded = null;

function show_reference(open) {
  reference.hidden = !open;
  $('result').hidden = open;
  $('reference-button').setAttribute('aria-expanded', String(open));
  if (open && !reference_loaded) {
    $('reference-text').textContent = say('loading');
    reference_loaded = fetch('reference.html').then((r) => r.text()).then((html) => { $('reference-text').innerHTML = html; });
  }
}

$('reference-button').addEventListener('click', () => show_reference(reference.hidden));
$('reference-close').addEventListener('click', () => show_reference(false));
// Its own links move within it; a link to an example opens it (hashchange).
reference.addEventListener('click', (e) => {
  const link = e.target.closest('a[href^="#"]');
  if (!link) return;
  const target = link.getAttribute('href').slice(1);
  if (target.startsWith('example=')) return;
  e.preventDefault();
  const entry = document.getElementById(target);
  if (entry) reference.scrollTop = entry.offsetTop - reference.querySelector('.reference-bar').offsetHeight;
});

// --- the picture's keys and mouse go to the program
const send = (record) => { if (runner) runner.postMessage({ input: record }); };
for (const type of ['keydown', 'keyup']) {
  canvas.addEventListener(type, (e) => {
    if ((e.ctrlKey || e.metaKey) && e.key === 'Enter') return;  // Run
    if (!e.ctrlKey && !e.metaKey && !/^F(5|11|12)$/.test(e.key)) e.preventDefault();
    send(key_record(e));
  });
}
for (const type of ['pointermove', 'pointerdown', 'pointerup', 'wheel']) {
  canvas.addEventListener(type, (e) => {
    if (type === 'pointerdown') {
      canvas.focus();
      canvas.setPointerCapture(e.pointerId);
    }
    if (type === 'wheel') e.preventDefault();
    for (const record of pointer_records(e, canvas)) send(record);
  }, { passive: false });
}
canvas.addEventListener('contextmenu', (e) => e.preventDefault());

// A device without a keyboard gets a row of keys under the picture, which
// send what the real keys send (?keys shows them anywhere).
const touch_keys = $('touch-keys');
touch_keys.hidden = !(matchMedia('(hover: none) and (pointer: coarse)').matches || new URLSearchParams(location.search).has('keys'));
for (const button of touch_keys.querySelectorAll('button')) {
  const key = { key: button.dataset.key, code: button.dataset.code || button.dataset.key, ctrlKey: false, altKey: false, metaKey: false };
  let held = false;
  const press = (type) => (e) => {
    e.preventDefault();
    if ((type === 'keydown') === held) return;
    held = type === 'keydown';
    send(key_record({ ...key, type }));
  };
  button.addEventListener('pointerdown', press('keydown'));
  for (const end of ['pointerup', 'pointercancel', 'pointerleave']) button.addEventListener(end, press('keyup'));
}
canvas.addEventListener('blur', () => send(page_record('keyboard_lost')));

// --- what the address asks for: a program to run, taken into the list (and
// the address cleared, so that a reload opens the student's work), or what
// was open last
async function open_from_address() {
  const asked = asked_by(location.hash);
  let taken = false;
  if (asked?.code !== undefined) {
    await work.open_link_program(asked.code);
    taken = true;
  } else if (asked?.damaged) {
    status(say('link_damaged'));
  } else if (asked?.example !== undefined) {
    taken = await work.open_example(asked.example);
  } else if (asked?.assignment !== undefined) {
    const text = await fetch(asked.assignment).then((r) => (r.ok ? r.text() : '')).catch(() => '');
    if (text) await open_assignment(text);
    else status(say('no_assignment', { why: say('assignment_unfetched', { address: asked.assignment }) }));
    history.replaceState(null, '', location.pathname + location.search);
    return false;
  }
  if (location.hash) history.replaceState(null, '', location.pathname + location.search);
  if (!taken) await work.restore();
  return taken;
}

window.addEventListener('hashchange', async () => { if (await open_from_address()) run(); });

// The assignment of an earlier visit stays until another one is opened.
let kept_assignment = null;
try { kept_assignment = localStorage.getItem(assignment_shelf); } catch { /* a browser that keeps nothing */ }
if (kept_assignment) await open_assignment(kept_assignment, { keep: false });
if (await open_from_address()) run();

// After this visit, the playground opens with no network (sw.js). Browsers
// allow it on HTTPS and the local address only; elsewhere it is online only.
if ('serviceWorker' in navigator) navigator.serviceWorker.register('sw.js').catch(() => {});
