// The reference (docs/api.md) as HTML, for the gallery (web/gallery.mjs)
// and the playground (web/playground/build.mjs): the little of Markdown
// that file uses.
//
//   const { html, entries } = reference(markdown, (target) => href or null);
//   // entries: each kavex name → the anchor of its entry

export const escape = (text) => text.replace(/&/g, '&amp;').replace(/</g, '&lt;').replace(/>/g, '&gt;').replace(/"/g, '&quot;');

// The anchor a heading gets on the usual Markdown sites: lower case, spaces
// as hyphens, punctuation other than hyphens and underscores dropped.
const anchor_of = (heading) => heading.toLowerCase().replace(/ /g, '-').replace(/[^a-z0-9_-]/g, '');

function inline(text, link_of) {
  const parts = text.split(/(`[^`]*`)/);
  return parts.map((part) => {
    if (part.startsWith('`') && part.endsWith('`') && part.length > 1) return `<code>${escape(part.slice(1, -1))}</code>`;
    let html = escape(part);
    html = html.replace(/!\[([^\]]*)\]\(([^)\s]+)\)/g, (_, alt, src) => {
      const link = link_of(src);
      return link ? `<img alt="${alt}" src="${link}">` : alt;
    });
    html = html.replace(/\[([^\]]+)\]\(([^)\s]+)\)/g, (_, label, target) => {
      const link = link_of(target);
      return link ? `<a href="${link}">${label}</a>` : label;
    });
    return html.replace(/\*\*([^*]+)\*\*/g, '<strong>$1</strong>').replace(/\*([^*\s][^*]*)\*/g, '<em>$1</em>');
  }).join('');
}

// The reference as HTML, and each kavex name with the anchor of its entry:
// a heading's names (the last part of `canvas::draw_text(text)` and the
// like), and the names in the first column of a section's tables.
// `link_of(target)` says where a link of the Markdown leads (null: nowhere,
// its text stays); `id_prefix` goes before every anchor, for a page whose
// own elements have ids.
export function reference(markdown, link_of, id_prefix = '') {
  const html = [];
  const entries = new Map();
  const seen = new Map();
  let section = '';
  const lines = markdown.split('\n');
  const names_in = (text) => [...text.matchAll(/`([^`]*)`/g)]
    .map((m) => m[1].split('(')[0].split('::').pop().trim())
    .filter((name) => /^[A-Za-z_~][A-Za-z0-9_]*$/.test(name));
  const add = (name, anchor) => { if (!entries.has(name)) entries.set(name, anchor); };

  for (let i = 0; i < lines.length;) {
    const line = lines[i];
    if (line.startsWith('```')) {
      const code = [];
      for (++i; i < lines.length && !lines[i].startsWith('```'); ++i) code.push(lines[i]);
      ++i;
      html.push(`<pre><code>${escape(code.join('\n'))}</code></pre>`);
    } else if (/^#{1,6} /.test(line)) {
      const level = line.match(/^#+/)[0].length;
      const text = line.slice(level + 1);
      let id = id_prefix + anchor_of(text);
      const n = seen.get(id) || 0;
      seen.set(id, n + 1);
      if (n) id += `-${n}`;
      section = id;
      if (level === 3) for (const name of names_in(text)) add(name, id);
      html.push(`<h${level} id="${id}">${inline(text, link_of)}</h${level}>`);
      ++i;
    } else if (line.startsWith('|')) {
      const rows = [];
      for (; i < lines.length && lines[i].startsWith('|'); ++i) rows.push(lines[i]);
      const cells = (row) => row.replace(/^\||\|$/g, '').split('|').map((cell) => cell.trim());
      const body = rows.slice(2).map(cells);
      for (const row of body) for (const name of names_in(row[0]).concat(names_in(row[1] || ''))) add(name, section);
      html.push('<table><thead><tr>' + cells(rows[0]).map((c) => `<th>${inline(c, link_of)}</th>`).join('') +
        '</tr></thead><tbody>' + body.map((r) => '<tr>' + r.map((c) => `<td>${inline(c, link_of)}</td>`).join('') + '</tr>').join('') +
        '</tbody></table>');
    } else if (line.startsWith('- ')) {
      const items = [];
      for (; i < lines.length && (lines[i].startsWith('- ') || lines[i].startsWith('  ')) && lines[i].trim(); ++i) {
        if (lines[i].startsWith('- ')) items.push(lines[i].slice(2));
        else items[items.length - 1] += ' ' + lines[i].trim();
      }
      html.push('<ul>' + items.map((item) => `<li>${inline(item, link_of)}</li>`).join('') + '</ul>');
    } else if (line.trim()) {
      const paragraph = [];
      for (; i < lines.length && lines[i].trim() && !/^(#|```|\||- )/.test(lines[i]); ++i) paragraph.push(lines[i]);
      html.push(`<p>${inline(paragraph.join(' '), link_of)}</p>`);
    } else {
      ++i;
    }
  }
  return { html: html.join('\n'), entries };
}
