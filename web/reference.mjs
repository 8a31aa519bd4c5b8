// The reference (docs/api.md) as HTML, for the gallery (web/gallery.mjs)
// and the playground (web/playground/build.mjs), through marked (web/'s npm
// package; scripts/web installs it), with the reference's anchors and links.
//
//   const { html, entries } = reference(markdown, (target) => href or null);
//   // entries: each kavex name → the anchor of its entry

import { Marked } from 'marked';

export const escape = (text) => text.replace(/&/g, '&amp;').replace(/</g, '&lt;').replace(/>/g, '&gt;').replace(/"/g, '&quot;');

// The anchor a heading gets on the usual Markdown sites: lower case, spaces
// as hyphens, punctuation other than hyphens and underscores dropped.
const anchor_of = (heading) => heading.toLowerCase().replace(/ /g, '-').replace(/[^a-z0-9_-]/g, '');

// The reference as HTML, and each kavex name with the anchor of its entry:
// a heading's names (the last part of `canvas::draw_text(text)` and the
// like), and the names in the first two columns of a section's tables.
// `link_of(target)` says where a link of the Markdown leads (null: nowhere,
// its text stays); `id_prefix` goes before every anchor, for a page whose
// own elements have ids.
export function reference(markdown, link_of, id_prefix = '') {
  const entries = new Map();
  const seen = new Map();
  let section = '';
  const names_in = (text) => [...text.matchAll(/`([^`]*)`/g)]
    .map((m) => m[1].split('(')[0].split('::').pop().trim())
    .filter((name) => /^[A-Za-z_~][A-Za-z0-9_]*$/.test(name));
  const add = (name, anchor) => { if (!entries.has(name)) entries.set(name, anchor); };

  // In the document's order: each heading's anchor, and the names it and its tables hold.
  const walkTokens = (token) => {
    if (token.type === 'heading') {
      let id = id_prefix + anchor_of(token.text);
      const n = seen.get(id) || 0;
      seen.set(id, n + 1);
      if (n) id += `-${n}`;
      token.anchor = id;
      section = id;
      if (token.depth === 3) for (const name of names_in(token.text)) add(name, id);
    } else if (token.type === 'table') {
      for (const row of token.rows) for (const name of names_in(row[0].text).concat(names_in(row[1]?.text || ''))) add(name, section);
    }
  };
  const renderer = {
    heading({ tokens, depth, anchor }) {
      return `<h${depth} id="${anchor}">${this.parser.parseInline(tokens)}</h${depth}>\n`;
    },
    link({ href, tokens }) {
      const label = this.parser.parseInline(tokens);
      const target = link_of(href);
      return target ? `<a href="${escape(target)}">${label}</a>` : label;
    },
    image({ href, text }) {
      const source = link_of(href);
      return source ? `<img alt="${escape(text)}" src="${escape(source)}">` : escape(text);
    },
  };
  const html = new Marked({ gfm: true, walkTokens, renderer }).parse(markdown);
  return { html, entries };
}
