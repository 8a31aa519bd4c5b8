// End-to-end test helpers: run a real program in the shared X server (Xvfb,
// started by the CTest fixture), drive it with real input through XTest, read
// its window back with XGetImage and count its refreshes with XDamage.
//
//   x11::session x;                              // connects to the fixture's display
//   auto app = x.start(KAVEX_STARSNOW);          // stdout on a pipe
//   Window w = app->wait_for_window();           // its new top-level window
//   x.move_pointer(w, 300, 200);
//   x.tap(XK_space);
//   x11::image frame = x.grab(w);
//   x.close_request(w);
//   EXPECT_EQ(app->wait_exit(1000), 0);
#pragma once

#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>

#include <chrono>
#include <functional>
#include <cstdint>
#include <memory>
#include <optional>
#include <thread>
#include <string>
#include <vector>

namespace x11 {

using clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// A window's pixels, 0x00RRGGBB, row by row.
struct image {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
    int count(std::uint32_t value) const;
    bool all(std::uint32_t value) const { return count(value) == width * height; }
};

class program;

class session {
public:
    // Connects to the display named in the file that KAVEX_DISPLAY_FILE names.
    // Fails the calling test (and leaves ok() false) when that is impossible.
    session();
    ~session();
    session(const session&) = delete;
    session& operator=(const session&) = delete;

    bool ok() const { return dpy_ != nullptr; }
    Display* display() const { return dpy_; }
    const std::string& display_name() const { return name_; }

    // Starts `path` with this display and the test's own environment (which
    // carries the SDL provider's LD_LIBRARY_PATH), in which each NAME=VALUE of
    // `env` is added or replaces its namesake; its stdout on a pipe.
    std::unique_ptr<program> start(const std::string& path, const std::vector<std::string>& args = {},
                                   const std::vector<std::string>& env = {});

    // Input through XTest, as a user's hands would give it.
    void move_pointer(Window w, int x, int y);  // relative to the window's corner
    void park_pointer();                        // bottom-right of the screen, off every window
    void click(unsigned button);
    void key_down(unsigned long keysym);
    void key_up(unsigned long keysym);
    void tap(unsigned long keysym);          // press and release, then 3 ms for SDL to tell it from auto-repeat
    void tap_shifted(unsigned long keysym);  // with Shift held
    // What the window manager sends when the user closes the window.
    void close_request(Window w);

    image grab(Window w);
    void sync();

private:
    friend class program;
    friend class refresh_counter;
    Display* dpy_ = nullptr;
    std::string name_;
};

// A program started by session::start. Killed on destruction if still running.
class program {
public:
    ~program();
    program(const program&) = delete;
    program& operator=(const program&) = delete;

    int pid() const { return pid_; }
    // The top-level window that the program maps first; None after the
    // timeout, whose default is generous enough for a machine whose cores
    // are all busy (a window that comes returns at once).
    Window wait_for_window(milliseconds timeout = milliseconds(20000));
    // Its window was mapped after mapped_after() and seen mapped at
    // mapped_at(); when these lie far apart, this process was held up.
    clock::time_point mapped_after() const { return mapped_after_; }
    clock::time_point mapped_at() const { return mapped_at_; }
    // What the window showed when it was seen mapped, and when it was read.
    const image& first_look() const { return first_look_; }
    clock::time_point first_look_at() const { return first_look_at_; }
    // Which SDL library the process loaded: "classic", "compat" or "".
    std::string sdl_provider() const;

    // Exit status once it has exited, or nullopt after the timeout. A death by
    // signal gives 128 + the signal number.
    std::optional<int> wait_exit(milliseconds timeout);
    bool running();

    // Everything it printed so far (reads what is waiting on the pipe).
    const std::string& output();
    // Reads until its output holds `lines` lines or the timeout passes.
    const std::string& wait_for_lines(std::size_t lines, milliseconds timeout);

    void pause();   // SIGSTOP
    void resume();  // SIGCONT

private:
    friend class session;
    program(session& s, int pid, int out_fd, std::vector<Window> before);
    void read_available(int timeout_ms);

    session& session_;
    int pid_;
    int out_fd_;
    std::vector<Window> windows_before_;
    clock::time_point mapped_after_{};
    clock::time_point mapped_at_{};
    image first_look_;
    clock::time_point first_look_at_{};
    std::string output_;
    std::optional<int> status_;
};

// Counts a window's refreshes: one burst of damage is one refresh.
class refresh_counter {
public:
    refresh_counter(session& s, Window w);
    ~refresh_counter();
    refresh_counter(const refresh_counter&) = delete;
    refresh_counter& operator=(const refresh_counter&) = delete;

    // Waits up to `timeout` for a refresh that begins after this call
    // (refreshes that came before and were not read yet are passed over);
    // false if none came.
    bool wait_next(milliseconds timeout);
    // Forgets the refreshes that came before this call.
    void pass_over();
    // Refreshes seen during the next `span`.
    int count_for(milliseconds span);

private:
    int drain(int timeout_ms);
    session& session_;
    Damage damage_;
    int event_base_ = 0;
    unsigned long last_server_time_ = 0;
    bool seen_any_ = false;
};

// Connected groups of pixels of one colour (8-neighbourhood).
struct blob {
    int pixels = 0;
    int min_x = 0, max_x = 0, min_y = 0, max_y = 0;
    double cx = 0, cy = 0;  // centroid
    int width() const { return max_x - min_x + 1; }
    int height() const { return max_y - min_y + 1; }
};
std::vector<blob> blobs(const image& img, std::uint32_t value);

// Mean sideways step of the blobs from `before` to `after`: each blob of
// `after` is paired with the nearest blob of `before` that lies up to
// `reach` columns to either side (across the wrapping edge too) and from
// 2 rows above to `reach` rows below. Unrelated pairings are as likely to
// either side, so they dilute the mean but do not bias it.
double mean_drift(const std::vector<blob>& before, const std::vector<blob>& after, int width, int reach);

// Waits until `condition` holds, checking every 10 ms; false once `timeout`
// has passed without it.
bool eventually(const std::function<bool()>& condition, milliseconds timeout);
// Waits until the program's output holds `text`.
bool printed(program& app, const std::string& text, milliseconds timeout);

}  // namespace x11
