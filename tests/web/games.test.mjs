// The games to learn from in their pages: the picture packed into the page
// loads, a held key moves it (keys held down, the browser's own repeats
// dropped), and pong's title becomes the page's.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import { assert_tone, listen_to_sound, open_page, patience } from './page.mjs';

const face_yellow = 0xfac828;  // the middle of examples/pictures/face.png

test('picture.html loads its PNG from the page and moves it while an arrow is held', async () => {
  const p = await open_page('picture');
  const first = await p.next_frame();
  assert.equal(first.at(200, 150), face_yellow, 'the face is in the middle');
  assert.equal(await p.page.title(), 'Picture');

  await p.click(20, 280);  // the picture takes the keyboard once it is clicked
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

test('piano.html sounds middle C through the page\'s audio once A is pressed', async () => {
  const p = await open_page('piano');
  await p.page.waitForFunction(() => Module.kavexFrames > 0, { timeout: patience });  // the keys are drawn
  await listen_to_sound(p.page);
  await p.click(200, 210);  // the first click lets the page sound, and gives it the keyboard
  await p.page.keyboard.press('a');
  await assert_tone(p.page, { seconds: 0.3, hz: 262, hz_within: 5 });
  await p.close();
});

test('a key held in a page presses once, unless the program asks for repeats', async () => {
  const events = await open_page('events');
  await events.click(120, 45);
  for (let i = 0; i < 3; ++i) await events.page.keyboard.down('b');  // the browser's own repeats
  await events.page.keyboard.up('b');
  await events.page.keyboard.press('c');
  await events.wait_for_lines(1, (l) => l.startsWith('key press: key=99 '));
  assert.equal((await events.wait_for_lines(0, (l) => l.startsWith('key press: key=98 '))).length, 1);
  await events.close();

  // typing asks for key_repeat(400, 40): a held x types on, five x's and more.
  const typing = await open_page('typing');
  await typing.click(240, 150);
  await typing.page.keyboard.down('x');
  const fifth_cell_inked = (frame) => {
    for (let y = 68; y <= 80; ++y) for (let x = 42; x < 50; ++x) if (frame.at(x, y) === 0xffffff) return true;
    return false;
  };
  const deadline = Date.now() + patience;
  let frame = await typing.next_frame();
  while (!fifth_cell_inked(frame) && Date.now() < deadline) frame = await typing.next_frame();
  await typing.page.keyboard.up('x');
  assert.ok(fifth_cell_inked(frame), 'the held x repeated');
  await typing.close();
});
