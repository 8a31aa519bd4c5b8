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
export const kept_lines = 5000;

export function output_panel(element, { go_to_line }) {
  const notice = document.createElement('p');
  notice.className = 'left-out';
  let lines = 0;       // lines in the panel
  let dropped = 0;     // lines left out since clear()
  let error_line = ''; // standard error's unfinished line

  function say_left_out(count) {
    dropped += count;
    notice.textContent = `… ${dropped} earlier line${dropped === 1 ? '' : 's'} left out: the newest ${kept_lines} are kept.`;
    if (!notice.isConnected) element.prepend(notice);
  }

  // The oldest pieces go, whole, until the panel holds no more than it keeps.
  function trim() {
    while (lines > kept_lines) {
      const oldest = notice.nextSibling;
      if (!oldest) break;
      const count = (oldest.textContent.match(/\n/g) || []).length;
      oldest.remove();
      lines -= count;
      say_left_out(count);
    }
  }

  function append(node) {
    const text = node.textContent;
    lines += (text.match(/\n/g) || []).length;
    element.append(node);
    trim();
    element.scrollTop = element.scrollHeight;
  }

  // Text of one kind: a span, its tail only when it alone is too long.
  function print(text, kind) {
    const newlines = (text.match(/\n/g) || []).length;
    if (newlines > kept_lines) {
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
    const explained = [];
    let last = null;
    const flush = (kind) => {
      if (explained.length) last = print(`${explained.join('\n')}\n`, kind);
      explained.length = 0;
    };
    let kind = null;
    for (const line of all) {
      const this_kind = line.startsWith('kavex: ') ? 'explained' : 'stderr';
      if (this_kind !== kind) flush(kind);
      kind = this_kind;
      explained.push(line);
    }
    flush(kind);
    return last;
  }

  return {
    element,
    print,
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
