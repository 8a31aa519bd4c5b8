// Explanations of silent mistakes, written only when KAVEX_EXPLAIN asks.
#include "explain.hpp"
#include "graphics.hpp"
#include "messages.hpp"
#include "os_side.hpp"
#include "pixels.hpp"
#include "sdl_side.hpp"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace kavex::detail {

namespace {

// Set before anything is explained, by a program built with explanations on
// by default (graphics.hpp).
bool on_by_default = false;
// -1 until decided.
int explaining_state = -1;
// The Ctrl-C notice, made ready when explanations are turned on: a signal
// handler can only copy it out.
char interrupt_notice_text[1024] = "";

bool asked() {
    const char* value = std::getenv("KAVEX_EXPLAIN");
    if (!value || !*value) return on_by_default;
    return std::strcmp(value, "0") != 0;
}

// "kavex: " and the message, cut at a whole letter if it is longer than the room.
void prepare_interrupt_notice() {
    unless_out_of_memory(
        [] {
            std::string line = "kavex: " + words(text::interrupt);
            std::size_t room = sizeof interrupt_notice_text - 2;
            if (line.size() > room) {
                while (room > 0 && (static_cast<unsigned char>(line[room]) & 0xC0) == 0x80) --room;
                line.resize(room);
            }
            line += '\n';
            line.copy(interrupt_notice_text, line.size());
            interrupt_notice_text[line.size()] = '\0';
        },
        [] {});
}

// Turned on: the Ctrl-C notice made, and a course's messages that were
// refused said so.
void decide(bool on) {
    explaining_state = on ? 1 : 0;
    if (!on) return;
    prepare_interrupt_notice();
    unless_out_of_memory(
        [] {
            const std::string refused = messages_refusal();
            if (!refused.empty()) say(refused);
        },
        [] {});
}

}  // namespace

bool explaining_on() {
    if (explaining_state < 0) decide(asked());
    return explaining_state == 1;
}

bool explain_by_default() {
    on_by_default = true;
    decide(asked());
    return true;
}

const char* interrupt_notice() { return interrupt_notice_text; }

bool explaining(mistake kind) {
    static bool said[static_cast<int>(mistake::kinds)] = {};
    if (!explaining_on() || said[static_cast<int>(kind)]) return false;
    said[static_cast<int>(kind)] = true;
    return true;
}

void say(const std::string& message) { os_side::write_error("kavex: " + message + "\n"); }

std::string quoted(const std::string& font_text) { return font_to_utf8(font_text.substr(0, 40)); }

namespace {

// A size as the program wrote it: open takes unsigned sizes, so a negative
// int arrives as a huge number, 4294967291 for -5.
std::string as_written(unsigned size) { return std::to_string(static_cast<std::int32_t>(size)); }

}  // namespace

bool end_open(canvas& c, const char* call, unsigned width, unsigned height, text consequence) {
    c.pen_x = static_cast<std::int32_t>(width / 2);
    c.pen_y = static_cast<std::int32_t>(height / 2);
    if (c.surface) return true;
    explain(mistake::open_failed, [&] {
        const bool negative = static_cast<std::int32_t>(width) < 0 || static_cast<std::int32_t>(height) < 0;
        const text why = negative ? text::open_negative
                         : !within_size_limit(width, height) ? text::open_too_large
                                                             : text::open_refused;
        return words(why, {{"call", call}, {"width", as_written(width)}, {"height", as_written(height)},
                           {"most_width", max_width}, {"most_height", max_height}, {"why", sdl_side::last_error()}}) +
               " " + words(consequence);
    });
    return false;
}

}  // namespace kavex::detail

namespace kavex::detail {

// The drawing paths in graphics_inline.hpp call these when they fail.
void explain_no_surface(const char* operation) {
    explain(mistake::no_surface, [&] { return words(text::no_surface, {{"call", operation}}); });
}

void explain_no_surface_of(text message) {
    explain(mistake::no_surface, [&] { return words(message); });
}

void explain_refused_move(const canvas& c, long long x, long long y) {
    if (!usable(c.surface)) return explain_no_surface_of(text::no_surface_move);
    explain(mistake::move_refused, [&] {
        const long long w = c.surface->w, h = c.surface->h;
        return words(text::move_refused, {{"x", x}, {"y", y}, {"width", w}, {"height", h}, {"last_x", w - 1},
                                          {"last_y", h - 1}, {"pen_x", c.pen_x}, {"pen_y", c.pen_y}});
    });
}

}  // namespace kavex::detail
