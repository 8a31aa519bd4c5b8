// Where the wait's input comes from: SDL (recorded when asked) or a
// transcript replayed without a display.
#include "run_input.hpp"
#include "explain.hpp"
#include "os_side.hpp"
#include "sdl_side.hpp"
#include "transcript.hpp"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace kavex::run_input {

namespace {

// A transcript is text, one short line an event: larger files are refused.
constexpr std::size_t largest_transcript = 64u << 20;

// Built on first use: prepare() runs while the window is built, before
// this file's own statics would be.
struct run_state {
    std::vector<SDL_Event> replayed;
    std::size_t replay_at = 0;
    bool replay_on = false;
    unsigned long taken = 0;
    std::string record_file;  // empty: no recording
    transcript::writer recorder;
};

run_state& run() {
    static run_state state;
    return state;
}

const char* setting(const char* name) {
    const char* value = std::getenv(name);
    return value && *value ? value : nullptr;
}

[[noreturn]] void refuse_replay(const std::string& file, const std::string& why) {
    detail::say(detail::words(detail::text::replay_refused, {{"file", file}, {"why", why}}));
    std::exit(1);
}

void load_replay(const std::string& file) {
    std::vector<std::uint8_t> bytes;
    std::string reason;
    if (!os_side::read_file(file, largest_transcript, bytes, reason)) refuse_replay(file, reason);
    std::string error;
    if (!transcript::read(std::string(bytes.begin(), bytes.end()), run().replayed, error)) refuse_replay(file, error);
    run().replay_on = true;
    // No window, no X server: SDL draws into memory.
    os_side::set_environment("SDL_VIDEODRIVER", "dummy");
}

// The recording goes out line by line, so that a run that crashes keeps
// what came before the crash. A recording that cannot be written stops, and
// the program runs on.
void write_record(const std::string& lines, bool start_new = false) {
    std::string& file = run().record_file;
    std::string reason;
    if (file.empty() || lines.empty()) return;
    if (os_side::append_file(file, reinterpret_cast<const std::uint8_t*>(lines.data()), lines.size(), start_new, reason)) return;
    detail::say(detail::words(detail::text::record_failed, {{"file", file}, {"why", reason}}));
    file.clear();
}

void start_recording(const char* file) {
    run().record_file = file;
    write_record(std::string(transcript::first_line) + "\n", true);
}

void record(const SDL_Event& e) {
    if (run().record_file.empty()) return;
    std::string lines;
    run().recorder.add(e, lines);
    write_record(lines);
}

}  // namespace

void prepare() {
    if (const char* file = setting("KAVEX_REPLAY")) load_replay(file);
    if (const char* file = setting("KAVEX_RECORD")) start_recording(file);
}

bool next(SDL_Event& e) {
    run_state& r = run();
    if (r.replay_on) {
        if (r.replay_at == r.replayed.size()) return false;
        e = r.replayed[r.replay_at++];
    } else if (!sdl_side::wait(e)) {
        return false;
    }
    if (transcript::writer::holds(e)) {
        ++r.taken;
        record(e);
    }
    return true;
}

bool replaying() { return run().replay_on; }

unsigned long events_taken() { return run().taken; }

void finish() {
    std::string lines;
    run().recorder.finish(lines);
    write_record(lines);
    run().record_file.clear();
}

}  // namespace kavex::run_input
