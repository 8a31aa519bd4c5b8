// The two snowfalls as pages: their pictures, the space bar and the wind.
// The browser's C library has another rand(), so the flakes lie elsewhere
// than on the desktop; what the programs promise holds all the same.
import assert from 'node:assert/strict';
import { after, before, describe, test } from 'node:test';
import { blobs, launch, mean_drift, open_page } from './page.mjs';

const side = 400;
const white = 0xffffff;
const black = 0x000000;
const border_blue = 0x000032;

let chromium;
before(async () => { chromium = await launch(); });
after(async () => { await chromium.close(); });

// Sideways drift of the flakes while the pointer rests on `column`: the mean
// step per frame, over a second of frames.
async function drift_at(p, column, reach) {
  await p.move_pointer(column, 300);
  await p.next_frame();  // the wind changes with the next event
  let earlier = await p.next_frame();
  let sum = 0;
  for (let i = 0; i < 25; ++i) {
    const later = await p.next_frame();
    sum += mean_drift(blobs(earlier, white), blobs(later, white), side, reach);
    earlier = later;
  }
  return sum / 25;
}

async function expect_wind_follows_the_pointer(name, reach) {
  const p = await open_page(name, { browser: chromium.browser });
  // At column 300 the wind is +1 pixel a frame, at 100 -1; the random steps add a jitter of mean 0.
  const right = await drift_at(p, 300, reach);
  const left = await drift_at(p, 100, reach);
  assert.ok(right > 0.5, `drift ${right} to the right at column 300`);
  assert.ok(left < -0.5, `drift ${left} to the left at column 100`);
  await p.close();
}

describe('starsnow.html', () => {
  const border_is_exact = (img) => {
    for (let y = 0; y < side; ++y)
      for (let x = 0; x < side; ++x)
        if ((y <= 8 || x <= 8 || y >= 392 || x >= 392) && img.at(x, y) !== border_blue) return false;
    return true;
  };
  const inside_count = (img, value) => {
    let n = 0;
    for (let y = 9; y < 392; ++y) for (let x = 9; x < 392; ++x) n += img.at(x, y) === value;
    return n;
  };

  test('every frame has its exact border and stars of short white segments', async () => {
    const p = await open_page('starsnow', { browser: chromium.browser });
    for (let frame = 0; frame < 20; ++frame) {
      const img = await p.next_frame();
      assert.equal(img.width, side);
      assert.equal(img.height, side);
      assert.ok(border_is_exact(img), `border of frame ${frame}`);
      assert.equal(inside_count(img, white) + inside_count(img, black), 383 * 383, `only black and white inside, frame ${frame}`);
      // A star is three segments of at most 9 pixels through one centre;
      // stars that touch make a larger blob now and then.
      const stars = blobs(img, white);
      const small = stars.filter((b) => b.max_x - b.min_x < 9 && b.max_y - b.min_y < 9).length;
      assert.ok(small >= stars.length * 0.85, `${small} of ${stars.length} blobs fit 9 x 9, frame ${frame}`);
      assert.ok(stars.length > 70, `about 100 stars, frame ${frame}`);
    }
    await p.close();
  });

  test('each space press adds ten stars that come in at the top', async () => {
    const p = await open_page('starsnow', { browser: chromium.browser });
    await p.move_pointer(200, 200);  // no wind
    // The mean count of white pixels in rows [from, to) over ten frames; a star shows about 20.
    const mean_white = async (from, to) => {
      let sum = 0;
      for (let i = 0; i < 10; ++i) {
        const img = await p.next_frame();
        for (let y = from; y < to; ++y) for (let x = 9; x < 392; ++x) sum += img.at(x, y) === white;
      }
      return sum / 10;
    };
    const top_before = await mean_white(9, 100);
    for (let i = 0; i < 3; ++i) await p.page.keyboard.press('Space');
    for (let i = 0; i < 20; ++i) assert.ok(border_is_exact(await p.next_frame()), 'they come in from under the border');
    const top_added = (await mean_white(9, 100)) - top_before;
    assert.ok(top_added >= 300, `${top_added} more white pixels at the top: three presses add thirty stars, not three`);
    assert.ok(top_added <= 900, `${top_added} more white pixels at the top: thirty stars, not three hundred`);
    await p.close();
  });

  test('the wind follows the pointer', () => expect_wind_follows_the_pointer('starsnow', 8));
});

describe('dotsnow.html', () => {
  test('shows one white dot per flake, and a hundred more after a space press', async () => {
    const p = await open_page('dotsnow', { browser: chromium.browser });
    await p.move_pointer(200, 200);
    // Dots that meet show as one: a few fewer white pixels than flakes.
    const expect_dots = async (flakes) => {
      for (let i = 0; i < 10; ++i) {
        const img = await p.next_frame();
        assert.equal(img.count(white) + img.count(black), side * side, 'white dots on black');
        const dots = img.count(white);
        assert.ok(dots <= flakes && dots >= flakes - 10, `${dots} white pixels for ${flakes} flakes`);
      }
    };
    await expect_dots(400);
    await p.page.keyboard.press('Space');
    await p.next_frame();
    await expect_dots(500);
    await p.close();
  });

  test('the wind follows the pointer', () => expect_wind_follows_the_pointer('dotsnow', 8));
});
