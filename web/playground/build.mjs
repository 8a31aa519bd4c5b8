// Writes the playground (scripts/web playground): the page and its workers,
// the compiler that runs in the page, the editor, the examples, and the
// library built ahead of time with that same compiler, with the headers a
// program includes.
//
//   node web/playground/build.mjs KAVEX_ROOT PROGRAMS_DIR OUT_DIR
//
// PROGRAMS_DIR is a web build folder (its programs.tsv lists the examples).
// The library is built again only when its sources or the flags changed.
import crypto from 'node:crypto';
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { runClang, runLLVM } from '@yowasp/clang';
import { read_library } from '../library.mjs';
import { read_programs } from '../programs.mjs';
import { reference } from '../reference.mjs';
import { library_flags } from './flags.mjs';
import { page_interface_header } from './page_interface.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
const [root, programs_dir, out] = process.argv.slice(2);
if (!out) {
  console.error('usage: node build.mjs KAVEX_ROOT PROGRAMS_DIR OUT_DIR');
  process.exit(2);
}
const graphics = path.join(root, 'graphics');
// The library's manifest as the web build wrote it: the playground's
// sources, the public headers, and the folders of SDL's headers (whose types
// the playground compiles against) and of stb's picture and OGG decoders.
const manifest = read_library(programs_dir);
if (!manifest.folder('sdl_headers')) {
  console.error("playground: SDL 1.2's headers were not found when the web build was configured: install Debian's libsdl1.2-dev (scripts/bootstrap web does)");
  process.exit(1);
}

function read_folder(dir, keep) {
  const tree = {};
  for (const name of fs.readdirSync(dir).sort()) if (keep(name)) tree[name] = fs.readFileSync(path.join(dir, name));
  return tree;
}

// What a program includes: the public headers and SDL's, which give the types.
const public_headers = read_folder(graphics, (n) => manifest.public_headers.includes(n));
const sdl = read_folder(manifest.folder('sdl_headers'), (n) => n.endsWith('.h') && !/^SDL_(opengl|gfx|framerate|imageFilter|rotozoom)/.test(n));

// The compiler has said what failed; its exception would list every file it was given.
async function quietly(step, what) {
  try {
    return await step();
  } catch (e) {
    console.error(`playground: ${what} failed${e.code === undefined ? `: ${e.message}` : ''}`);
    process.exit(1);
  }
}

async function build_library() {
  const sources = manifest.sources('playground');
  const tree = {
    graphics: {
      ...read_folder(graphics, (n) => /\.(hpp|cpp|inc|h)$/.test(n)),
      'page_interface.hpp': Buffer.from(page_interface_header()),
    },
    include: { SDL: sdl },
    stb: Object.fromEntries(['stb_image.h', 'stb_image_write.h', 'stb_vorbis.h'].map((n) => [n, fs.readFileSync(path.join(manifest.folder('stb'), n))])),
  };
  const hash = crypto.createHash('sha256');
  hash.update(JSON.stringify([library_flags, sources]));
  for (const [name, bytes] of Object.entries(tree.graphics)) hash.update(name).update(bytes);
  const stamp = hash.digest('hex');
  // Kept beside the playground, not in it: the page takes the library from kavex-files.json.
  const cache = path.join(path.dirname(out), 'playground-library');
  fs.mkdirSync(cache, { recursive: true });
  const cached = path.join(cache, 'libkavex.a');
  const stamp_file = path.join(cache, 'libkavex.stamp');
  if (fs.existsSync(cached) && fs.existsSync(stamp_file) && fs.readFileSync(stamp_file, 'utf8') === stamp) {
    return fs.readFileSync(cached);
  }
  const objects = {};
  for (const source of sources) {
    const object = source.replace(/\.cpp$/, '.o');
    const t0 = Date.now();
    const made = await quietly(() => runClang(['clang++', ...library_flags, '-Igraphics', '-Iinclude', '-Istb',
      '-c', `graphics/${source}`, '-o', object], tree, { fetchProgress: () => {} }), `compiling ${source}`);
    objects[object] = made[object];
    console.log(`playground: compiled ${source} (${Date.now() - t0} ms)`);
  }
  const made = await quietly(() => runLLVM(['ar', 'rcs', 'libkavex.a', ...Object.keys(objects)], objects), 'archiving');
  fs.writeFileSync(cached, made['libkavex.a']);
  fs.writeFileSync(stamp_file, stamp);
  return Buffer.from(made['libkavex.a']);
}

// Text as text, bytes as base64, in one JSON file the compiler's worker unpacks.
function packed(tree) {
  const out = {};
  for (const [name, value] of Object.entries(tree)) {
    if (Buffer.isBuffer(value)) {
      const text = value.toString('utf8');
      out[name] = Buffer.from(text, 'utf8').equals(value) && !name.endsWith('.a') ? text : { base64: value.toString('base64') };
    } else {
      out[name] = packed(value);
    }
  }
  return out;
}

function examples() {
  return read_programs(programs_dir).map((p) => {
    // The folders of files beside the source, which the program loads as "pictures/NAME", "sounds/NAME".
    const files = {};
    for (const kind of ['pictures', 'sounds']) {
      const folder = path.join(root, path.dirname(p.source), kind);
      if (!fs.existsSync(folder)) continue;
      for (const [n, b] of Object.entries(read_folder(folder, (n) => !n.startsWith('.')))) files[`${kind}/${n}`] = b.toString('base64');
    }
    return {
      name: p.name, title: p.title, hint: p.hint,
      source: fs.readFileSync(path.join(root, p.source), 'utf8'),
      files,
    };
  });
}

// The reference, for the page's Reference panel: its anchors prefixed, so
// that none is an id of the page's own; an example's link opens it in the
// playground, a picture is the copy in reference/.
function reference_fragment(programs) {
  const link_of = (target) => {
    if (target.startsWith('#')) return `#ref-${target.slice(1)}`;
    if (/^[a-z]+:/.test(target)) return target;
    const file = path.basename(target.split('#')[0]);
    const program = programs.find((p) => path.basename(p.source) === file && p.source.startsWith('examples/'));
    if (program) return `#example=${program.name}`;
    return file.endsWith('.png') ? `reference/${file}` : null;
  };
  return reference(fs.readFileSync(path.join(root, 'docs', 'api.md'), 'utf8'), link_of, 'ref-').html;
}

// Every file of the folder, by its path from it.
function files_under(dir, prefix = '') {
  return fs.readdirSync(dir, { withFileTypes: true }).sort((a, b) => (a.name < b.name ? -1 : 1)).flatMap((entry) => (entry.isDirectory()
    ? files_under(path.join(dir, entry.name), `${prefix}${entry.name}/`) : [`${prefix}${entry.name}`]));
}

// The service worker, with the folder's files to keep and a version that
// changes with any of them (sw.js says why).
function write_service_worker() {
  const files = files_under(out).filter((f) => f !== 'sw.js');
  const hash = crypto.createHash('sha256');
  for (const file of files) hash.update(file).update(fs.readFileSync(path.join(out, file)));
  const worker = fs.readFileSync(path.join(here, 'sw.js'), 'utf8')
    .replace("'VERSION'", `'${hash.digest('hex').slice(0, 16)}'`)
    .replace('FILES', JSON.stringify(['./', ...files], null, 1));
  fs.writeFileSync(path.join(out, 'sw.js'), worker);
}

function copy(from, to) {
  fs.mkdirSync(path.dirname(to), { recursive: true });
  fs.copyFileSync(from, to);
}

fs.mkdirSync(out, { recursive: true });
const library = await build_library();
fs.writeFileSync(path.join(out, 'kavex-files.json'),
  JSON.stringify(packed({ include: { ...public_headers, SDL: sdl }, lib: { 'libkavex.a': library } })));
fs.writeFileSync(path.join(out, 'examples.json'), JSON.stringify(examples()));
const reference_html = reference_fragment(read_programs(programs_dir));
fs.writeFileSync(path.join(out, 'reference.html'), reference_html);
for (const [, picture] of reference_html.matchAll(/src="reference\/([^"]+)"/g)) {
  copy(path.join(root, 'docs', picture), path.join(out, 'reference', picture));
}
for (const name of ['index.html', 'playground.css', 'playground.mjs', 'output.mjs', 'mistakes.mjs', 'storage.mjs',
  'workspace.mjs', 'address.mjs', 'keys.mjs', 'page_interface.mjs', 'flags.mjs', 'compiler.mjs', 'runner.mjs', 'wasi.mjs', 'runs.mjs', 'speaker.mjs',
  'speaker_worklet.js', 'manifest.webmanifest', 'words.mjs', ...fs.readdirSync(path.join(here, 'words')).map((name) => `words/${name}`),
  'icon-192.png', 'icon-512.png']) {
  copy(path.join(here, name), path.join(out, name));
}
const clang = path.join(here, 'node_modules', '@yowasp', 'clang', 'gen');
for (const name of fs.readdirSync(clang)) copy(path.join(clang, name), path.join(out, 'clang', name));
// Binaryen, for a browser without WebAssembly's promise integration (compiler.mjs).
copy(path.join(here, 'node_modules', 'binaryen', 'index.js'), path.join(out, 'binaryen', 'index.js'));
copy(path.join(here, 'node_modules', 'binaryen', 'LICENSE'), path.join(out, 'binaryen', 'LICENSE'));
const codemirror = path.join(here, 'node_modules', 'codemirror');
for (const name of ['lib/codemirror.js', 'lib/codemirror.css', 'mode/clike/clike.js', 'LICENSE']) {
  copy(path.join(codemirror, name), path.join(out, 'codemirror', name));
}
write_service_worker();
console.log(`playground: wrote ${out}`);
