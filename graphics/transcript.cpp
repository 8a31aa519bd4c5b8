// A run's input as text: reading a transcript into SDL's events, and writing
// events as a transcript (the format is described in transcript.hpp).
#include "transcript.hpp"
#include "utf8.hpp"

#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

namespace kavex::transcript {

namespace {

// The keys with a name, by SDL's symbol for them in this build (the browser's
// SDL numbers some of them differently), so a transcript means the same keys
// on every platform. Keys with a character of their own are named by it.
struct named_key {
    const char* name;
    int symbol;
};
constexpr named_key named_keys[] = {
    {"backspace", SDLK_BACKSPACE}, {"tab", SDLK_TAB},       {"return", SDLK_RETURN},
    {"escape", SDLK_ESCAPE},       {"space", SDLK_SPACE},   {"hash", '#'},
    {"delete", SDLK_DELETE},       {"up", SDLK_UP},         {"down", SDLK_DOWN},
    {"right", SDLK_RIGHT},         {"left", SDLK_LEFT},     {"insert", SDLK_INSERT},
    {"home", SDLK_HOME},           {"end", SDLK_END},       {"pageup", SDLK_PAGEUP},
    {"pagedown", SDLK_PAGEDOWN},   {"f1", SDLK_F1},         {"f2", SDLK_F2},
    {"f3", SDLK_F3},               {"f4", SDLK_F4},         {"f5", SDLK_F5},
    {"f6", SDLK_F6},               {"f7", SDLK_F7},         {"f8", SDLK_F8},
    {"f9", SDLK_F9},               {"f10", SDLK_F10},       {"f11", SDLK_F11},
    {"f12", SDLK_F12},             {"f13", SDLK_F13},       {"f14", SDLK_F14},
    {"f15", SDLK_F15},             {"numlock", SDLK_NUMLOCK}, {"capslock", SDLK_CAPSLOCK},
    {"scrolllock", SDLK_SCROLLOCK}, {"rshift", SDLK_RSHIFT}, {"lshift", SDLK_LSHIFT},
    {"rctrl", SDLK_RCTRL},         {"lctrl", SDLK_LCTRL},   {"ralt", SDLK_RALT},
    {"lalt", SDLK_LALT},           {"lsuper", SDLK_LSUPER}, {"rsuper", SDLK_RSUPER},
    {"menu", SDLK_MENU},
};

// A key as SDL names it: its symbol, or 0 and its scancode.
struct key_identity {
    int symbol = 0;
    int scancode = 0;
};

// What a key types when the line does not say: a key whose symbol is ASCII
// types that on a press.
std::uint16_t usual_character(int symbol, bool press) {
    return press && symbol > 0 && symbol < 0x80 ? static_cast<std::uint16_t>(symbol) : 0;
}

bool is_single_printable(int symbol) { return symbol > ' ' && symbol < 0x7F && symbol != '#'; }

std::string key_name(const key_identity& key) {
    for (const named_key& k : named_keys)
        if (k.symbol == key.symbol) return k.name;
    if (is_single_printable(key.symbol) && !(key.symbol >= 'A' && key.symbol <= 'Z')) return std::string(1, static_cast<char>(key.symbol));
    if (key.symbol == 0) return "scan" + std::to_string(key.scancode);
    return "sym" + std::to_string(key.symbol);
}

// A whole word as a number in [low, high].
bool parse_number(const std::string& word, long long low, long long high, long long& value) {
    if (word.empty() || word.size() > 12) return false;
    char* end = nullptr;
    errno = 0;
    const long long v = std::strtoll(word.c_str(), &end, 10);
    if (*end != '\0' || errno != 0 || v < low || v > high || word[0] == '+') return false;
    value = v;
    return true;
}

bool parse_key(const std::string& word, key_identity& key) {
    for (const named_key& k : named_keys)
        if (word == k.name) {
            key.symbol = k.symbol;
            return true;
        }
    if (word.size() == 1 && is_single_printable(static_cast<unsigned char>(word[0]))) {
        const char c = word[0];
        key.symbol = c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c;  // a capital names its key
        return true;
    }
    long long n = 0;
    if (word.rfind("sym", 0) == 0 && parse_number(word.substr(3), 1, 0xFFFF, n)) {
        key.symbol = static_cast<int>(n);
        return true;
    }
    if (word.rfind("scan", 0) == 0 && parse_number(word.substr(4), 0, 0xFF, n)) {
        key.scancode = static_cast<int>(n);
        return true;
    }
    return false;
}

bool parse_character(const std::string& word, std::uint16_t& character) {
    if (word.rfind("U+", 0) == 0 && word.size() >= 3 && word.size() <= 6) {
        char* end = nullptr;
        const unsigned long v = std::strtoul(word.c_str() + 2, &end, 16);
        if (*end != '\0' || !std::isxdigit(static_cast<unsigned char>(word[2]))) return false;
        character = static_cast<std::uint16_t>(v);
        return v <= 0xFFFF;
    }
    char32_t c = utf8::bad;
    if (utf8::decode(word, 0, c) != word.size() || c > 0xFFFF) return false;  // one character, 16 bits as SDL's
    character = static_cast<std::uint16_t>(c);
    return true;
}

std::string character_word(std::uint16_t c) {
    const bool as_itself = (c > ' ' && c < 0x7F && c != '#') || (c > 0xA0 && (c < 0xD800 || c > 0xDFFF));
    if (!as_itself) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "U+%04X", static_cast<unsigned>(c));
        return hex;
    }
    std::string s;
    utf8::append(s, c);
    return s;
}

SDL_Event key_event(bool press, const key_identity& key, std::uint16_t character) {
    SDL_Event e{};
    e.key.type = press ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.state = press ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.sym = static_cast<SDLKey>(key.symbol);
    e.key.keysym.scancode = static_cast<decltype(e.key.keysym.scancode)>(key.scancode);  // an enumeration in the browser
    e.key.keysym.unicode = character;
    return e;
}

// SDL's event types are bytes on the desktop and larger in the browser.
using event_type = decltype(SDL_Event{}.type);

SDL_Event mouse_event(int type, int button, int x, int y) {
    SDL_Event e{};
    if (type == SDL_MOUSEMOTION) {
        e.motion.type = static_cast<event_type>(type);
        e.motion.x = static_cast<Uint16>(x);
        e.motion.y = static_cast<Uint16>(y);
        return e;
    }
    e.button.type = static_cast<event_type>(type);
    e.button.button = static_cast<Uint8>(button);
    e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.button.x = static_cast<Uint16>(x);
    e.button.y = static_cast<Uint16>(y);
    return e;
}

SDL_Event tick_event(std::int32_t value) {
    SDL_Event e{};
    e.user.type = SDL_USEREVENT;
    e.user.code = value;
    return e;
}

SDL_Event simple_event(int type) {
    SDL_Event e{};
    e.type = static_cast<event_type>(type);
    if (type == SDL_ACTIVEEVENT) {
        e.active.gain = 0;
        e.active.state = SDL_APPINPUTFOCUS;
    }
    return e;
}

// The reading of one transcript: its lines become events in `events`.
class reader {
public:
    explicit reader(std::vector<SDL_Event>& events) : events_(events) {}

    // Empty when the line was read, else what is wrong with it.
    std::string line(const std::vector<std::string>& words) {
        const std::string& verb = words[0];
        const std::size_t n = words.size();
        if (verb == "press" || verb == "release") return key_line(verb == "press", words);
        if (verb == "hold") return hold_line(words);
        if (verb == "move" || verb == "down" || verb == "up" || verb == "click") return mouse_line(words);
        if (verb == "tick") return tick_line(words);
        if (verb == "ticks") return ticks_line(words);
        if (verb == "unfocus" || verb == "close") {
            if (n != 1) return verb + " takes nothing after it";
            return add(simple_event(verb == "close" ? SDL_QUIT : SDL_ACTIVEEVENT));
        }
        return "\"" + verb + "\" is not an event: press, release, hold, move, down, up, click, tick, ticks, unfocus or close";
    }

private:
    static std::string too_long() { return "the run is longer than " + std::to_string(most_events) + " events"; }

    std::string add(const SDL_Event& e) {
        if (events_.size() >= most_events) return too_long();
        events_.push_back(e);
        return "";
    }

    std::string add_tick(std::int32_t value) {
        last_tick_ = value;
        return add(tick_event(value));
    }

    // Each `spacing` after the one before (values wrap as SDL's ticks do).
    std::string add_ticks(long long count, std::int32_t spacing) {
        if (count > static_cast<long long>(most_events - events_.size())) return too_long();
        for (long long i = 0; i < count; ++i)
            add_tick(static_cast<std::int32_t>(static_cast<std::uint32_t>(last_tick_) + static_cast<std::uint32_t>(spacing)));
        return "";
    }

    static std::string key_error(const std::string& word) {
        return "\"" + word + "\" is not a key: a name such as w, space, left or f1, sym and a number, or scan and a number";
    }

    std::string key_line(bool press, const std::vector<std::string>& words) {
        const std::string usage = std::string(press ? "press" : "release") + " KEY [CHARACTER]";
        if (words.size() < 2 || words.size() > 3) return "write " + usage;
        key_identity key;
        if (!parse_key(words[1], key)) return key_error(words[1]);
        std::uint16_t character = usual_character(key.symbol, press);
        if (words.size() == 3 && !parse_character(words[2], character))
            return "\"" + words[2] + "\" is not one character: write it as itself, or as U+ and its hex number";
        return add(key_event(press, key, character));
    }

    // The spacing of "every MS" at `at`, or the usual one when the line ends.
    static std::string spacing(const std::vector<std::string>& words, std::size_t at, std::int32_t& ms) {
        ms = tick_spacing;
        if (words.size() == at) return "";
        long long v = 0;
        if (words.size() != at + 2 || words[at] != "every" || !parse_number(words[at + 1], 1, 0x7FFFFFFF, v))
            return "the line may end with every and the milliseconds between ticks (1 or more)";
        ms = static_cast<std::int32_t>(v);
        return "";
    }

    std::string hold_line(const std::vector<std::string>& words) {
        if (words.size() < 3) return "write hold KEY TICKS [every MS]";
        key_identity key;
        if (!parse_key(words[1], key)) return key_error(words[1]);
        long long count = 0;
        if (!parse_number(words[2], 0, static_cast<long long>(most_events), count))
            return "\"" + words[2] + "\" is not a number of ticks";
        std::int32_t ms = 0;
        std::string wrong = spacing(words, 3, ms);
        if (wrong.empty()) wrong = add(key_event(true, key, usual_character(key.symbol, true)));
        if (wrong.empty()) wrong = add_ticks(count, ms);
        if (wrong.empty()) wrong = add(key_event(false, key, 0));
        return wrong;
    }

    std::string mouse_line(const std::vector<std::string>& words) {
        const bool motion = words[0] == "move";
        const std::size_t expected = motion ? 3 : 4;
        if (words.size() != expected) return motion ? "write move X Y" : "write " + words[0] + " BUTTON X Y";
        long long button = 0, x = 0, y = 0;
        if (!motion && !parse_number(words[1], 1, 255, button)) return "\"" + words[1] + "\" is not a mouse button (1 to 255)";
        if (!parse_number(words[expected - 2], 0, 0xFFFF, x) || !parse_number(words[expected - 1], 0, 0xFFFF, y))
            return "the position is two numbers from 0 to 65535";
        const int b = static_cast<int>(button), px = static_cast<int>(x), py = static_cast<int>(y);
        if (motion) return add(mouse_event(SDL_MOUSEMOTION, 0, px, py));
        std::string wrong;
        if (words[0] != "up") wrong = add(mouse_event(SDL_MOUSEBUTTONDOWN, b, px, py));
        if (wrong.empty() && words[0] != "down") wrong = add(mouse_event(SDL_MOUSEBUTTONUP, b, px, py));
        return wrong;
    }

    std::string tick_line(const std::vector<std::string>& words) {
        if (words.size() == 1) return add_ticks(1, tick_spacing);
        long long v = 0;
        if (words.size() != 2 || !parse_number(words[1], INT32_MIN, INT32_MAX, v)) return "write tick, or tick and its value";
        return add_tick(static_cast<std::int32_t>(v));
    }

    std::string ticks_line(const std::vector<std::string>& words) {
        long long count = 0;
        if (words.size() < 2 || !parse_number(words[1], 1, static_cast<long long>(most_events), count))
            return "write ticks COUNT [every MS], with a count of 1 or more";
        std::int32_t ms = 0;
        const std::string wrong = spacing(words, 2, ms);
        return wrong.empty() ? add_ticks(count, ms) : wrong;
    }

    std::vector<SDL_Event>& events_;
    std::int32_t last_tick_ = 0;
};

// The words of a line, up to a word that starts with #.
std::vector<std::string> words_of(const std::string& line) {
    std::vector<std::string> words;
    std::istringstream in(line);
    for (std::string w; in >> w;) {
        if (w[0] == '#') break;
        words.push_back(w);
    }
    return words;
}

std::string trimmed_end(std::string s) {
    while (!s.empty() && (s.back() == '\r' || s.back() == ' ' || s.back() == '\t')) s.pop_back();
    return s;
}

}  // namespace

bool read(const std::string& text, std::vector<SDL_Event>& events, std::string& error) {
    events.clear();
    std::istringstream in(text);
    std::string line;
    std::getline(in, line);
    if (line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);  // a byte order mark some editors write
    if (trimmed_end(line) != first_line) {
        error = std::string("line 1: a transcript begins with the line \"") + first_line + "\"";
        return false;
    }
    reader r(events);
    for (int number = 2; std::getline(in, line); ++number) {
        if (line.find('\0') != std::string::npos) {
            error = "line " + std::to_string(number) + ": a text file has no zero bytes";
        } else {
            const std::vector<std::string> words = words_of(line);
            if (words.empty()) continue;
            error = r.line(words);
            if (!error.empty()) error = "line " + std::to_string(number) + ": " + error;
        }
        if (!error.empty()) {
            events.clear();
            return false;
        }
    }
    return true;
}

bool writer::holds(const SDL_Event& e) {
    switch (e.type) {
    case SDL_KEYDOWN: case SDL_KEYUP: case SDL_MOUSEMOTION: case SDL_MOUSEBUTTONDOWN: case SDL_MOUSEBUTTONUP:
    case SDL_USEREVENT: case SDL_QUIT:
        return true;
    case SDL_ACTIVEEVENT:  // only the keyboard's loss matters: it lets the keys go
        return (e.active.state & SDL_APPINPUTFOCUS) && e.active.gain == 0;
    default:
        return false;
    }
}

void writer::add(const SDL_Event& e, std::string& out) {
    if (!holds(e)) return;
    if (e.type == SDL_USEREVENT) {
        const std::int32_t value = e.user.code;
        const long long step = static_cast<long long>(value) - last_tick_;
        if (run_length_ > 0 && step == run_spacing_) {
            ++run_length_;
            last_tick_ = value;
            return;
        }
        finish(out);
        if (step > 0 && step <= INT32_MAX) {  // the first tick of all counts from 0
            run_spacing_ = static_cast<std::int32_t>(step);
            run_length_ = 1;
        } else {
            out += "tick " + std::to_string(value) + "\n";
        }
        last_tick_ = value;
        return;
    }
    finish(out);
    switch (e.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        const bool press = e.type == SDL_KEYDOWN;
        std::int32_t symbol = 0;
        static_assert(sizeof symbol == sizeof e.key.keysym.sym);
        std::memcpy(&symbol, &e.key.keysym.sym, sizeof symbol);  // any number, not only SDLKey's
        const key_identity key{symbol, symbol == 0 ? static_cast<int>(e.key.keysym.scancode) : 0};
        out += std::string(press ? "press " : "release ") + key_name(key);
        const auto character = static_cast<std::uint16_t>(e.key.keysym.unicode);  // 32 bits in the browser
        if (character != usual_character(symbol, press)) out += " " + character_word(character);
        out += "\n";
        break;
    }
    case SDL_MOUSEMOTION:
        out += "move " + std::to_string(e.motion.x) + " " + std::to_string(e.motion.y) + "\n";
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        out += std::string(e.button.state ? "down " : "up ") + std::to_string(e.button.button) + " " +
               std::to_string(e.button.x) + " " + std::to_string(e.button.y) + "\n";
        break;
    case SDL_ACTIVEEVENT:
        out += "unfocus\n";
        break;
    default:  // SDL_QUIT
        out += "close\n";
        break;
    }
}

void writer::finish(std::string& out) {
    if (run_length_ == 1) out += "tick " + std::to_string(last_tick_) + "\n";
    if (run_length_ > 1) {
        out += "ticks " + std::to_string(run_length_);
        if (run_spacing_ != tick_spacing) out += " every " + std::to_string(run_spacing_);
        out += "\n";
    }
    run_length_ = 0;
}

}  // namespace kavex::transcript
