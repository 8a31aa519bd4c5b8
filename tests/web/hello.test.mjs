// The hello example's page shows exactly the desktop program's picture.
import assert from 'node:assert/strict';
import path from 'node:path';
import { test } from 'node:test';
import { open_page, pages_dir, read_ppm } from './page.mjs';

test('hello.html shows the desktop hello picture pixel for pixel', async () => {
  const reference = process.env.KAVEX_DESKTOP_HELLO || path.join(pages_dir, 'desktop', 'hello.ppm');
  const desktop = read_ppm(reference);
  const p = await open_page('hello');
  // hello draws once: its first refresh is its picture.
  await p.page.waitForFunction(() => Module.kavexFrames >= 1, { timeout: 20000 });
  const web = await p.grab();
  assert.equal(web.width, desktop.width);
  assert.equal(web.height, desktop.height);
  let differing = 0;
  let first = null;
  for (let i = 0; i < web.pixels.length; ++i) {
    if (web.pixels[i] === desktop.pixels[i]) continue;
    if (!first) first = { x: i % web.width, y: Math.floor(i / web.width), web: web.pixels[i], desktop: desktop.pixels[i] };
    ++differing;
  }
  assert.equal(differing, 0, `pixels differ, the first: ${JSON.stringify(first)}`);
  await p.close();
});
