// libFuzzer harness: the input bytes drive a sequence of calls through the
// library's whole public interface, as a careless program might make them.
// Whatever the sequence, the library must not crash, hang, leak or write
// outside a surface; AddressSanitizer and UndefinedBehaviorSanitizer watch.
//
// Run with SDL_VIDEODRIVER=dummy: the window starts SDL before main.
#include "graphics.hpp"

#include "../drawing_operations.hpp"
#include "load.hpp"
#include "pixels.hpp"
#include "sound_file.hpp"

#include <SDL/SDL_syswm.h>
#include <fuzzer/FuzzedDataProvider.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace {

using kavex::canvas;
using kavex::gin;
using kavex::gout;

// Surfaces stay small enough that a run takes microseconds; the largest
// widths and heights the library accepts are still reached, in thin strips.
constexpr std::uint64_t max_area = 1u << 16;

constexpr int edge_ints[] = {
    0, 1, -1, 2, -2, 3, 7, 8, 13, 16, 17, 255, 256, 399, 400, 16383, 16384, 32767, 32768, -32768, -32769,
    65535, 65536, -65536, INT_MAX, INT_MIN, INT_MAX - 1, INT_MIN + 1, INT_MAX / 2, INT_MIN / 2};

constexpr double edge_doubles[] = {
    0.0, -0.0, 0.5, -0.5, 0.999999, -1.0, 399.9, 2147483647.0, 2147483648.0, -2147483648.0,
    -2147483649.0, 4294967295.0, 4294967296.0, 9223372036854774784.0, 9223372036854775808.0,
    -9223372036854775808.0, -9223372036854777856.0, 1e300, -1e300,
    std::numeric_limits<double>::quiet_NaN(), -std::numeric_limits<double>::quiet_NaN(),
    std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
    std::numeric_limits<double>::denorm_min(), std::numeric_limits<double>::max(),
    std::numeric_limits<double>::lowest()};

class session {
public:
    explicit session(FuzzedDataProvider& in) : in_(in) {
        gout.pen_x = gout.pen_y = 0;
        gout.color = 0xFFFFFF;
        gout.transparent = false;
        gin.quit = false;
    }
    // Every surface made for this input is released at its end: a canvas
    // never releases its own, so the program that made it does.
    ~session() {
        gin.timer(0);
        drain();
        if (gout.surface && !is_video_surface(gout.surface)) gout.surface = SDL_GetVideoSurface();
        for (SDL_Surface* s : made_) SDL_FreeSurface(s);
    }

    void run() {
        int budget = 64;  // operations per input: keeps every run short
        while (in_.remaining_bytes() > 0 && budget-- > 0) step();
    }

private:
    static bool is_video_surface(const SDL_Surface* s) { return s == SDL_GetVideoSurface(); }

    // The operation byte, modulo 32, numbers the operation: the drawing ones
    // as ../drawing_operations.hpp numbers them, the others here. A number
    // that nothing has yet does nothing, so that a new operation leaves the
    // meaning of every seed as it was.
    void step() {
        switch (in_.ConsumeIntegral<std::uint8_t>() % 32) {
#define KAVEX_FUZZ_OPERATION(number, name) \
    case number: name(); break;
            KAVEX_DRAWING_OPERATIONS(KAVEX_FUZZ_OPERATION)
#undef KAVEX_FUZZ_OPERATION
            case 0: open_canvas(); break;
            case 1: open_window(); break;
            case 2: write_fields(); break;
            case 3: write_surface(); break;
            case 4: pick().set_color(any_int(), any_int(), any_int()); break;
            case 5: pick().move_point(any_int(), any_int()); break;
            case 9: pick().refresh(); break;
            case 10: stream(pick()); break;
            case 13: chain(pick()); break;
            case 15: measure(pick()); break;
            case 17: save(); break;
            case 18: events(); break;
            case 19: events(); break;
            case 20: input_fields(); break;
            case 27: load_picture(); break;
            case 28: pick().set_text_scale(any_int()); break;
            case 29: read_back(pick()); break;
            case 30: gin.key_repeat(any_int() % 1000, any_int() % 1000); break;
            case 31: load_sound(); break;
            default: break;
        }
    }

    // The drawing operations, each on any canvas or the window, with any numbers.
    void draw_dot() { pick().draw_dot(); }
    void draw_line() { pick().draw_line(any_int(), any_int()); }
    void draw_box() { pick().draw_box(any_int(), any_int()); }
    void line_abs() { insert<kavex::line_abs>(pick()); }
    void box_abs() { insert<kavex::box_abs>(pick()); }
    void box_rel() { insert<kavex::box_rel>(pick()); }
    void dot() { pick() << kavex::dot; }
    void draw_disc() { pick().draw_disc(any_int()); }
    void draw_circle() { pick().draw_circle(any_int()); }
    void disc() { with_number([&](auto r) { pick() << kavex::disc(r); }); }
    void circle() { with_number([&](auto r) { pick() << kavex::circle(r); }); }

    // 0 to 3 are the plain canvases, 4 is the window.
    canvas& pick() {
        const auto k = in_.ConsumeIntegralInRange<std::size_t>(0, canvases_.size());
        return k == canvases_.size() ? static_cast<canvas&>(gout) : canvases_[k];
    }

    canvas& pick_plain() { return canvases_[in_.ConsumeIntegralInRange<std::size_t>(0, canvases_.size() - 1)]; }

    int any_int() {
        switch (in_.ConsumeIntegralInRange(0, 3)) {
            case 0: return in_.PickValueInArray(edge_ints);
            case 1: return in_.ConsumeIntegral<int>();
            default: return in_.ConsumeIntegralInRange(-40, 440);
        }
    }

    double any_double() {
        switch (in_.ConsumeIntegralInRange(0, 3)) {
            case 0: return in_.PickValueInArray(edge_doubles);
            case 1: {  // any bit pattern: NaNs with payloads, subnormals, everything
                const auto bits = in_.ConsumeIntegral<std::uint64_t>();
                double d;
                std::memcpy(&d, &bits, sizeof d);
                return d;
            }
            case 2: return in_.ConsumeFloatingPoint<double>();
            default: return in_.ConsumeFloatingPointInRange(-40.0, 440.0);
        }
    }

    // A width or height as a program might pass it, shrunk only where the
    // library would really allocate that much.
    void size(unsigned& w, unsigned& h) {
        w = static_cast<unsigned>(any_int());
        h = static_cast<unsigned>(any_int());
        const std::uint64_t area = std::uint64_t{w} * h;
        if (w > 0 && w <= 0xFFFF && h > 0 && h <= 0xFFFF && area > max_area) {
            if (in_.ConsumeBool()) w = std::max<unsigned>(1, max_area / h);
            else h = std::max<unsigned>(1, max_area / w);
        }
    }

    void keep(SDL_Surface* s) {
        if (s && !is_video_surface(s)) made_.push_back(s);
    }

    void open_canvas() {
        unsigned w, h;
        size(w, h);
        canvas& c = pick_plain();
        if (in_.ConsumeBool()) {
            c.open(w, h);
        } else {
            c = canvas(static_cast<int>(w), static_cast<int>(h));
        }
        keep(c.surface);
    }

    void open_window() {
        unsigned w, h;
        size(w, h);
        // A zero lets SDL choose that side (the desktop's, or the last mode's):
        // the other side stays small so that the window stays small too.
        if (w == 0) h = std::min(h, 64u);
        if (h == 0) w = std::min(w, 64u);
        // Canvases that were given the window's surface by hand would be left
        // holding a surface that SDL frees on the mode change.
        for (canvas& c : canvases_)
            if (c.surface && is_video_surface(c.surface)) c.surface = nullptr;
        gout.open(w, h, in_.ConsumeBool());
    }

    void write_fields() {
        canvas& c = pick();
        switch (in_.ConsumeIntegralInRange(0, 3)) {
            case 0: c.pen_x = any_int(); break;
            case 1: c.pen_y = any_int(); break;
            case 2: c.color = in_.ConsumeIntegral<std::int32_t>(); break;
            default: c.transparent = in_.ConsumeBool(); break;
        }
    }

    // A program may put any surface in a canvas: none, another canvas's, or
    // one of a depth the library does not draw on.
    void write_surface() {
        canvas& c = pick();
        const bool window = &c == &gout;
        switch (in_.ConsumeIntegralInRange(0, 4)) {
            case 0: c.surface = nullptr; break;
            case 1: c.surface = window ? SDL_GetVideoSurface() : pick_plain().surface; break;
            case 2: {
                const int depth = in_.PickValueInArray({8, 16, 24, 32});
                SDL_Surface* s = SDL_CreateRGBSurface(0, in_.ConsumeIntegralInRange(1, 40),
                                                      in_.ConsumeIntegralInRange(1, 40), depth, 0, 0, 0, 0);
                keep(s);
                if (!window && s) c.surface = s;
                break;
            }
            case 3: c.surface = window ? pick_plain().surface : gout.surface; break;
            default:
                if (!window) c.surface = padded_surface();
                break;
        }
    }

    // A 32-bit surface on memory of the program's own, its rows any number of
    // bytes apart from 4 x width on, so rows need not be 4-byte aligned.
    SDL_Surface* padded_surface() {
        const int w = in_.ConsumeIntegralInRange(1, 40);
        const int h = in_.ConsumeIntegralInRange(1, 40);
        const int pitch = 4 * w + in_.ConsumeIntegralInRange(0, 9);
        memory_.emplace_back(static_cast<std::size_t>(pitch) * h, std::uint8_t{0x5A});
        SDL_Surface* s =
            SDL_CreateRGBSurfaceFrom(memory_.back().data(), w, h, 32, pitch, 0xFF0000, 0xFF00, 0xFF, 0);
        keep(s);
        return s;
    }

    // Any bytes, newlines made common so that text runs over several lines.
    void draw_text() {
        canvas& c = pick();
        std::string s = in_.ConsumeRandomLengthString(48);
        for (char& ch : s)
            if (ch == '\\') ch = '\n';
        c.draw_text(s);
    }

    // -1 stands for a default in the first four numbers, so it comes often.
    int copy_int() { return in_.ConsumeBool() ? -1 : any_int(); }

    void blitfrom() {
        canvas& to = pick();
        const canvas& from = pick();
        if (in_.ConsumeBool()) {
            to.blitfrom(from, copy_int(), copy_int(), copy_int(), copy_int(), any_int(), any_int());
        } else {
            to.blitfrom(from, any_int(), any_int());
        }
    }

    // Into the session's folder, under a name of any letters, or into a
    // folder that does not exist. The file goes again at once.
    void save() {
        if (saves_left_ == 0) return;
        --saves_left_;
        std::string name = in_.ConsumeRandomLengthString(300);
        for (char& ch : name)
            if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
        const std::string path = folder() + (in_.ConsumeBool() ? "/" : "/missing/") + name;
        pick().save(path);
        std::remove(path.c_str());
    }

    // The rest of the input as a picture file's bytes, decoded straight from
    // memory into a plain canvas. A picture the library would really decode
    // stays small; a larger one is still refused from its header.
    void load_picture() {
        canvas& c = pick_plain();
        const std::vector<std::uint8_t> file = in_.ConsumeRemainingBytes<std::uint8_t>();
        unsigned w = 0, h = 0;
        if (kavex::detail::picture_size(file.data(), file.size(), w, h) && kavex::detail::within_size_limit(w, h) &&
            std::uint64_t{w} * h > max_area)
            return;
        std::string reason;
        kavex::detail::decode_picture(file.data(), file.size(), c, reason);
        keep(c.surface);
    }

    // The rest of the input as a sound file, WAV, OGG or neither, then
    // mixed at any loudness: the reader and the converter must refuse or
    // decode whatever the bytes say.
    void load_sound() {
        static const std::string heads[] = {"", "RIFF\xff\xff\xff\xffWAVE", "OggS"};
        const std::string& head = heads[in_.ConsumeIntegralInRange<std::size_t>(0, 2)];
        const int percent = any_int();
        std::vector<std::uint8_t> file(head.begin(), head.end());
        const std::vector<std::uint8_t> rest = in_.ConsumeRemainingBytes<std::uint8_t>();
        file.insert(file.end(), rest.begin(), rest.end());
        auto clip = std::make_shared<kavex::detail::sound_clip>();
        std::string reason;
        if (!kavex::detail::decode_sound(file.data(), file.size(), *clip, reason)) return;
        kavex::detail::mixer m;
        m.start(clip, 1, percent, true);
        std::int16_t out[2 * 1024];
        m.mix(out, 1024);
        m.stop(1);
        m.mix(out, 1024);
    }

    void read_back(const canvas& c) {
        volatile int sink = c.pixel(any_int(), any_int()) + gin.held(any_int());
        (void)sink;
    }

    void measure(const canvas& c) {
        const std::string s = in_.ConsumeRandomLengthString(4096);
        volatile int sink = c.twidth(s) + c.cascent() + c.cdescent();
        (void)sink;
    }

    // Calls `use` with a number of a type that programs pass to the commands.
    template <class F>
    void with_number(F&& use) {
        switch (in_.ConsumeIntegralInRange(0, 7)) {
            case 0: use(any_int()); break;
            case 1: use(static_cast<unsigned>(any_int())); break;
            case 2: use(in_.ConsumeIntegral<long long>()); break;
            case 3: use(in_.ConsumeIntegral<unsigned long long>()); break;
            case 4: use(to_float(any_double())); break;
            case 5: use(any_double() * in_.PickValueInArray({1.0L, 65536.0L, 1e4000L})); break;
            case 6: use(static_cast<short>(any_int())); break;
            default: use(any_double()); break;
        }
    }

    // Narrowing a double beyond float's range is undefined in the program,
    // not in the library: such values become float's infinities first.
    static float to_float(double d) {
        constexpr float inf = std::numeric_limits<float>::infinity();
        if (std::isfinite(d) && std::fabs(d) > std::numeric_limits<float>::max()) return d > 0 ? inf : -inf;
        return static_cast<float>(d);
    }

    template <class Command>
    void insert(canvas& c) {
        with_number([&](auto x) { with_number([&](auto y) { c << Command(x, y); }); });
    }

    void stream(canvas& c) {
        switch (in_.ConsumeIntegralInRange(0, 6)) {
            case 0:
                with_number([&](auto r) { c << kavex::use_color(r, any_double(), any_int()); });
                break;
            case 1: insert<kavex::move_abs>(c); break;
            case 2: insert<kavex::line_abs>(c); break;
            case 3: insert<kavex::box_abs>(c); break;
            case 4: insert<kavex::box_rel>(c); break;
            case 5: c << kavex::dot; break;
            default: c << kavex::refresh; break;
        }
    }

    // The chains the programs use: one expression, left to right.
    void chain(canvas& c) {
        c << kavex::move_abs(any_double(), any_double()) << kavex::dot << kavex::line_abs(any_double(), any_double())
          << kavex::box_rel(any_double(), any_double()) << kavex::box_abs(any_int(), any_double());
    }

    // Events of any type and any field values go into SDL's queue, then
    // wait_event takes them. A final tick with a mark of its own ends the
    // waiting: every wait takes at least one event, and the mark is always
    // reported, so no wait is left without an event to return.
    static constexpr std::int32_t end_mark = INT_MIN + 0x5EED;

    void events() {
        const int count = in_.ConsumeIntegralInRange(0, 6);
        int pushed = 0;
        for (int k = 0; k < count; ++k) {
            SDL_Event e = any_event();
            if (SDL_PushEvent(&e) == 0) ++pushed;
        }
        SDL_Event end{};
        end.user.type = SDL_USEREVENT;
        end.user.code = end_mark;
        if (SDL_PushEvent(&end) == 0) {
            kavex::event ev;
            for (int k = 0; k <= pushed && gin; ++k) {
                gin.wait_event(ev);
                if (ev.ticks == end_mark) break;
            }
        }
        drain();  // what a quit left behind
    }

    SDL_Event any_event() {
        SDL_Event e;
        std::memset(&e, 0, sizeof e);
        const auto bytes = in_.ConsumeBytes<std::uint8_t>(sizeof e);
        if (!bytes.empty()) std::memcpy(&e, bytes.data(), bytes.size());
        switch (in_.ConsumeIntegralInRange(0, 3)) {
            case 0: e.type = in_.PickValueInArray({SDL_KEYDOWN, SDL_KEYUP}); break;
            case 1: e.type = in_.PickValueInArray({SDL_MOUSEMOTION, SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP}); break;
            default: e.type = in_.ConsumeIntegral<std::uint8_t>(); break;
        }
        if (e.type == SDL_KEYDOWN || e.type == SDL_KEYUP) {
            // Any symbol, stored as its bytes: the enumeration has no value
            // for most of them.
            const std::int32_t symbol = in_.ConsumeBool() ? in_.ConsumeIntegralInRange(0, 340) : any_int();
            std::memcpy(&e.key.keysym.sym, &symbol, sizeof symbol);
            if (in_.ConsumeBool()) e.key.keysym.unicode = in_.ConsumeIntegralInRange<Uint16>(0, 0x300);
        }
        // SDL copies the message a window-manager event points to.
        if (e.type == SDL_SYSWMEVENT) e.syswm.msg = &wm_message_;
        return e;
    }

    // Empties SDL's queue without waiting.
    static void drain() {
        SDL_Event e;
        for (int k = 0; k < 1000 && SDL_PollEvent(&e); ++k) {
        }
    }

    void input_fields() {
        switch (in_.ConsumeIntegralInRange(0, 2)) {
            case 0: gin.quit = in_.ConsumeBool(); break;
            case 1: gin.timer(in_.ConsumeBool() ? in_.ConsumeIntegralInRange(-2, 50) : any_int()); break;
            default: {  // once quit is set, a wait returns at once without SDL
                gin.quit = true;
                kavex::event ev;
                gin.wait_event(ev);
                break;
            }
        }
    }

    // A private folder for saved files, made on first use, removed at exit.
    static const std::string& folder() {
        static const std::string path = [] {
            const char* tmp = std::getenv("TMPDIR");
            std::string pattern = std::string(tmp ? tmp : "/tmp") + "/kavex_fuzz.XXXXXX";
            if (!mkdtemp(pattern.data())) std::abort();
            std::atexit([] { rmdir(folder().c_str()); });
            return pattern;
        }();
        return path;
    }

    FuzzedDataProvider& in_;
    SDL_SysWMmsg wm_message_{};
    int saves_left_ = 2;  // files are slow: a few per input
    std::array<canvas, 4> canvases_{};
    std::vector<SDL_Surface*> made_;
    std::vector<std::vector<std::uint8_t>> memory_;  // pixels of the surfaces made on it
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    session(in).run();
    return 0;
}
