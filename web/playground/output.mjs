// The panel under the picture: what the program prints, the library's
// explanations, the compiler's messages and the page's own word on how a run
// ended. It keeps the newest `kept_lines` lines of a run and says how many
// it left out, so that a program printing in an endless loop costs the page
// no more than a few thousand lines.
//
//   const out = output_panel(element, { go_to_line: (line, column) => ... });
//   out.clear();  out.print(text, kind);  out.program(fd, text);  out.left_out(n);
//   out.link(text, line, column, kind);   out.text()  // all the panel shows
//   out.line_link(text, line, column, kind)  // a link to the line, to put in a message
//   out.into_view(node)                        // the page scrolled to a message, on a phone
import { say } from './words.mjs';

const kept_lines = 5000;
const newlines_in = (text) => (text.match(/\n/g) || []).length;

// The compiler's messages as diagnostics: each error or warning with its
// source lines and the notes that belong to it; what stands outside any
// ("2 errors generated.") as text of its own.
const diagnostic_head = /^(.*?):(\d+):(\d+): (fatal error|error|warning|note): /;

function diagnostics(messages) {
  const all = [];
  let leading = [];  // "In file included from ..." before the next diagnostic
  let last = null;   // the diagnostic whose source lines follow
  for (const line of messages.split('\n')) {
    const head = line.match(diagnostic_head);
    if (head) {
      const [, file, at, column, kind] = head;
      last = { file, line: Number(at), column: Number(column), kind: kind.replace('fatal ', ''), lines: [...leading, line], notes: [] };
      leading = [];
      const owner = all[all.length - 1];
      if (last.kind === 'note' && owner && owner.kind !== 'text') owner.notes.push(last);
      else all.push(last);
    } else if (/^In file included from |^\s+from .*:\d+:$/.test(line)) {
      leading.push(line);
    } else if (last && /^\s/.test(line)) {
      last.lines.push(line);  // the source line and the caret under it
    } else if (line) {
      last = null;
      all.push({ kind: 'text', lines: [line], notes: [] });
    }
  }
  return all;
}

export function output_panel(element, { go_to_line }) {
  const notice = document.createElement('p');
  notice.className = 'left-out';
  let lines = 0;       // lines in the panel
  let dropped = 0;     // lines left out since clear()
  let error_line = ''; // standard error's unfinished line

  function say_left_out(count) {
    dropped += count;
    notice.textContent = say('lines_left_out', { dropped, kept: kept_lines });
    if (!notice.isConnected) element.prepend(notice);
  }

  // The oldest pieces go, whole, until the panel holds no more than it keeps.
  function trim() {
    while (lines > kept_lines) {
      const oldest = notice.nextSibling;
      if (!oldest) break;
      const count = newlines_in(oldest.textContent);
      oldest.remove();
      lines -= count;
      say_left_out(count);
    }
  }

  function append(node) {
    lines += newlines_in(node.textContent);
    element.append(node);
    trim();
    element.scrollTop = element.scrollHeight;
  }

  // Text of one kind: a span, its tail only when it alone is too long.
  function print(text, kind) {
    if (newlines_in(text) > kept_lines) {
      const all = text.split('\n');
      const tail = all.slice(-kept_lines - 1);
      say_left_out(all.length - tail.length);
      text = tail.join('\n');
    }
    const span = document.createElement('span');
    if (kind) span.className = kind;
    span.textContent = text;
    append(span);
    return span;
  }

  // Text that puts the cursor on the program's line when clicked.
  function line_link(text, line, column = 1, kind = 'error') {
    const a = document.createElement('a');
    a.href = '#';
    a.className = kind;
    a.dataset.line = line;
    a.textContent = text;
    a.addEventListener('click', (e) => {
      e.preventDefault();
      go_to_line(line, column);
    });
    return a;
  }

  // A message of its own line, a link to the program's line.
  function link(text, line, column = 1, kind = 'error') {
    const a = line_link(text, line, column, kind);
    const piece = document.createElement('span');
    piece.append(a, '\n');
    append(piece);
    return a;
  }

  // What the program wrote: standard error line by line, so that the
  // library's explanations stand out. The last piece printed, if any.
  function program(fd, text) {
    if (fd !== 2) return print(text);
    const all = (error_line + text).split('\n');
    error_line = all.pop();
    const same_kind = [];  // lines of one kind in a row, printed as one piece
    let last = null;
    const flush = (kind) => {
      if (same_kind.length) last = print(`${same_kind.join('\n')}\n`, kind);
      same_kind.length = 0;
    };
    let kind = null;
    for (const line of all) {
      const this_kind = line.startsWith('kavex: ') ? 'explained' : 'stderr';
      if (this_kind !== kind) flush(kind);
      kind = this_kind;
      same_kind.push(line);
    }
    flush(kind);
    return last;
  }

  // One diagnostic, its first line a link to its place when that is in main.cpp.
  function diagnostic(d, into) {
    const lead = d.lines.findIndex((l) => diagnostic_head.test(l));
    const piece = document.createElement('span');
    if (lead > 0) piece.append(`${d.lines.slice(0, lead).join('\n')}\n`);
    if (d.file === 'main.cpp') {
      piece.append(line_link(d.lines[lead], d.line, d.column, d.kind), '\n');
    } else {
      const head = document.createElement('span');
      head.className = d.kind;
      head.textContent = `${d.lines[lead]}\n`;
      piece.append(head);
    }
    const after = d.lines.slice(lead + 1);
    if (after.length) piece.append(`${after.join('\n')}\n`);
    into(piece);
    return piece;
  }

  // The compiler's messages: notes that point into the headers fold under
  // their error, and the first error is brought into view.
  function compiler(messages) {
    let first = null;
    for (const d of diagnostics(messages)) {
      if (d.kind === 'text') {
        print(`${d.lines.join('\n')}\n`);
        continue;
      }
      const piece = diagnostic(d, append);
      if (!first && d.kind === 'error') first = piece;
      const folded = d.notes.filter((n) => n.file !== 'main.cpp');
      for (const n of d.notes.filter((n) => n.file === 'main.cpp')) diagnostic(n, append);
      if (folded.length) {
        const fold = document.createElement('details');
        fold.className = 'notes';
        const summary = document.createElement('summary');
        summary.textContent = say('header_notes', { count: folded.length });
        fold.append(summary);
        for (const n of folded) diagnostic(n, (p) => fold.append(p));
        append(fold);
      }
    }
    if (!first) return;
    element.scrollTop = first.offsetTop - element.offsetTop;
    into_view(first);
  }

  // On a phone the page scrolls, as a whole, until a message low on the
  // screen or above it stands a third of the way down; a page that fits its
  // window (the editor beside the result) does not scroll.
  function into_view(node) {
    const { top } = node.getBoundingClientRect();
    if (top < 0 || top > innerHeight * 2 / 3) scrollBy(0, top - innerHeight / 3);
  }

  return {
    print,
    compiler,
    into_view,
    link,
    line_link,
    program,
    left_out: (count) => { if (count) say_left_out(count); },
    // Standard error's last line, when the program ended without finishing it.
    end_of_run() {
      if (error_line) print(`${error_line}\n`, 'stderr');
      error_line = '';
    },
    clear() {
      element.textContent = '';
      notice.remove();
      lines = 0;
      dropped = 0;
      error_line = '';
    },
    text: () => element.textContent,
  };
}
