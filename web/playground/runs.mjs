// Runs on a transcript, in the page: the library records (KAVEX_RECORD) and
// replays (KAVEX_REPLAY, KAVEX_FRAMES) here as on the desktop, through the
// program's files (runner.mjs). A teacher's assignment, made by
// `kavex-check --assignment`, is checked here: the student's program replayed
// on its transcript, and its pictures after the chosen events compared with
// the solution's, with no server.
//
//   const a = read_assignment(text);                   // throws an Error that says what is wrong
//   const results = await check_pictures(a, pictures);  // pictures: what KAVEX_FRAMES wrote
//   show_check(element, a, results);
import { say } from './words.mjs';

export const transcript_file = 'run.txt';
const pictures_folder = 'frames';
export const record_settings = [`KAVEX_RECORD=${transcript_file}`];
export const replay_settings = [`KAVEX_REPLAY=${transcript_file}`, `KAVEX_FRAMES=${pictures_folder}`];
export const frames_list = 'frames.txt';

export function read_assignment(text) {
  let a;
  try {
    a = JSON.parse(text);
  } catch {
    throw new Error(say('not_json'));
  }
  if (!a || a.kavex_assignment !== 1) throw new Error(say('not_an_assignment'));
  const is_text = (v) => typeof v === 'string';
  if (!is_text(a.starter) || !is_text(a.transcript) || !Array.isArray(a.pictures) || !a.pictures.length ||
      !a.pictures.every((p) => Number.isInteger(p.event) && is_text(p.png))) {
    throw new Error(say('assignment_damaged'));
  }
  return { title: is_text(a.title) ? a.title : 'assignment', starter: a.starter, transcript: a.transcript,
    tolerance: Number(a.tolerance) || 0, pictures: a.pictures };
}

// The list KAVEX_FRAMES writes: event, file, width, height, checksum a line.
export function frames_of(list) {
  return list.split('\n').filter((l) => l && !l.startsWith('#')).map((l) => {
    const [event, file, width, height, sum] = l.split(' ');
    return { event: Number(event), file, width: Number(width), height: Number(height), sum };
  });
}

// The picture on the screen after `event`: the last one shown by then.
function shown_after(frames, event) {
  let shown = null;
  for (const f of frames) if (f.event <= event) shown = f;
  return shown;
}

async function image_of(bytes) {
  const bitmap = await createImageBitmap(new Blob([bytes], { type: 'image/png' }));
  const canvas = new OffscreenCanvas(bitmap.width, bitmap.height);
  const context = canvas.getContext('2d');
  context.drawImage(bitmap, 0, 0);
  return context.getImageData(0, 0, bitmap.width, bitmap.height);
}

const bytes_of_base64 = (text) => Uint8Array.from(atob(text), (c) => c.charCodeAt(0));

// The pixels that differ, and a picture of them: the expected one dimmed,
// each differing pixel red.
function difference(expected, yours) {
  const picture = new ImageData(expected.width, expected.height);
  const same_size = yours && yours.width === expected.width && yours.height === expected.height;
  let differing = same_size ? 0 : expected.width * expected.height;
  for (let i = 0; i < expected.data.length; i += 4) {
    const differs = !same_size || expected.data[i] !== yours.data[i] || expected.data[i + 1] !== yours.data[i + 1] ||
      expected.data[i + 2] !== yours.data[i + 2];
    if (differs && same_size) ++differing;
    picture.data.set(differs ? [255, 0, 0, 255] : [expected.data[i] >> 2, expected.data[i + 1] >> 2, expected.data[i + 2] >> 2, 255], i);
  }
  return { differing, picture };
}

// Each chosen picture of the assignment against the student's picture shown
// after the same event.
export async function check_pictures(assignment, pictures) {
  const frames = frames_of(new TextDecoder().decode(pictures[frames_list] || new Uint8Array()));
  const results = [];
  for (const p of assignment.pictures) {
    const expected = await image_of(bytes_of_base64(p.png));
    const shown = shown_after(frames, p.event);
    const yours = shown && pictures[shown.file] ? await image_of(pictures[shown.file]) : null;
    const { differing, picture } = difference(expected, yours);
    results.push({ event: p.event, expected, yours, difference: picture, differing, pixels: expected.width * expected.height,
      passed: yours !== null && differing <= assignment.tolerance });
  }
  return results;
}

function canvas_of(image, label) {
  const figure = document.createElement('figure');
  const canvas = document.createElement('canvas');
  canvas.width = image ? image.width : 1;
  canvas.height = image ? image.height : 1;
  if (image) canvas.getContext('2d').putImageData(image, 0, 0);
  const caption = document.createElement('figcaption');
  caption.textContent = label;
  figure.append(canvas, caption);
  return figure;
}

export function show_check(element, assignment, results) {
  element.textContent = '';
  const passed = results.filter((r) => r.passed).length;
  const summary = document.createElement('p');
  summary.className = passed === results.length ? 'passed' : 'failed';
  summary.textContent = say(passed === results.length ? 'check_all_as_expected' : 'check_some_differ',
    { title: assignment.title, passed, count: results.length });
  element.append(summary);
  for (const r of results) {
    const row = document.createElement('div');
    row.className = `check-row ${r.passed ? 'passed' : 'failed'}`;
    const words = !r.yours ? say('no_picture_yet')
      : r.differing ? say('pixels_differ', { differing: r.differing, pixels: r.pixels }) : say('the_same');
    const heading = document.createElement('p');
    heading.textContent = say('after_event', { event: r.event, result: words });
    row.append(heading, canvas_of(r.expected, say('expected')), canvas_of(r.yours, say('yours')), canvas_of(r.difference, say('difference')));
    element.append(row);
  }
  element.hidden = false;
}
