// Writes the gallery: every program of examples/list.txt as a page that runs
// it beside its source, an index of them with their pictures, and the
// reference (docs/api.md) as a page, so that each kavex name in a source
// leads to its entry. Everything opens from the disk, with no network.
//
//   node web/gallery.mjs ROOT PAGES OUT
//
// ROOT is the project, PAGES the folder of the built single pages (the web
// build's), OUT the gallery's folder (scripts/web gallery: PAGES/gallery).
import fs from 'node:fs';
import path from 'node:path';
import { read_programs } from './programs.mjs';
import { escape, reference } from './reference.mjs';

const [root, pages, out] = process.argv.slice(2);
if (!root || !pages || !out) {
  console.error('usage: node web/gallery.mjs ROOT PAGES OUT');
  process.exit(2);
}

// ---------------------------------------------------------------------------
// The reference's own links in the gallery.

// Where the reference's own links lead in the gallery: a program of the list
// to its page, a picture to the gallery's copy; other files are not there.
function gallery_link(target, programs) {
  if (target.startsWith('#') || /^[a-z]+:/.test(target)) return target;
  const file = path.basename(target.split('#')[0]);
  const program = programs.find((p) => path.basename(p.source) === file && p.source.startsWith('examples/'));
  if (program) return `${program.name}.html`;
  if (file.endsWith('.png')) return `pictures/${file}`;
  return null;
}

// ---------------------------------------------------------------------------
// A program's source, with line numbers, each kavex name a link to its entry.
// Comments, strings and preprocessor lines are shown as they are.

function source_html(text, entries) {
  const token = /(\/\/[^\n]*|\/\*[\s\S]*?\*\/|"(?:\\.|[^"\\\n])*"|'(?:\\.|[^'\\\n])*'|^[ \t]*#[^\n]*|[A-Za-z_][A-Za-z0-9_]*)/gm;
  let html = '';
  let at = 0;
  for (const m of text.matchAll(token)) {
    html += escape(text.slice(at, m.index));
    const t = m[0];
    if (/^[A-Za-z_]/.test(t) && entries.has(t)) {
      html += `<a href="reference.html#${entries.get(t)}">${escape(t)}</a>`;
    } else if (/^(\/\/|\/\*)/.test(t)) {
      html += `<span class="comment">${escape(t)}</span>`;
    } else {
      html += escape(t);
    }
    at = m.index + t.length;
  }
  html += escape(text.slice(at));
  // One element a line, its newline inside, so the text is the file's.
  return html.split('\n').map((line, i, all) => (i < all.length - 1 ? `<span class="line">${line}\n</span>` : line ? `<span class="line">${line}</span>` : ''))
    .join('');
}

// ---------------------------------------------------------------------------
// The pages.

const style = `
  .gallery-bar { font: 15px/1.4 sans-serif; background: #262a33; color: #d8dce4; padding: 10px 18px; }
  .gallery-bar a { color: #9cc2ff; }
  .gallery-bar h1 { display: inline; font-size: 18px; margin: 0 12px; }
  body.gallery-program { display: flex; flex-wrap: wrap; align-items: flex-start; }
  body.gallery-program .gallery-bar { flex: 1 0 100%; }
  body.gallery-program main { min-height: 0; flex: 0 0 auto; padding: 24px 24px 140px; }
  /* What to do stands above the source; what the program prints stays under the picture. */
  body.gallery-program #hint { display: none; }
  body.gallery-program figcaption { width: 100%; max-width: 100%; }
  section.source { flex: 1 1 420px; min-width: 0; margin: 24px; }
  section.source pre { margin: 0; padding: 12px 0; background: #111318; color: #d8dce4; font: 13px/1.45 monospace;
    overflow: auto; max-height: calc(100vh - 120px); counter-reset: line; border-radius: 4px; }
  section.source .line { display: block; padding-right: 12px; }
  section.source .line::before { counter-increment: line; content: counter(line); display: inline-block; width: 3.5em;
    margin-right: 1em; text-align: right; color: #5c6370; }
  section.source a { color: #9cc2ff; text-decoration: none; }
  section.source a:hover { text-decoration: underline; }
  section.source .comment { color: #8b95a7; }
`;

function bar(title, teaches) {
  return '<nav class="gallery-bar"><a href="index.html">All programs</a> · <a href="reference.html">Reference</a>' +
    (title ? `<h1>${escape(title)}</h1><span>${escape(teaches)}</span>` : '') + '</nav>';
}

function program_page(program, entries, programs) {
  const single = fs.readFileSync(path.join(pages, `${program.name}.html`), 'utf8');
  const source = fs.readFileSync(path.join(root, program.source), 'utf8');
  const index = programs.indexOf(program);
  const next = programs[index + 1];
  const section = `<section class="source"><p>${escape(program.hint)}</p>` +
    `<p><code>${escape(program.source)}</code> · <a class="playground" href="../playground/#example=${program.name}">Open in the playground</a>` +
    `${next ? ` · next: <a href="${next.name}.html">${escape(next.title)}</a>` : ''}</p>` +
    `<pre><code id="source">${source_html(source, entries)}</code></pre></section>`;
  const page = single
    .replace('</style>', `${style}</style>`)
    .replace('<body>', `<body class="gallery-program">\n${bar(program.title, program.teaches)}`)
    .replace('</main>', `</main>\n${section}`);
  if (page === single || !page.includes('id="source"')) throw new Error(`${program.name}.html: not a page this gallery knows`);
  return page;
}

// A game that never settles shows its animation (docs/NAME.gif, a replay of
// examples/runs/NAME.txt that scripts/pictures makes), the others their picture.
function card_picture(name) {
  return fs.existsSync(path.join(root, 'docs', `${name}.gif`)) ? `pictures/${name}.gif` : `pictures/${name}.png`;
}

function index_page(programs) {
  const cards = programs.map((p) => `<li><a href="${p.name}.html"><img src="${card_picture(p.name)}" alt="${escape(p.title)}">` +
    `<strong>${escape(p.title)}</strong></a><span>${escape(p.teaches)}</span></li>`).join('\n');
  return `<!doctype html>
<html lang="en">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>kavex: programs to learn from</title>
<style>
  html, body { margin: 0; background: #1b1d22; color: #d8dce4; font: 15px/1.4 sans-serif; }
  ${style}
  main { max-width: 1100px; margin: 0 auto; padding: 20px; }
  ol { list-style: none; padding: 0; display: grid; grid-template-columns: repeat(auto-fill, minmax(240px, 1fr)); gap: 18px; }
  li { background: #262a33; border-radius: 6px; padding: 12px; }
  li a { color: #9cc2ff; text-decoration: none; display: block; }
  li img { display: block; width: 100%; height: 160px; object-fit: contain; background: #000; margin-bottom: 8px; image-rendering: pixelated; }
  li strong { display: block; font-size: 17px; }
  li span { display: block; margin-top: 4px; }
</style>
</head>
<body>
${bar()}
<main>
<h1>Programs to learn from</h1>
<p>Each runs here in the page, with its source beside it: start at the top, from the first window to the snowfalls.
Click a name in a source to read about it in the reference.</p>
<p>Change one of them, or write your own, in the <a href="../playground/">playground</a>, which compiles and runs it in the page.</p>
<ol id="programs">
${cards}
</ol>
</main>
</body>
</html>
`;
}

function reference_page(html) {
  return `<!doctype html>
<html lang="en">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>kavex reference</title>
<style>
  html, body { margin: 0; background: #1b1d22; color: #d8dce4; font: 15px/1.5 sans-serif; }
  ${style}
  main { max-width: 860px; margin: 0 auto; padding: 20px; }
  a { color: #9cc2ff; }
  code { font: 13px monospace; background: #262a33; padding: 1px 3px; border-radius: 3px; }
  pre { background: #111318; padding: 10px 12px; overflow: auto; border-radius: 4px; }
  pre code { background: none; padding: 0; }
  table { border-collapse: collapse; }
  td, th { border: 1px solid #3a3f4b; padding: 3px 8px; text-align: left; vertical-align: top; }
  img { max-width: 100%; image-rendering: pixelated; }
  :target { background: #2f3a52; }
</style>
</head>
<body>
${bar()}
<main>
${html}
</main>
</body>
</html>
`;
}

const programs = read_programs(pages);
fs.rmSync(out, { recursive: true, force: true });
fs.mkdirSync(path.join(out, 'pictures'), { recursive: true });
const { html, entries } = reference(fs.readFileSync(path.join(root, 'docs/api.md'), 'utf8'), (target) => gallery_link(target, programs));
fs.writeFileSync(path.join(out, 'reference.html'), reference_page(html));
for (const picture of fs.readdirSync(path.join(root, 'docs')).filter((f) => /\.(png|gif)$/.test(f)))
  fs.copyFileSync(path.join(root, 'docs', picture), path.join(out, 'pictures', picture));
for (const program of programs) {
  fs.writeFileSync(path.join(out, `${program.name}.html`), program_page(program, entries, programs));
}
fs.writeFileSync(path.join(out, 'index.html'), index_page(programs));
console.log(`gallery: ${programs.length} programs, ${entries.size} names linked to the reference, in ${out}`);
