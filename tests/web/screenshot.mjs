// Takes the README's picture of a page in headless Chromium:
//   node tests/web/screenshot.mjs starsnow docs/starsnow-web.png
import { open_page } from './page.mjs';

const [name = 'starsnow', file = `docs/${name}-web.png`] = process.argv.slice(2);
const p = await open_page(name);
await p.page.setViewport({ width: 640, height: 560 });
await p.page.waitForFunction(() => Module.kavexFrames >= 50, { timeout: 20000 });
await p.page.evaluate(() => document.getElementById('canvas').blur());
const box = await p.page.evaluate(() => {
  const c = document.querySelector('canvas').getBoundingClientRect();
  const h = document.getElementById('hint').getBoundingClientRect();
  return { x: Math.min(c.x, h.x) - 16, y: c.y - 16, width: Math.max(c.width, h.width) + 32, height: h.bottom - c.y + 24 };
});
await p.page.screenshot({ path: file, clip: box });
await p.close();
