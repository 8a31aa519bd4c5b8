// The events example's script, for its page and for the playground: the
// same keys, characters and mouse actions, and the records the desktop
// program prints for them.
//
//   await expect_desktop_records(p);   // p from open_page('events') or open_playground(...)
import assert from 'node:assert/strict';

const is_record = (line) => /^(key|mouse|button) /.test(line);
// A move repeated at once counts as one, as on the desktop.
const moves_once = (lines) => lines.filter((line, i) => !(line.startsWith('mouse move:') && line === lines[i - 1]));

// A character typed on a layout that has it, as a browser receives it.
async function type_character(page, character, code, key_code) {
  const cdp = await page.createCDPSession();
  const key = { key: character, code, windowsVirtualKeyCode: key_code, nativeVirtualKeyCode: key_code };
  await cdp.send('Input.dispatchKeyEvent', { type: 'keyDown', text: character, unmodifiedText: character, ...key });
  await cdp.send('Input.dispatchKeyEvent', { type: 'keyUp', ...key });
  await cdp.detach();
}

export async function expect_desktop_records(p) {
  const { page } = p;
  // The picture takes the keyboard only once it is clicked.
  await page.evaluate(() => document.getElementById('canvas').blur());
  await page.keyboard.press('x');
  await p.click(120, 45);
  await page.keyboard.press('Space');
  await page.keyboard.press('ArrowLeft');
  await page.keyboard.press('a');
  await page.keyboard.down('Shift');
  await page.keyboard.press('A');
  await page.keyboard.up('Shift');
  await type_character(page, 'č', 'Digit4', 52);  // Czech layout
  await p.move_pointer(200, 150);
  await p.click(200, 150);

  const expected = [
    'mouse move: mouse_x=120 mouse_y=45',
    'button press: button=1 mouse_x=120 mouse_y=45',
    'button release: button=-1 mouse_x=120 mouse_y=45',
    "key press: key=32 (0x20) ' '",
    'key press: key=65539 (0x10003) key_left',
    'key release: key=-65539 (-0x10003) key_left',
    "key press: key=97 (0x61) 'a'",
    'key press: key=65547 (0x1000B) key_lshift',
    "key press: key=65 (0x41) 'A'",
    'key release: key=-65547 (-0x1000B) key_lshift',
    "key press: key=232 (0xE8) 'č'",
    'mouse move: mouse_x=200 mouse_y=150',
    'button press: button=1 mouse_x=200 mouse_y=150',
    'button release: button=-1 mouse_x=200 mouse_y=150',
  ];
  await p.wait_for_lines(expected.length, is_record);
  await new Promise((r) => setTimeout(r, 300));  // and nothing more
  assert.deepEqual(moves_once(await p.wait_for_lines(0, is_record)), expected);

  // The one-second timer ticks, with the time it was due.
  const ticks = await p.wait_for_lines(2, (line) => line.startsWith('tick: ticks='));
  const due = ticks.map((line) => Number(line.slice(12)));
  assert.ok(due[0] > 0 && due[1] - due[0] === 1000, `ticks a second apart: ${ticks}`);
}
