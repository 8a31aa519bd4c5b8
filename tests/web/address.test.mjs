// What a playground address carries (web/playground/address.mjs), without a
// browser: a program's text survives its link whole, the link holds only
// what an address may, and a damaged one is said to be damaged.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import { asked_by, link_to_program } from '../../web/playground/address.mjs';

test("a program's link carries its text whole, in an address's own characters, in place of the old #part", () => {
  const source = '#include "graphics.hpp"\n// Árvíztűrő tükörfúrógép, Łódź, 😀\nint main() { return 1 + 2 * 3 / 4 - 5 % 6 & ~7; }\n';
  for (const text of [source, source.slice(0, -1), source.slice(0, -2), '']) {
    const link = link_to_program('https://host/playground/index.html?asyncify#example=hello', text);
    const [page, code] = link.split('#');
    assert.equal(page, 'https://host/playground/index.html?asyncify');
    assert.match(code, /^code=[A-Za-z0-9_-]*$/, 'no +, / or = to be escaped');
    assert.deepEqual(asked_by(`#${code}`), { code: text });
  }
});

test('an address asks for an example, an assignment, nothing, or has a damaged program', () => {
  assert.deepEqual(asked_by('#example=sprites'), { example: 'sprites' });
  assert.deepEqual(asked_by('#assignment=https%3A%2F%2Fschool.example%2Fa%201.json'), { assignment: 'https://school.example/a 1.json' });
  assert.deepEqual(asked_by(''), null);
  assert.deepEqual(asked_by('#ref-canvas'), null, "the reference's own anchors ask for nothing");
  assert.deepEqual(asked_by('#code=%%%'), { damaged: true }, 'not base64');
  assert.deepEqual(asked_by('#code=_w'), { damaged: true }, 'bytes that are no UTF-8 text');
});
