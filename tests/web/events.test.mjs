// The events example's page prints the same records as the desktop program
// for the same keys, characters and mouse actions.
import { test } from 'node:test';
import { expect_desktop_records } from './event_script.mjs';
import { open_page } from './page.mjs';

test('events.html prints what the desktop prints for keys, characters and the mouse', async () => {
  const p = await open_page('events');
  await expect_desktop_records(p);
  await p.close();
});
