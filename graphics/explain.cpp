// Explanations of silent mistakes, written only when KAVEX_EXPLAIN asks.
#include "explain.hpp"
#include "graphics.hpp"
#include "pixels.hpp"
#include "sdl_side.hpp"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace kavex::detail {

namespace {

bool asked() {
    const char* value = std::getenv("KAVEX_EXPLAIN");
    return value && *value && std::strcmp(value, "0") != 0;
}

}  // namespace

bool explaining_on() {
    static const bool on = asked();
    return on;
}

bool explaining(mistake kind) {
    static bool said[static_cast<int>(mistake::kinds)] = {};
    if (!explaining_on() || said[static_cast<int>(kind)]) return false;
    said[static_cast<int>(kind)] = true;
    return true;
}

void say(const std::string& message) {
    const std::string line = "kavex: " + message + "\n";
    std::fputs(line.c_str(), stderr);
    std::fflush(stderr);
}

std::string quoted(const std::string& font_text) { return font_to_utf8(font_text.substr(0, 40)); }

std::string size_text(long long width, long long height) {
    return std::to_string(width) + " x " + std::to_string(height);
}

namespace {

// A size as the program wrote it: open takes unsigned sizes, so a negative
// int arrives as a huge number, 4294967291 for -5.
std::string as_written(unsigned size) { return std::to_string(static_cast<std::int32_t>(size)); }

}  // namespace

bool end_open(canvas& c, const char* call, unsigned width, unsigned height, const char* consequence) {
    c.pen_x = static_cast<std::int32_t>(width / 2);
    c.pen_y = static_cast<std::int32_t>(height / 2);
    if (c.surface) return true;
    explain(mistake::open_failed, [&] {
        const bool negative = static_cast<std::int32_t>(width) < 0 || static_cast<std::int32_t>(height) < 0;
        const std::string reason = negative ? "a size cannot be negative"
                                   : !within_size_limit(width, height)
                                       ? "the library draws on at most " + size_text(max_width, max_height) + " pixels"
                                       : sdl_side::last_error();
        return std::string(call) + "(" + as_written(width) + ", " + as_written(height) + ") failed: " + reason + ". " +
               consequence;
    });
    return false;
}

}  // namespace kavex::detail

namespace kavex::detail {

// The drawing paths in graphics_inline.hpp call these when they fail.
void explain_no_surface(const char* operation) {
    detail::explain(detail::mistake::no_surface, [&] {
        return std::string(operation) +
               " on a canvas that has no surface does nothing. Open it first "
               "(gout.open(400, 300), or canvas c(200, 100)) and check that open returned true.";
    });
}

void explain_refused_move(const canvas& c, long long x, long long y) {
    if (!usable(c.surface)) return explain_no_surface("a move of the pen");
    detail::explain(detail::mistake::move_refused, [&] {
        const long long w = c.surface->w, h = c.surface->h;
        return "the pen cannot move to (" + std::to_string(x) + ", " + std::to_string(y) + "): the surface is " +
               detail::size_text(w, h) + ", so x must lie in 0.." + std::to_string(w - 1) + " and y in 0.." +
               std::to_string(h - 1) + ". The pen stays at (" + std::to_string(c.pen_x) + ", " +
               std::to_string(c.pen_y) + "), and the next drawing starts there.";
    });
}

}  // namespace kavex::detail
