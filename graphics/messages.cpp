// The messages in the chosen language: its table read once, over English,
// then a course's replacements (KAVEX_MESSAGES) when they are sound. What is
// read is never destroyed: the window's end, run at exit after the statics
// made later are gone, still words a message.
#include "messages.hpp"
#include "os_side.hpp"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <set>

namespace kavex::detail {

extern const char messages_en[], messages_hu[], messages_cs[], messages_sk[], messages_pl[];

const std::vector<std::string>& message_names() {
    static const std::vector<std::string>& names = *new std::vector<std::string>{
        "sdl_start", "open_negative", "open_too_large", "open_refused", "open_canvas_empty", "open_window_missing",
        "no_surface", "no_surface_move", "no_surface_source", "move_refused", "box_outside", "text_not_drawn",
        "text_utf8", "text_cut_right", "text_cut_bottom", "save_failed", "load_failed", "load_on_window",
        "refresh_unopened", "wait_after_quit", "interrupt", "sound_load_failed", "sound_empty", "no_sound",
        "sound_busy", "beep_unheard", "no_memory", "file_unreadable", "file_too_long", "not_a_picture",
        "picture_cut_short", "picture_header_broken", "picture_claims", "picture_too_large",
        "picture_larger_than_canvas", "png_part_too_long", "decoder_size", "sdl_read_size", "no_surface_made",
        "not_a_sound", "sound_too_long", "sound_channels", "wav_kind", "wav_no_data", "wav_damaged", "ogg_damaged",
        "sound_holds_nothing", "replay_silent", "page_needs_click", "program_ended", "browser_no_sound",
        "replay_refused", "record_failed", "frames_stopped", "messages_refused", "messages_line",
        "messages_unknown", "messages_places", "messages_forms", "messages_missing"};
    return names;
}

namespace tables {

namespace {

struct language_table {
    const char* code;
    const char* table;
    int forms;
};

const language_table known[] = {
    {"en", messages_en, 2}, {"hu", messages_hu, 1}, {"cs", messages_cs, 3}, {"sk", messages_sk, 3}, {"pl", messages_pl, 3},
};

const language_table* table_of(const std::string& language) {
    for (const language_table& t : known)
        if (language == t.code) return &t;
    return nullptr;
}

bool small_letter(char c) { return c >= 'a' && c <= 'z'; }
bool name_letter(char c) { return small_letter(c) || c == '_' || (c >= '0' && c <= '9'); }

// A place in a message: {name} or {name:form|form|form}, from `at` (the
// brace) to `end` (past the closing one).
struct place_at {
    std::size_t at = 0, end = 0;
    std::string name;
    std::vector<std::string> forms;
};

// The place starting at `at`, if one does.
bool place_from(const std::string& message, std::size_t at, place_at& p) {
    if (message[at] != '{' || at + 1 >= message.size() || !small_letter(message[at + 1])) return false;
    std::size_t i = at + 1;
    while (i < message.size() && name_letter(message[i])) ++i;
    p = place_at{at, 0, message.substr(at + 1, i - at - 1), {}};
    if (i < message.size() && message[i] == ':') {
        const std::size_t close = message.find('}', i);
        if (close == std::string::npos) return false;
        std::string forms = message.substr(i + 1, close - i - 1);
        for (std::size_t bar; (bar = forms.find('|')) != std::string::npos; forms.erase(0, bar + 1))
            p.forms.push_back(forms.substr(0, bar));
        p.forms.push_back(forms);
        i = close;
    }
    if (i >= message.size() || message[i] != '}') return false;
    p.end = i + 1;
    return true;
}

template <class Each>
void each_place(const std::string& message, const Each& each) {
    place_at p;
    for (std::size_t at = 0; at < message.size(); ++at)
        if (place_from(message, at, p)) {
            each(p);
            at = p.end - 1;
        }
}

std::string places_text(const std::string& message) {
    std::set<std::string> names;
    each_place(message, [&](const place_at& p) { names.insert("{" + p.name + "}"); });
    std::string text;
    for (const std::string& name : names) text += (text.empty() ? "" : " ") + name;
    return text;
}

std::string trimmed(const std::string& s) {
    const std::size_t first = s.find_first_not_of(" \t");
    if (first == std::string::npos) return "";
    return s.substr(first, s.find_last_not_of(" \t") + 1 - first);
}

// One line: "name = text" or "name [checked] = text". Its places must be
// those of the `reference` message, English's, where there is one.
problem read_line(const std::string& line, int number, const std::string& language, const std::vector<entry>* reference,
                  std::vector<entry>& entries, std::vector<bool>& seen) {
    problem p;
    p.line = number;
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos) return p.message = text::messages_line, p;
    std::string name = trimmed(line.substr(0, equals));
    bool checked = false;
    const std::string mark = "[checked]";
    if (name.size() > mark.size() && name.compare(name.size() - mark.size(), mark.size(), mark) == 0) {
        checked = true;
        name = trimmed(name.substr(0, name.size() - mark.size()));
    }
    p.name = name;
    const auto& names = message_names();
    const auto found = std::find(names.begin(), names.end(), name);
    if (name.empty() || found == names.end()) return p.message = name.empty() ? text::messages_line : text::messages_unknown, p;
    const auto index = static_cast<std::size_t>(found - names.begin());
    const std::string message = trimmed(line.substr(equals + 1));
    if (reference) {
        p.detail = places_text((*reference)[index].text);
        if (places_text(message) != p.detail) return p.message = text::messages_places, p;
    }
    p.forms = forms_of(language);
    each_place(message, [&](const place_at& at) {
        if (!at.forms.empty() && static_cast<long long>(at.forms.size()) != p.forms) {
            p.given = static_cast<long long>(at.forms.size());
            p.message = text::messages_forms;
        }
    });
    if (p) return p;
    entries[index] = entry{message, checked};
    seen[index] = true;
    return problem{};
}

problem read_table(const std::string& table, const std::string& language, bool whole,
                   const std::vector<entry>* reference, std::vector<entry>& entries) {
    entries.resize(message_names().size());
    std::vector<bool> seen(entries.size());
    std::size_t start = table.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;  // a BOM, as Notepad writes
    for (int number = 1; start <= table.size(); ++number) {
        std::size_t end = table.find('\n', start);
        if (end == std::string::npos) end = table.size();
        std::string line = table.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        start = end + 1;
        if (trimmed(line).empty() || trimmed(line)[0] == '#') continue;
        if (problem p = read_line(line, number, language, reference, entries, seen)) return p;
    }
    for (std::size_t i = 0; whole && i < seen.size(); ++i)
        if (!seen[i]) {
            problem p;
            p.message = text::messages_missing;
            p.name = message_names()[i];
            return p;
        }
    return problem{};
}

// The English table, which gives every message its places.
const std::vector<entry>& english() {
    static const std::vector<entry>& entries = *[] {
        auto* e = new std::vector<entry>;
        read_table(messages_en, "en", false, nullptr, *e);
        return e;
    }();
    return entries;
}

}  // namespace

const std::vector<std::string>& languages() {
    static const std::vector<std::string>& codes = *[] {
        auto* c = new std::vector<std::string>;
        for (const language_table& t : known) c->push_back(t.code);
        return c;
    }();
    return codes;
}

const char* built_in(const std::string& language) {
    const language_table* t = table_of(language);
    return t ? t->table : "";
}

std::string code_of(const std::string& setting) {
    if (setting.size() < 2 || (setting.size() > 2 && std::strchr("_-.@", setting[2]) == nullptr)) return "";
    std::string code = setting.substr(0, 2);
    for (char& c : code) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return table_of(code) ? code : "";
}

int forms_of(const std::string& language) {
    const language_table* t = table_of(language);
    return t ? t->forms : 2;
}

int form_for(const std::string& language, long long n) {
    const unsigned long long u = n < 0 ? 0ULL - static_cast<unsigned long long>(n) : static_cast<unsigned long long>(n);
    if (language == "hu") return 0;
    if (language == "cs" || language == "sk") return u == 1 ? 0 : u >= 2 && u <= 4 ? 1 : 2;
    if (language == "pl") {
        const unsigned long long tens = u % 100, ones = u % 10;
        return u == 1 ? 0 : ones >= 2 && ones <= 4 && (tens < 12 || tens > 14) ? 1 : 2;
    }
    return u == 1 ? 0 : 1;
}

problem read(const std::string& table, const std::string& language, bool whole, std::vector<entry>& entries) {
    return read_table(table, language, whole, &english(), entries);
}

}  // namespace tables

namespace {

std::string setting(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string choose_language() {
    std::string code = tables::code_of(setting("KAVEX_LANG"));
    if (code.empty()) code = tables::code_of(os_side::system_language());
    return code.empty() ? "en" : code;
}

// The language's table over English's, so that a message it lacks is at
// least said.
std::vector<tables::entry> built_in_messages() {
    std::vector<tables::entry> entries = tables::english();
    if (language() != "en") tables::read(tables::built_in(language()), language(), false, entries);
    return entries;
}

std::string fill(const std::string& message, std::initializer_list<place> places) {
    std::string out;
    std::size_t copied = 0;
    tables::each_place(message, [&](const tables::place_at& p) {
        const place* given = std::find_if(places.begin(), places.end(), [&](const place& v) { return p.name == v.name; });
        if (given == places.end()) return;
        out.append(message, copied, p.at - copied);
        copied = p.end;
        if (p.forms.empty()) {
            out += given->value;
        } else {
            const long long n = std::strtoll(given->value.c_str(), nullptr, 10);
            const auto form = static_cast<std::size_t>(tables::form_for(language(), n));
            out += p.forms[std::min(form, p.forms.size() - 1)];
        }
    });
    return out.append(message, copied, std::string::npos);
}

std::string in_words(const std::vector<tables::entry>& messages, text message, std::initializer_list<place> places) {
    return fill(messages[static_cast<std::size_t>(message)].text, places);
}

std::string problem_in_words(const std::vector<tables::entry>& messages, const tables::problem& p) {
    return in_words(messages, p.message,
                    {{"line", p.line}, {"name", p.name}, {"places", p.detail}, {"given", p.given}, {"forms", p.forms}});
}

// Why a course's replacements were refused, until it is taken.
std::string& refusal() {
    static std::string& why = *new std::string;
    return why;
}

// A course's replacements, all of them or, when one is wrong, none.
void replace_from_file(std::vector<tables::entry>& entries, const std::vector<tables::entry>& built_in) {
    const std::string file = setting("KAVEX_MESSAGES");
    if (file.empty()) return;
    std::vector<std::uint8_t> bytes;
    std::string reason, why;
    std::vector<tables::entry> replaced = entries;
    if (!os_side::read_file(file, std::size_t{1} << 20, bytes, reason))
        why = in_words(built_in, text::file_unreadable, {{"why", reason}});
    else if (const tables::problem p = tables::read(std::string(bytes.begin(), bytes.end()), language(), false, replaced))
        why = problem_in_words(built_in, p);
    if (why.empty()) return entries.swap(replaced);
    refusal() = in_words(built_in, text::messages_refused, {{"file", file}, {"why", why}});
}

const std::vector<tables::entry>& messages() {
    static const std::vector<tables::entry>& entries = *[] {
        const std::vector<tables::entry> built_in = built_in_messages();
        auto* e = new std::vector<tables::entry>(built_in);
        replace_from_file(*e, built_in);
        return e;
    }();
    return entries;
}

}  // namespace

const std::string& language() {
    static const std::string& chosen = *new std::string(choose_language());
    return chosen;
}

std::string words(text message, std::initializer_list<place> places) { return in_words(messages(), message, places); }

std::string tables::worded(const problem& p) { return problem_in_words(messages(), p); }

std::string messages_refusal() {
    messages();
    std::string taken;
    taken.swap(refusal());
    return taken;
}

}  // namespace kavex::detail
