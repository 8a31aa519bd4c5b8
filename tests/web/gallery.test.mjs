// The gallery (scripts/web gallery), walked as a learner would: the index
// lists every program of examples/list.txt with a picture that loads; each
// program's page runs it without a page error or an abort, draws, and shows
// its source exactly as in the repository; every name in a source links to
// an entry of the reference that exists.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { test } from 'node:test';
import { pathToFileURL } from 'node:url';
import { read_programs } from '../../web/programs.mjs';
import { launch, open_page, pages_dir, patience } from './page.mjs';

const root = path.join(path.dirname(new URL(import.meta.url).pathname), '..', '..');
const gallery = path.join(pages_dir, 'gallery');
const programs = read_programs(pages_dir);

test('the gallery shows every program beside its source, and its names lead to the reference', async () => {
  assert.ok(programs.length >= 9, 'the list names the examples and both games');
  const b = await launch();
  try {
    const page = await b.browser.newPage();
    await page.goto(pathToFileURL(path.join(gallery, 'reference.html')).href);
    const anchors = new Set(await page.$$eval('[id]', (all) => all.map((e) => e.id)));

    await page.goto(pathToFileURL(path.join(gallery, 'index.html')).href);
    await page.waitForFunction(() => [...document.images].every((img) => img.complete), { timeout: patience, polling: 50 });
    const cards = await page.$$eval('#programs li', (items) => items.map((li) => ({
      href: li.querySelector('a').getAttribute('href'),
      picture: li.querySelector('img').naturalWidth,
    })));
    assert.deepEqual(cards.map((c) => c.href), programs.map((p) => `${p.name}.html`), 'every program, in the list\'s order');
    for (const card of cards) assert.ok(card.picture > 0, `${card.href}: its picture loads`);
    await page.close();

    for (const program of programs) {
      const p = await open_page(`gallery/${program.name}`);  // a browser of its own: no tab behind another
      await p.page.waitForFunction(() => Module.kavexFrames >= 1, { timeout: patience });
      const shown = await p.page.$eval('#source', (code) => code.textContent);
      assert.equal(shown, fs.readFileSync(path.join(root, program.source), 'utf8'), `${program.name}: the source as in the repository`);
      // The playground sits beside the gallery (playground/ in the pages' folder) and opens the same program.
      assert.equal(await p.page.$eval('a.playground', (a) => a.getAttribute('href')), `../playground/#example=${program.name}`);
      const links = await p.page.$$eval('#source a', (all) => all.map((a) => a.getAttribute('href')));
      assert.ok(links.length > 0, `${program.name}: its kavex names link to the reference`);
      for (const link of links) {
        const [file, anchor] = link.split('#');
        assert.equal(file, 'reference.html');
        assert.ok(anchors.has(anchor), `${program.name}: ${link} leads to an entry that exists`);
      }
      await p.close();
    }
  } finally {
    await b.close();
  }
});
