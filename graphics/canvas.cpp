// The canvas itself: opening its surface, its colour, and its refresh. Each
// drawing operation has a file of its own (dot, line, box, text, copy, save).
#include "explain.hpp"
#include "graphics.hpp"
#include "pixels.hpp"
#include "sdl_side.hpp"

namespace kavex {

canvas::canvas() : surface(nullptr), color(0xFFFFFF), transparent(false) {}

canvas::canvas(int width, int height) : canvas() {
    open(static_cast<unsigned>(width), static_cast<unsigned>(height));
}

bool canvas::open(unsigned int width, unsigned int height) {
    // Through a canvas& that refers to the window, open means the window.
    groutput& window = groutput::instance();
    if (this == &window) return window.open(width, height);

    surface = detail::within_size_limit(width, height)
                  ? sdl_side::create_surface(static_cast<int>(width), static_cast<int>(height))
                  : nullptr;
    return detail::end_open(*this, "open", width, height, detail::text::open_canvas_empty);
}

// A canvas that shares the window's surface (a copy of gout) shows the window.
void canvas::refresh() {
    groutput& window = groutput::instance();
    if (surface && surface == window.surface) window.refresh();
}

void canvas::set_color(int red, int green, int blue) {
    color = (red & 0xFF) * 65536 + (green & 0xFF) * 256 + (blue & 0xFF);
}

}  // namespace kavex
