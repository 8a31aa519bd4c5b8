// KAVEX_EXPLAIN=1: each kind of silent mistake is explained once, on standard
// error, with its numbers; without the variable nothing is written. The
// mistakes run in a process of their own, this test program run again.
#include "process.hpp"

#include "graphics.hpp"
#include "messages.hpp"
#include "mixer.hpp"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <regex>
#include <string>

using namespace kavex;

namespace {

// Every kind of mistake, each made twice.
void make_every_mistake_twice() {
    for (int twice = 0; twice < 2; ++twice) {
        canvas closed;
        closed << move_abs(1, 1) << dot;                       // drawing before open
        canvas too_large;
        too_large.open(100000, 10);                            // an open that fails
        canvas c(100, 50);
        c << move_abs(150, 20);                                // a move outside
        c << move_abs(90, 40) << box_abs(120, 45);             // a box partly outside
        c << move_abs(10, 5);
        c.draw_text(from_utf8("hő"));                          // no room above the pen
        c << move_abs(80, 30);
        c.draw_text("too long here");                          // cut at the right edge
        c.save("/no-such-folder/picture.bmp");                 // a save that fails
        canvas loaded;
        loaded.load("/no-such-folder/picture.png");            // a load that fails
        groutput::instance().refresh();                        // the window never opened
    }
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    event ev;
    for (int i = 0; i < 300; ++i) gin.wait_event(ev);         // waits after the close
}

int count_of(const std::string& text, const std::string& part) {
    int n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

test::finished run_mistakes(const std::string& explain) {
    return test::run_self({"--gtest_filter=Explain.MistakesOfEveryKind"},
                          {"KAVEX_MAKE_MISTAKES=1", "KAVEX_EXPLAIN=" + explain});
}

}  // namespace

TEST(Explain, MistakesOfEveryKind) {
    if (std::getenv("KAVEX_MAKE_MISTAKES")) return make_every_mistake_twice();

    const test::finished run = run_mistakes("1");
    ASSERT_TRUE(WIFEXITED(run.status) && WEXITSTATUS(run.status) == 0) << run.output;
    const std::string expected[] = {
        "kavex: a move of the pen on a canvas that has no surface",
        "kavex: open(100000, 10) failed: the library draws on at most 16383 x 32767 pixels",
        "kavex: the pen cannot move to (150, 20): the surface is 100 x 50, so x must lie in 0..99 and y in 0..49",
        "kavex: a box from the pen (90, 40) to (120, 45) was left out",
        "kavex: the text \"hő\" was not drawn: with the pen on row 5",
        "kavex: the text \"too long here\" was cut short: it reached the right edge of the surface, which is 100 pixels wide",
        "kavex: save(\"/no-such-folder/picture.bmp\") failed: No such file or directory",
        "kavex: load(\"/no-such-folder/picture.png\") failed: the file cannot be read (No such file or directory)",
        "kavex: refresh of a window that is not open",
        "kavex: wait_event was called 100 times after the window was closed",
    };
    for (const auto& line : expected) EXPECT_EQ(count_of(run.output, line), 1) << line << "\nin:\n" << run.output;
    EXPECT_EQ(count_of(run.output, "kavex: "), static_cast<int>(std::size(expected))) << run.output;

    for (const std::string off : {"", "0"}) {
        const test::finished quiet = run_mistakes(off);
        EXPECT_TRUE(WIFEXITED(quiet.status) && WEXITSTATUS(quiet.status) == 0);
        EXPECT_EQ(count_of(quiet.output, "kavex:"), 0) << "KAVEX_EXPLAIN=" << off << ":\n" << quiet.output;
    }
}

// Mistakes that a first trial by students found.
void make_newer_mistakes() {
    canvas c;
    c.open(-5, 10);                                           // a size that went negative
    c.open(100, 50);
    c << move_abs(2, 20);
    c.draw_text("Pontszám");                                  // UTF-8 as it stands
    std::raise(SIGINT);                                        // the first Ctrl-C
}

TEST(Explain, NegativeSizesUtf8TextAndTheFirstCtrlC) {
    if (std::getenv("KAVEX_MAKE_MISTAKES")) return make_newer_mistakes();
    const test::finished run = test::run_self({"--gtest_filter=Explain.NegativeSizesUtf8TextAndTheFirstCtrlC"},
                                              {"KAVEX_MAKE_MISTAKES=1", "KAVEX_EXPLAIN=1"});
    ASSERT_TRUE(WIFEXITED(run.status) && WEXITSTATUS(run.status) == 0) << run.output;
    for (const std::string line : {
             "kavex: open(-5, 10) failed: a size cannot be negative",
             "kavex: the text \"PontszĂĄm\" looks like UTF-8",
             "a second Ctrl-C ends the program at once",
         })
        EXPECT_EQ(count_of(run.output, line), 1) << line << "\nin:\n" << run.output;
}

TEST(Explain, SDLThatCannotStartSaysWhyThenEndsWithStatusOne) {
    const test::finished run = test::run_self({}, {"SDL_VIDEODRIVER=no-such-driver", "KAVEX_EXPLAIN=1"});
    ASSERT_TRUE(WIFEXITED(run.status));
    EXPECT_EQ(WEXITSTATUS(run.status), 1);
    EXPECT_EQ(count_of(run.output, "kavex: SDL could not start ("), 1) << run.output;
}

// One mistake of every kind, in the language KAVEX_LANG names: those above,
// and a sound's; a sound too many where a sound device is (KAVEX_BUSY).
void make_mistakes_of_every_kind() {
    if (std::getenv("KAVEX_BUSY")) {
        for (int i = 0; i <= detail::mixer::voices; ++i) beep(440, 10000);  // long enough to overlap anywhere
        return;
    }
    make_every_mistake_twice();
    make_newer_mistakes();
    sound s;
    s.play();                                                  // nothing loaded
    s.load("/no-such-folder/sound.wav");                       // a load that fails
    beep(5, 100);                                              // no tone at 5 Hz
    beep(440, 100);                                            // no sound device
}

using places = std::vector<std::pair<std::string, std::string>>;
const std::string anything = "\x01";  // a place whose words come from SDL

// A message of `language`'s table with its places filled, by the table's
// rules but not the library's code: {x} is x's value, {x:a|b|c} x's form.
std::string filled(const std::string& language, detail::text message, const places& values) {
    std::vector<detail::tables::entry> entries;
    detail::tables::read(detail::tables::built_in(language), language, true, entries);
    std::string out = entries[static_cast<int>(message)].text;
    for (const auto& [name, value] : values) {
        const std::regex place("\\{" + name + "(:([^}]*))?\\}");
        std::smatch m;
        while (std::regex_search(out, m, place)) {
            std::string word = value;
            if (m[1].matched) {
                std::vector<std::string> forms;
                std::string list = m[2].str() + "|";
                for (std::size_t bar; (bar = list.find('|')) != std::string::npos; list.erase(0, bar + 1))
                    forms.push_back(list.substr(0, bar));
                word = forms.at(detail::tables::form_for(language, std::stoll(value)));
            }
            out.replace(m.position(0), m.length(0), word);
        }
    }
    return out;
}

// Whether `output` holds the line "kavex: " + `message`, exactly.
bool says(const std::string& output, const std::string& message) {
    const std::string escaped = std::regex_replace("kavex: " + message, std::regex(R"([\\^$.|?*+()\[\]{}])"), R"(\$&)");
    const std::string pattern = std::regex_replace(escaped, std::regex(anything), ".*");
    return std::regex_search(output, std::regex("(^|\n)" + pattern + "\n"));
}

TEST(Explain, EveryKindIsSaidInEachLanguageWhollyAsItsTableWordsIt) {
    if (std::getenv("KAVEX_MAKE_MISTAKES")) return make_mistakes_of_every_kind();
    using detail::text;
    const std::string no_file = std::strerror(ENOENT);
    for (const std::string& lang : detail::tables::languages()) {
        const auto run = [&](std::vector<std::string> env) {
            env.insert(env.end(), {"KAVEX_MAKE_MISTAKES=1", "KAVEX_EXPLAIN=1", "KAVEX_LANG=" + lang});
            return test::run_self({"--gtest_filter=Explain.EveryKindIsSaidInEachLanguageWhollyAsItsTableWordsIt"}, env)
                .output;
        };
        const auto unreadable = filled(lang, text::file_unreadable, {{"why", no_file}});
        const std::pair<std::string, std::string> expected[] = {
            {run({"SDL_AUDIODRIVER=no-such-driver"}), filled(lang, text::no_surface_move, {})},
            {"", filled(lang, text::open_too_large, {{"call", "open"}, {"width", "100000"}, {"height", "10"}, {"most_width", "16383"}, {"most_height", "32767"}}) +
                     " " + filled(lang, text::open_canvas_empty, {})},
            {"", filled(lang, text::move_refused, {{"x", "150"}, {"y", "20"}, {"width", "100"}, {"height", "50"}, {"last_x", "99"}, {"last_y", "49"}, {"pen_x", "50"}, {"pen_y", "25"}})},
            {"", filled(lang, text::box_outside, {{"pen_x", "90"}, {"pen_y", "40"}, {"x", "120"}, {"y", "45"}, {"width", "100"}, {"height", "50"}})},
            {"", filled(lang, text::text_not_drawn, {{"text", "hő"}, {"row", "5"}, {"top", "-8"}, {"bottom", "9"}, {"last_row", "49"}, {"above", "13"}, {"below", "5"}})},
            {"", filled(lang, text::text_cut_right, {{"text", "too long here"}, {"width", "100"}, {"letter", "8"}})},
            {"", filled(lang, text::save_failed, {{"file", "/no-such-folder/picture.bmp"}, {"why", no_file}})},
            {"", filled(lang, text::load_failed, {{"file", "/no-such-folder/picture.png"}, {"why", unreadable}})},
            {"", filled(lang, text::refresh_unopened, {})},
            {"", filled(lang, text::wait_after_quit, {{"times", "100"}})},
            {"", filled(lang, text::text_utf8, {{"text", "PontszĂĄm"}})},
            {"", filled(lang, text::interrupt, {})},
            {"", filled(lang, text::sound_empty, {{"call", "play()"}})},
            {"", filled(lang, text::sound_load_failed, {{"file", "/no-such-folder/sound.wav"}, {"why", unreadable}})},
            {"", filled(lang, text::beep_unheard, {{"hz", "5"}, {"ms", "100"}})},
            {"", filled(lang, text::no_sound, {{"call", "beep()"}, {"why", anything}})},
            {run({"SDL_AUDIODRIVER=disk", "SDL_DISKAUDIOFILE=/dev/null", "KAVEX_BUSY=1"}),
             filled(lang, text::sound_busy, {{"call", "beep()"}, {"voices", std::to_string(detail::mixer::voices)}})},
            {run({"SDL_VIDEODRIVER=no-such-driver"}), filled(lang, text::sdl_start, {{"why", anything}})},
        };
        const std::string* output = nullptr;
        for (const auto& [run_output, message] : expected) {
            if (!run_output.empty()) output = &run_output;
            EXPECT_TRUE(says(*output, message)) << lang << ": " << message << "\nnot in:\n" << *output;
        }
    }
}

// A run that prints the language it speaks, in `env`.
std::string language_in(const std::vector<std::string>& env) {
    if (const char* print = std::getenv("KAVEX_PRINT_LANGUAGE")) return print;
    std::vector<std::string> all = env;  // before the blanks: the first of a name is the one a program sees
    all.insert(all.end(), {"KAVEX_PRINT_LANGUAGE=1", "KAVEX_LANG=", "LC_ALL=", "LC_MESSAGES=", "LANG="});
    return test::run_self({"--gtest_filter=Explain.TheLanguageIsKavexLangsThenTheLocalesThenEnglish"}, all).output;
}

TEST(Explain, TheLanguageIsKavexLangsThenTheLocalesThenEnglish) {
    if (std::getenv("KAVEX_PRINT_LANGUAGE")) return (void)std::printf("<%s>", detail::language().c_str());
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"KAVEX_LANG=pl", "LANG=hu_HU.UTF-8"}, "pl"},
        {{"KAVEX_LANG=de", "LANG=hu_HU.UTF-8"}, "hu"},
        {{"LC_MESSAGES=cs_CZ.UTF-8", "LANG=hu_HU.UTF-8"}, "cs"},
        {{"LC_ALL=sk_SK.UTF-8", "LC_MESSAGES=cs_CZ.UTF-8"}, "sk"},
        {{"LC_ALL=C", "LANG=hu_HU.UTF-8"}, "en"},
        {{"LANG=de_DE.UTF-8"}, "en"},
        {{}, "en"},
    };
    for (const auto& [env, language] : cases) {
        const std::string out = language_in(env);
        EXPECT_NE(out.find("<" + language + ">"), std::string::npos) << env.size() << " settings: " << out;
    }
}

TEST(Explain, ACoursesMessagesReplaceTheTablesUnlessTheirPlacesAreWrong) {
    if (std::getenv("KAVEX_MAKE_MISTAKES")) {
        canvas c(100, 50);
        c << move_abs(150, 20);
        return;
    }
    const std::string file = ::testing::TempDir() + "kavex-messages.txt";
    const auto explained = [&](const std::string& table) {
        std::ofstream(file) << table;
        return test::run_self({"--gtest_filter=Explain.ACoursesMessagesReplaceTheTablesUnlessTheirPlacesAreWrong"},
                              {"KAVEX_MAKE_MISTAKES=1", "KAVEX_EXPLAIN=1", "KAVEX_LANG=hu", "KAVEX_MESSAGES=" + file})
            .output;
    };
    const std::string mended = explained("# ours\nmove_refused = ({x}; {y}) {width} {height} {last_x} {last_y} {pen_x} {pen_y}\n");
    EXPECT_EQ(count_of(mended, "kavex: (150; 20) 100 50 99 49 50 25\n"), 1) << mended;
    const std::string refused = explained("move_refused = nem ide: {x}\n");
    EXPECT_EQ(count_of(refused, "kavex: ennek a fájlnak az üzenetei nem lépnek érvénybe: " + file + ": 1. sor:"), 1)
        << refused;
    EXPECT_EQ(count_of(refused, "kavex: a toll nem léphet ide: (150, 20)."), 1) << refused;
}

TEST(Explain, AProgramBuiltToExplainByDefaultExplainsUnlessTurnedOff) {
    if (std::getenv("KAVEX_MAKE_MISTAKES")) return (void)std::system(KAVEX_EXPLAINED_BY_DEFAULT);
    for (const std::string setting : {"", "0"}) {
        const std::string said = test::run_self({"--gtest_filter=Explain.AProgramBuiltToExplainByDefaultExplainsUnlessTurnedOff"},
                                                {"KAVEX_MAKE_MISTAKES=1", "KAVEX_EXPLAIN=" + setting, "KAVEX_LANG=en"})
                                     .output;
        EXPECT_EQ(count_of(said, "kavex: draw_dot on a canvas that has no surface"), setting.empty() ? 1 : 0) << said;
    }
}
