// A program slower than its timer: its keys still get through at once, the
// page still shows its frames, and ticks are dropped rather than piled up.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import { open_page } from './page.mjs';

test('a program that falls behind gets its keys, shows its frames and drops ticks', async () => {
  const p = await open_page('behind');
  const is_tick = (line) => line.startsWith('tick ');
  await p.wait_for_lines(3, is_tick);
  await p.page.keyboard.press('a');
  await p.wait_for_lines(1, (line) => line === 'key 97');
  const frames = await p.frames();
  const due = (await p.wait_for_lines(15, is_tick)).map((line) => Number(line.slice(5)));
  assert.ok((await p.frames()) > frames, 'frames come between the ticks');
  // Each tick carries the time it was due, on the timer's 40 ms grid.
  for (const d of due) assert.equal((d - due[0]) % 40, 0, `tick ${d} against ${due[0]}`);
  // 120 ms of work for each tick: two in three fall due while two wait, and are dropped.
  const gaps = due.slice(1).map((d, i) => d - due[i]);
  assert.ok(gaps.every((g) => g >= 40), `in order: ${gaps}`);
  assert.ok(due.at(-1) - due[0] >= 2 * 40 * (due.length - 1), `ticks were dropped: ${gaps}`);
  await p.close();
});
