// The compiler's flags, for the library built ahead of time (build.mjs) and
// for a program compiled in the page (compiler.mjs): one target, no
// exceptions (this toolchain's C++ library has no exception runtime).
const target = ['--target=wasm32-wasip1', '-std=c++17', '-fno-exceptions'];
export const library_flags = [...target, '-O2', '-DNDEBUG', '-Wall', '-Wextra', '-Wpedantic'];
// A program is compiled in a checking mode, so that a mistake stops it where
// it happens instead of going on silently: the C++ library checks its
// indexes and its preconditions (and says which failed), a null pointer or
// an index past an array traps, a function calling itself stays a call (and
// so runs out of stack rather than looping for ever), and line tables let
// the page name the student's line (each check its own trap, which the
// line tables name, rather than one trap for a whole function). It costs
// 3-8% of the compile time.
const checking = ['-D_LIBCPP_HARDENING_MODE=_LIBCPP_HARDENING_MODE_DEBUG', '-fsanitize=null,bounds',
  '-fsanitize-trap=all', '-fno-sanitize-merge=null,bounds', '-fno-optimize-sibling-calls', '-gline-tables-only'];
export const program_flags = [...target, '-O1', ...checking, '-Wall', '-Wextra', '-Iinclude'];
// A megabyte of stack, as a desktop thread has at least, below the program's
// data, so that running past it traps rather than overwriting the data; at
// most 512 MB of memory, well below what the browser gives a page, so that
// a program that allocates without end stops there; the library last.
export const link_flags = [...target, '-Wl,-z,stack-size=1048576', '-Wl,--stack-first',
  '-Wl,--max-memory=536870912', 'lib/libkavex.a'];
