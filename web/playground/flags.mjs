// The compiler's flags, for the library built ahead of time (build.mjs) and
// for a program compiled in the page (compiler.mjs): one target, no
// exceptions (this toolchain's C++ library has no exception runtime).
const target = ['--target=wasm32-wasip1', '-std=c++17', '-fno-exceptions'];
export const library_flags = [...target, '-O2', '-DNDEBUG', '-Wall', '-Wextra', '-Wpedantic'];
export const program_flags = [...target, '-O1', '-Wall', '-Wextra', '-Iinclude'];
// A megabyte of stack, as a desktop thread has at least, below the program's
// data, so that running past it traps rather than overwriting the data; at
// most 512 MB of memory, well below what the browser gives a page, so that
// a program that allocates without end stops there; the library last.
export const link_flags = [...target, '-Wl,-z,stack-size=1048576', '-Wl,--stack-first',
  '-Wl,--max-memory=536870912', 'lib/libkavex.a'];
