#include <gtest/gtest.h>  // before Xlib, whose macros clash with it

#include "x11_session.hpp"

#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <thread>

extern char** environ;

namespace x11 {

namespace {

std::string read_display_name() {
    const char* file = std::getenv("KAVEX_DISPLAY_FILE");
    if (!file) return {};
    std::ifstream in(file);
    std::string name;
    std::getline(in, name);
    return name;
}

int ms_left(clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<milliseconds>(deadline - clock::now()).count();
    return static_cast<int>(std::max<long long>(left, 0));
}

// Waits up to timeout_ms for the X connection to have something to read.
bool wait_readable(Display* dpy, int timeout_ms) {
    if (XPending(dpy)) return true;
    pollfd p{ConnectionNumber(dpy), POLLIN, 0};
    return poll(&p, 1, timeout_ms) > 0 && XPending(dpy);
}

// Xlib's default handler ends the process; a test only wants to know.
int record_error(Display*, XErrorEvent*) { return 0; }

bool starts_with(const std::string& s, const std::string& prefix) { return s.rfind(prefix, 0) == 0; }

}  // namespace

int image::count(std::uint32_t value) const {
    return static_cast<int>(std::count(pixels.begin(), pixels.end(), value));
}

// ---------------------------------------------------------------------------

session::session() : name_(read_display_name()) {
    if (name_.empty()) {
        ADD_FAILURE() << "no display: KAVEX_DISPLAY_FILE must name the file the Xvfb fixture writes";
        return;
    }
    dpy_ = XOpenDisplay(name_.c_str());
    if (!dpy_) {
        ADD_FAILURE() << "cannot connect to the X server on " << name_;
        return;
    }
    int event_base, error_base, major, minor;
    if (!XTestQueryExtension(dpy_, &event_base, &error_base, &major, &minor)) {
        ADD_FAILURE() << "the X server on " << name_ << " has no XTest extension";
        XCloseDisplay(dpy_);
        dpy_ = nullptr;
        return;
    }
    XSetErrorHandler(record_error);
    XSelectInput(dpy_, DefaultRootWindow(dpy_), SubstructureNotifyMask);
    // Keys go to the window under the pointer, as with no window manager,
    // whatever focus an earlier program left behind.
    XSetInputFocus(dpy_, PointerRoot, RevertToPointerRoot, CurrentTime);
    park_pointer();
}

session::~session() {
    if (!dpy_) return;
    park_pointer();
    XCloseDisplay(dpy_);
}

std::unique_ptr<program> session::start(const std::string& path, const std::vector<std::string>& args,
                                        const std::vector<std::string>& env) {
    if (!dpy_) return nullptr;
    // Windows that exist now are not the new program's.
    Window root_return, parent_return, *children = nullptr;
    unsigned count = 0;
    std::vector<Window> before;
    if (XQueryTree(dpy_, DefaultRootWindow(dpy_), &root_return, &parent_return, &children, &count)) {
        before.assign(children, children + count);
        XFree(children);
    }

    std::vector<std::string> env_strings = env;
    env_strings.push_back("DISPLAY=" + name_);
    const std::vector<std::string> given = env_strings;
    const auto replaced = [&](const std::string& entry) {
        if (starts_with(entry, "SDL_VIDEODRIVER=")) return true;
        for (const std::string& own : given)
            if (starts_with(entry, own.substr(0, own.find('=') + 1))) return true;
        return false;
    };
    for (char** e = environ; *e; ++e)
        if (!replaced(*e)) env_strings.push_back(*e);
    std::vector<char*> envp;
    for (auto& s : env_strings) envp.push_back(s.data());
    envp.push_back(nullptr);

    std::vector<std::string> arg_strings{path};
    arg_strings.insert(arg_strings.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& s : arg_strings) argv.push_back(s.data());
    argv.push_back(nullptr);

    int out[2];
    if (pipe(out) != 0) return nullptr;
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid == 0) {
        // A test that dies must not leave its program running (and holding
        // CTest's output pipe open).
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent) _exit(127);
        dup2(out[1], 1);
        close(out[0]);
        close(out[1]);
        execve(path.c_str(), argv.data(), envp.data());
        _exit(127);
    }
    close(out[1]);
    if (pid < 0) {
        close(out[0]);
        ADD_FAILURE() << "cannot start " << path;
        return nullptr;
    }
    fcntl(out[0], F_SETFL, fcntl(out[0], F_GETFL) | O_NONBLOCK);
    return std::unique_ptr<program>(new program(*this, pid, out[0], std::move(before)));
}

void session::move_pointer(Window w, int x, int y) {
    Window child;
    int root_x, root_y;
    XTranslateCoordinates(dpy_, w, DefaultRootWindow(dpy_), x, y, &root_x, &root_y, &child);
    XTestFakeMotionEvent(dpy_, DefaultScreen(dpy_), root_x, root_y, CurrentTime);
    sync();
}

void session::park_pointer() {
    const int screen = DefaultScreen(dpy_);
    XTestFakeMotionEvent(dpy_, screen, DisplayWidth(dpy_, screen) - 1, DisplayHeight(dpy_, screen) - 1,
                         CurrentTime);
    sync();
}

void session::click(unsigned button) {
    XTestFakeButtonEvent(dpy_, button, True, CurrentTime);
    XTestFakeButtonEvent(dpy_, button, False, CurrentTime);
    sync();
}

void session::key_down(unsigned long keysym) {
    XTestFakeKeyEvent(dpy_, XKeysymToKeycode(dpy_, keysym), True, CurrentTime);
    sync();
}

void session::key_up(unsigned long keysym) {
    XTestFakeKeyEvent(dpy_, XKeysymToKeycode(dpy_, keysym), False, CurrentTime);
    sync();
}

void session::tap(unsigned long keysym) {
    key_down(keysym);
    key_up(keysym);
    // SDL takes a release and a press of the same key less than 2 ms apart
    // for the keyboard's auto-repeat, and drops them.
    std::this_thread::sleep_for(milliseconds(3));
}

void session::tap_shifted(unsigned long keysym) {
    key_down(XK_Shift_L);
    tap(keysym);
    key_up(XK_Shift_L);
}

void session::close_request(Window w) {
    XEvent ev{};
    ev.xclient.type = ClientMessage;
    ev.xclient.window = w;
    ev.xclient.message_type = XInternAtom(dpy_, "WM_PROTOCOLS", False);
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = static_cast<long>(XInternAtom(dpy_, "WM_DELETE_WINDOW", False));
    ev.xclient.data.l[1] = CurrentTime;
    XSendEvent(dpy_, w, False, NoEventMask, &ev);
    sync();
}

image session::grab(Window w) {
    image out;
    XWindowAttributes attr;
    if (!XGetWindowAttributes(dpy_, w, &attr)) return out;
    XImage* img = XGetImage(dpy_, w, 0, 0, attr.width, attr.height, AllPlanes, ZPixmap);
    if (!img) return out;
    out.width = attr.width;
    out.height = attr.height;
    out.pixels.resize(static_cast<std::size_t>(out.width) * out.height);
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x)
            out.pixels[static_cast<std::size_t>(y) * out.width + x] =
                static_cast<std::uint32_t>(XGetPixel(img, x, y)) & 0xFFFFFFu;
    XDestroyImage(img);
    return out;
}

void session::sync() { XSync(dpy_, False); }

// ---------------------------------------------------------------------------

program::program(session& s, int pid, int out_fd, std::vector<Window> before)
    : session_(s), pid_(pid), out_fd_(out_fd), windows_before_(std::move(before)) {}

program::~program() {
    if (running()) {
        kill(pid_, SIGKILL);
        kill(pid_, SIGCONT);
        wait_exit(milliseconds(2000));
    }
    close(out_fd_);
}

// SDL may map a window and take it away again while it starts (the
// compatibility library does, within 1 ms on an idle machine and within 7 ms
// in 40 starts beside two busy loops); the program's window is a new
// top-level window that stays mapped for 50 ms. Each candidate is looked at as soon as it is seen, and
// the moment before which it was certainly not mapped yet is kept, so that a
// test can tell what the window showed right after it appeared.
Window program::wait_for_window(milliseconds timeout) {
    constexpr auto settle = milliseconds(50);
    Display* dpy = session_.dpy_;
    const auto deadline = clock::now() + timeout;
    Window candidate = None;
    clock::time_point seen, candidate_after, look_at, all_read_at = clock::now();
    image look;
    while (clock::now() < deadline && running()) {
        // Events that came in while this process was held up are read before
        // the candidate counts as settled: its unmapping may be among them.
        if (candidate != None && clock::now() - seen >= settle) {
            XSync(dpy, False);
            if (!XPending(dpy)) {
                mapped_after_ = candidate_after;
                mapped_at_ = seen;
                first_look_ = std::move(look);
                first_look_at_ = look_at;
                return candidate;
            }
        }
        if (!XPending(dpy)) {
            all_read_at = clock::now();  // nothing the server sent before now is unread
            pollfd p{ConnectionNumber(dpy), POLLIN, 0};
            if (poll(&p, 1, std::min(ms_left(deadline), 10)) <= 0 || !XPending(dpy)) continue;
        }
        XEvent ev;
        XNextEvent(dpy, &ev);
        if (ev.type == MapNotify) {
            const Window w = ev.xmap.window;
            if (std::find(windows_before_.begin(), windows_before_.end(), w) != windows_before_.end()) continue;
            XWindowAttributes attr;
            if (XGetWindowAttributes(dpy, w, &attr) && !attr.override_redirect) {
                candidate = w;
                seen = clock::now();
                candidate_after = all_read_at;
                look = session_.grab(w);
                look_at = clock::now();
            }
        } else if ((ev.type == UnmapNotify && ev.xunmap.window == candidate) ||
                   (ev.type == DestroyNotify && ev.xdestroywindow.window == candidate)) {
            candidate = None;
        }
    }
    return None;
}

std::string program::sdl_provider() const {
    std::ifstream maps("/proc/" + std::to_string(pid_) + "/maps");
    std::string line;
    while (std::getline(maps, line)) {
        if (line.find("libSDL-1.2.so") == std::string::npos) continue;
        return line.find("sdl12-compat") != std::string::npos ? "compat" : "classic";
    }
    return {};
}

bool program::running() {
    if (status_) return false;
    int status;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
        status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        return false;
    }
    return true;
}

std::optional<int> program::wait_exit(milliseconds timeout) {
    const auto deadline = clock::now() + timeout;
    while (running() && clock::now() < deadline) std::this_thread::sleep_for(milliseconds(2));
    running();
    return status_;
}

void program::read_available(int timeout_ms) {
    pollfd p{out_fd_, POLLIN, 0};
    if (poll(&p, 1, timeout_ms) <= 0) return;
    char buf[4096];
    ssize_t n;
    while ((n = read(out_fd_, buf, sizeof buf)) > 0) output_.append(buf, static_cast<std::size_t>(n));
}

const std::string& program::output() {
    read_available(0);
    return output_;
}

const std::string& program::wait_for_lines(std::size_t lines, milliseconds timeout) {
    const auto deadline = clock::now() + timeout;
    do {
        read_available(std::min(ms_left(deadline), 20));
        if (static_cast<std::size_t>(std::count(output_.begin(), output_.end(), '\n')) >= lines) break;
    } while (clock::now() < deadline);
    return output_;
}

void program::pause() { kill(pid_, SIGSTOP); }
void program::resume() { kill(pid_, SIGCONT); }

// ---------------------------------------------------------------------------

namespace {
// Damage reported less than this apart belongs to the same refresh.
constexpr unsigned long burst_gap_ms = 8;
}  // namespace

refresh_counter::refresh_counter(session& s, Window w) : session_(s), damage_(0) {
    int error_base;
    if (!XDamageQueryExtension(s.dpy_, &event_base_, &error_base)) {
        ADD_FAILURE() << "the X server has no DAMAGE extension";
        return;
    }
    damage_ = XDamageCreate(s.dpy_, w, XDamageReportRawRectangles);
    s.sync();
}

refresh_counter::~refresh_counter() {
    if (damage_) XDamageDestroy(session_.dpy_, damage_);
    session_.sync();
}

// Handles what arrives within timeout_ms; returns how many refreshes began.
int refresh_counter::drain(int timeout_ms) {
    Display* dpy = session_.dpy_;
    int began = 0;
    if (!wait_readable(dpy, timeout_ms)) return 0;
    while (XPending(dpy)) {
        XEvent ev;
        XNextEvent(dpy, &ev);
        if (ev.type != event_base_ + XDamageNotify) continue;
        const auto& d = reinterpret_cast<const XDamageNotifyEvent&>(ev);
        if (d.damage != damage_) continue;
        if (!seen_any_ || d.timestamp - last_server_time_ > burst_gap_ms) ++began;
        seen_any_ = true;
        last_server_time_ = d.timestamp;
    }
    return began;
}

void refresh_counter::pass_over() {
    session_.sync();
    drain(0);
}

bool refresh_counter::wait_next(milliseconds timeout) {
    if (!damage_) return false;
    // What a test held up on a busy machine has not read yet is old news.
    pass_over();
    const auto deadline = clock::now() + timeout;
    do {
        if (drain(ms_left(deadline)) > 0) return true;
    } while (clock::now() < deadline);
    return false;
}

int refresh_counter::count_for(milliseconds span) {
    if (!damage_) return 0;
    const auto deadline = clock::now() + span;
    int n = 0;
    do {
        n += drain(ms_left(deadline));
    } while (clock::now() < deadline);
    return n;
}

// ---------------------------------------------------------------------------

std::vector<blob> blobs(const image& img, std::uint32_t value) {
    std::vector<blob> out;
    std::vector<char> seen(img.pixels.size(), 0);
    std::vector<std::pair<int, int>> stack;
    for (int y0 = 0; y0 < img.height; ++y0) {
        for (int x0 = 0; x0 < img.width; ++x0) {
            const std::size_t i0 = static_cast<std::size_t>(y0) * img.width + x0;
            if (seen[i0] || img.pixels[i0] != value) continue;
            blob b;
            b.min_x = b.max_x = x0;
            b.min_y = b.max_y = y0;
            double sx = 0, sy = 0;
            seen[i0] = 1;
            stack.push_back({x0, y0});
            while (!stack.empty()) {
                const auto [x, y] = stack.back();
                stack.pop_back();
                ++b.pixels;
                sx += x;
                sy += y;
                b.min_x = std::min(b.min_x, x);
                b.max_x = std::max(b.max_x, x);
                b.min_y = std::min(b.min_y, y);
                b.max_y = std::max(b.max_y, y);
                for (int ny = y - 1; ny <= y + 1; ++ny) {
                    for (int nx = x - 1; nx <= x + 1; ++nx) {
                        if (nx < 0 || ny < 0 || nx >= img.width || ny >= img.height) continue;
                        const std::size_t i = static_cast<std::size_t>(ny) * img.width + nx;
                        if (seen[i] || img.pixels[i] != value) continue;
                        seen[i] = 1;
                        stack.push_back({nx, ny});
                    }
                }
            }
            b.cx = sx / b.pixels;
            b.cy = sy / b.pixels;
            out.push_back(b);
        }
    }
    return out;
}

double mean_drift(const std::vector<blob>& before, const std::vector<blob>& after, int width, int reach) {
    double sum = 0;
    int pairs = 0;
    for (const blob& a : after) {
        double best_distance = 1e9, best_dx = 0;
        for (const blob& b : before) {
            double dx = a.cx - b.cx;
            if (dx > width / 2.0) dx -= width;  // the field wraps sideways
            if (dx < -width / 2.0) dx += width;
            const double dy = a.cy - b.cy;
            if (std::fabs(dx) > reach || dy < -2 || dy > reach) continue;
            const double distance = dx * dx + dy * dy;
            if (distance < best_distance) {
                best_distance = distance;
                best_dx = dx;
            }
        }
        if (best_distance < 1e9) {
            sum += best_dx;
            ++pairs;
        }
    }
    return pairs ? sum / pairs : 0;
}

bool eventually(const std::function<bool()>& condition, milliseconds timeout) {
    const auto deadline = clock::now() + timeout;
    while (!condition()) {
        if (clock::now() >= deadline) return false;
        std::this_thread::sleep_for(milliseconds(10));
    }
    return true;
}

bool printed(program& app, const std::string& text, milliseconds timeout) {
    return eventually([&] { return app.output().find(text) != std::string::npos; }, timeout);
}

}  // namespace x11
