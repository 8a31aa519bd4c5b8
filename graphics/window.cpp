// The output window. SDL starts when it is built, which the header's `gout`
// does before main in every program.
#include "explain.hpp"
#include "graphics.hpp"
#include "pixels.hpp"
#include "run_frames.hpp"
#include "run_input.hpp"
#include "sdl_side.hpp"
#include "sound_output.hpp"

#include <cstdlib>
#include <new>
#include <type_traits>

namespace kavex {

namespace {

void destroy_window();

}  // namespace

// The window is built by hand in static storage, so that its guard is a plain
// flag and its destruction (which shuts SDL down) is registered with atexit
// only once the construction has succeeded.
groutput& groutput::instance() {
    static std::aligned_storage_t<sizeof(groutput), alignof(groutput)> single_inst;
    static bool built = false;
    if (!built) {
        new (&single_inst) groutput;
        built = true;
        std::atexit(destroy_window);
    }
    return *std::launder(reinterpret_cast<groutput*>(&single_inst));
}

namespace {
void destroy_window() { groutput::instance().~groutput(); }
}  // namespace

groutput::groutput() {
    run_input::prepare();  // a replay chooses SDL's video driver
    run_frames::prepare();
    if (!sdl_side::start()) {
        detail::explain(detail::mistake::sdl_start,
                        [] { return detail::words(detail::text::sdl_start, {{"why", sdl_side::last_error()}}); });
        std::exit(1);
    }
    if (run_input::replaying()) sdl_side::hide_pointer();
    surface = nullptr;
}

groutput::~groutput() {
    run_input::finish();
    detail::end_sound();
    sdl_side::stop();
}

bool groutput::open(unsigned width, unsigned height, bool fullscreen) {
    surface = detail::within_size_limit(width, height)
                  ? sdl_side::open_window(static_cast<int>(width), static_cast<int>(height), fullscreen)
                  : nullptr;
    return detail::end_open(*this, "gout.open", width, height, detail::text::open_window_missing);
}

void groutput::set_title(const std::string& title) { sdl_side::set_title(title); }

void groutput::refresh() {
    if (surface) {
        run_frames::shown(surface);  // first: the list is never behind the screen
        return sdl_side::show(surface);
    }
    detail::explain(detail::mistake::refresh_unopened, [] { return detail::words(detail::text::refresh_unopened); });
}

}  // namespace kavex
