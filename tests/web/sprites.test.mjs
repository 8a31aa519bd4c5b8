// The sprites example's page: the transparent sprite leaves its black out,
// and S saves the picture as a 24-bit BMP that the page offers for download.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import { open_page } from './page.mjs';

function read_le(bytes, at, size) {
  let v = 0;
  for (let i = size - 1; i >= 0; --i) v = v * 256 + bytes[at + i];
  return v;
}

test('sprites.html draws its sprite without its black and saves what it shows', async () => {
  const p = await open_page('sprites');
  await p.move_pointer(100, 100);  // the sprite's 32 x 32 square is centred there
  await p.next_frame();
  const shown = await p.next_frame();
  // The sprite's black corners show the background (no pixel of it is black).
  for (const [x, y] of [[84, 84], [115, 84], [84, 115], [115, 115]]) assert.notEqual(shown.at(x, y), 0, `(${x}, ${y})`);
  assert.equal(shown.at(100, 100), 0x78dcff, 'the ship itself is there: its window');

  await p.page.keyboard.press('s');
  assert.deepEqual(await p.wait_for_lines(1, (l) => l.startsWith('saved')), ['saved sprites-1.bmp']);
  const link = await p.page.waitForSelector('#saved a', { timeout: 20000 });
  assert.equal(await link.evaluate((a) => a.download), 'sprites-1.bmp');
  const downloaded = await link.evaluate(async (a) => Array.from(new Uint8Array(await (await fetch(a.href)).arrayBuffer())));
  const file = await p.page.evaluate(() => Array.from(FS.readFile('sprites-1.bmp')));
  assert.deepEqual(downloaded, file, 'the download is the saved file');

  // A 24-bit BMP of the whole picture, bottom row first, rows padded to 4 bytes.
  assert.equal(String.fromCharCode(file[0], file[1]), 'BM');
  assert.equal(read_le(file, 2, 4), file.length);
  const offset = read_le(file, 10, 4);
  assert.deepEqual([read_le(file, 18, 4), read_le(file, 22, 4), read_le(file, 28, 2)], [400, 400, 24]);
  assert.equal(file.length, offset + 400 * 1200);
  let differing = 0;
  for (let y = 0; y < 400; ++y)
    for (let x = 0; x < 400; ++x) {
      const at = offset + (399 - y) * 1200 + 3 * x;
      differing += ((file[at + 2] << 16) | (file[at + 1] << 8) | file[at]) !== shown.at(x, y);
    }
  assert.equal(differing, 0, 'the file holds the picture shown');
  await p.close();
});
