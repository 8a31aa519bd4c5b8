// The games to learn from in their pages: the picture packed into the page
// loads, a held key moves it (keys held down, the browser's own repeats
// dropped), and pong's title becomes the page's.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import { open_page, patience } from './page.mjs';

const face_yellow = 0xfac828;  // the middle of examples/pictures/face.png

test('picture.html loads its PNG from the page and moves it while an arrow is held', async () => {
  const p = await open_page('picture');
  const first = await p.next_frame();
  assert.equal(first.at(200, 150), face_yellow, 'the face is in the middle');
  assert.equal(await p.page.title(), 'Picture');

  await p.page.keyboard.down('ArrowRight');
  const deadline = Date.now() + patience;
  let frame = first;
  while (frame.at(260, 150) !== face_yellow && Date.now() < deadline) frame = await p.next_frame();
  await p.page.keyboard.up('ArrowRight');
  assert.equal(frame.at(260, 150), face_yellow, 'the face moved right while the arrow was held');
  await p.close();
});

test('pong.html has the score in its title', async () => {
  const p = await open_page('pong');
  await p.next_frame();
  assert.equal(await p.page.title(), 'Pong 0 : 0');
  await p.close();
});
