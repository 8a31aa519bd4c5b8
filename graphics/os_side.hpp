// Private to the library: what it asks of the operating system. The SDL side
// (sdl_side.hpp) draws and waits; this side starts the process, reads and
// writes files, which SDL 1.2 does differently on every system or not at all.
//
// One file per system gives these functions: os_side_posix.cpp (Linux,
// macOS, the browser's file system), os_side_windows.cpp and
// os_side_playground.cpp (the playground's page, whose files are its own).
// The build (CMakeLists.txt, or web/playground/build.mjs) picks one. A new
// system copies the nearer one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kavex::os_side {

// Whatever the system wants done before SDL starts; a desktop SDL side calls
// it first thing in its start().
void prepare_process();

// Writes `size` bytes as the file `name` (UTF-8): the whole file or none, an
// earlier file of that name untouched on failure. When it fails, `reason`
// holds the system's own words for why.
bool write_file(const std::string& name, const std::uint8_t* bytes, std::size_t size, std::string& reason);

// Writes `size` bytes at the end of the file `name` (UTF-8), or, with
// `start_new`, as the whole of a new file of that name: for what grows while
// the program runs (a run's recording, its pictures). Not in one step, and
// not flushed to disk. When it fails, `reason` holds the system's words.
bool append_file(const std::string& name, const std::uint8_t* bytes, std::size_t size, bool start_new, std::string& reason);

// Reads the whole file `name` (UTF-8) into `bytes`; false when it cannot be
// read or holds more than `max_size` bytes, with the system's own words for
// why in `reason`. A file that does not fit in memory throws std::bad_alloc.
bool read_file(const std::string& name, std::size_t max_size, std::vector<std::uint8_t>& bytes, std::string& reason);

// Sets an environment variable of this process, for SDL to read when it
// starts; a side whose SDL reads none does nothing.
void set_environment(const char* name, const char* value);

// The program's file name without its folder (and without ".exe"), UTF-8,
// for the window's first title; "kavex" when the system does not say.
std::string program_name();

// Shows `title` (UTF-8) as the window's title, every letter, once SDL has
// set it: where SDL passes a title through a narrower code page, this side
// sets it again; where SDL's title takes UTF-8, it does nothing.
void show_title(const std::string& title);

// Writes `text` (UTF-8) to standard error: on a console that takes its own
// characters, as those, so that every letter shows; UTF-8 otherwise.
void write_error(const std::string& text);

// Writes `line` (UTF-8) to standard error at once, with no buffering or
// allocation, so that a signal handler may call it.
void say_at_once(const char* line);

// The language the user reads, as the system says it ("hu_HU.UTF-8", "pl"):
// the locale's LC_ALL, LC_MESSAGES or LANG, the first one set, on POSIX; the
// user's interface language on Windows; "" when the system does not say.
std::string system_language();

}  // namespace kavex::os_side
