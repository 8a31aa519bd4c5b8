// What passes between the page and the playground's side of the library
// (graphics/sdl_side_playground.cpp, graphics/os_side_playground.cpp),
// declared here once: build.mjs writes the C++ header page_interface.hpp from
// it into the tree the library is compiled in, and the page's modules
// (keys.mjs, runner.mjs) take their names from here.

// One input record from the page, six numbers in this order. Its kind says
// what happened; the names are not the key codes' (kavex::key_down is the
// down arrow), and a kind the library does not know is skipped.
export const record_fields = ['kind', 'symbol', 'character', 'x', 'y', 'button'];
export const record_kinds = {
  key_press: 1, key_release: 2, pointer_move: 3, button_press: 4, button_release: 5,
  keyboard_lost: 6, window_close: 7,  // the window closed: the end of a recording
};

// A record of that kind, its other numbers 0 where not given.
export function page_record(kind, numbers = {}) {
  if (!(kind in record_kinds)) throw new Error(`no record kind ${kind}`);
  return record_fields.map((field) => (field === 'kind' ? record_kinds[kind] : numbers[field] ?? 0));
}

// The page's functions that the library imports from the module "kavex"
// (runner.mjs gives them), each as kavex_page_NAME with its C++ type. A
// name here that runner.mjs lacks stops every run with a LinkError.
export const page_imports = {
  wait: 'void(std::uint32_t ms)',  // sleeps; input wakes it early
  now: 'std::uint32_t()',  // milliseconds since the run began
  poll: 'int(std::int32_t* record)',  // 1 and the oldest record, or 0
  open: 'void(int width, int height)',
  frame: 'void(const std::uint8_t* rgba, int width, int height)',
  title: 'void(const char* title)',
  saved: 'void(const char* name)',
  sound_allowed: 'int()',
  sound_open: 'void(int rate)',
  sound: 'void(const std::int16_t* frames, int count)',  // null: silence
  file_size: 'long(const char* name)',  // -1 when the page has no such file
  file_read: 'void(const char* name, std::uint8_t* to)',
  file_write: 'void(const char* name, const std::uint8_t* bytes, std::size_t size)',
  file_append: 'void(const char* name, const std::uint8_t* bytes, std::size_t size, int start_new)',
};

// The C++ header of all of the above.
export function page_interface_header() {
  const declaration = ([name, type]) => {
    const [, result, parameters] = type.match(/^(.*?)\((.*)\)$/);
    return `__attribute__((import_module("kavex"), import_name("${name}"))) ${result} kavex_page_${name}(${parameters});`;
  };
  const kinds = Object.entries(record_kinds).map(([name, number]) => `${name} = ${number}`);
  return [
    '// Written by web/playground/build.mjs from web/playground/page_interface.mjs:',
    "// the page's functions, and its input record.",
    '#pragma once',
    '#include <cstddef>',
    '#include <cstdint>',
    'extern "C" {',
    ...Object.entries(page_imports).map(declaration),
    '}',
    'namespace kavex::page {',
    `enum class record_kind : std::int32_t { ${kinds.join(', ')} };`,
    `enum record_field { ${record_fields.join(', ')}, record_size };`,
    '}  // namespace kavex::page',
    '',
  ].join('\n');
}
