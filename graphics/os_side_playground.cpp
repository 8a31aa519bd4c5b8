// What the library asks of the system in the playground: files are the
// page's, kept in the Worker that runs the program (web/playground/runner.mjs),
// holding the pictures of the examples and what the program saves.
#include "os_side.hpp"

#include <unistd.h>

#include <cstring>

#include "page_interface.hpp"  // the page's functions (web/playground/page_interface.mjs)

namespace kavex::os_side {

void prepare_process() {}

void set_environment(const char*, const char*) {}

bool write_file(const std::string& name, const std::uint8_t* bytes, std::size_t size, std::string&) {
    kavex_page_file_write(name.c_str(), bytes, size);
    return true;
}

bool append_file(const std::string& name, const std::uint8_t* bytes, std::size_t size, bool start_new, std::string&) {
    kavex_page_file_append(name.c_str(), bytes, size, start_new ? 1 : 0);
    return true;
}

bool read_file(const std::string& name, std::size_t max_size, std::vector<std::uint8_t>& bytes, std::string& reason) {
    bytes.clear();
    const long size = kavex_page_file_size(name.c_str());
    if (size < 0) {
        reason = "No such file in the playground";
        return false;
    }
    if (static_cast<unsigned long>(size) > max_size) {
        reason = "File too large";
        return false;
    }
    bytes.resize(static_cast<std::size_t>(size));
    kavex_page_file_read(name.c_str(), bytes.data());
    return true;
}

// The one file a student writes in the playground.
std::string program_name() { return "main"; }

// The page shows the title itself (sdl_side_playground.cpp).
void show_title(const std::string&) {}

void say_at_once(const char* line) {
    if (::write(STDERR_FILENO, line, std::strlen(line)) < 0) return;  // nowhere to tell it
}

// The page shows standard error as UTF-8.
void write_error(const std::string& text) { say_at_once(text.c_str()); }

// The page sets KAVEX_LANG from its own language menu.
std::string system_language() { return ""; }

}  // namespace kavex::os_side
