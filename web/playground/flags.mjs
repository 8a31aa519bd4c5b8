// The compiler's flags, for the library built ahead of time (build.mjs) and
// for a program compiled in the page (compiler.mjs): one target, no
// exceptions (this toolchain's C++ library has no exception runtime).
const target = ['--target=wasm32-wasip1', '-std=c++17', '-fno-exceptions'];
export const library_flags = [...target, '-O2', '-DNDEBUG', '-Wall', '-Wextra', '-Wpedantic'];
export const program_flags = [...target, '-O1', '-Wall', '-Wextra', '-Iinclude'];
// A megabyte of stack, as a desktop thread has at least; the library last.
export const link_flags = [...target, '-Wl,-z,stack-size=1048576', 'lib/libkavex.a'];
