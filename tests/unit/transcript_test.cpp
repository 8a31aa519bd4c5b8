// The text of a recorded run: what a teacher's hand-written lines mean, what
// a recording writes and reads back, and which lines are refused.
#include "graphics.hpp"
#include "transcript.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using kavex::transcript::read;
using kavex::transcript::writer;

std::vector<SDL_Event> events_of(const std::string& body) {
    std::vector<SDL_Event> events;
    std::string error;
    EXPECT_TRUE(read(std::string(kavex::transcript::first_line) + "\n" + body, events, error)) << error;
    return events;
}

// One line a event, in a form the assertions can compare.
std::string described(const std::vector<SDL_Event>& events) {
    std::string out;
    for (const SDL_Event& e : events) {
        switch (e.type) {
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            out += std::string(e.type == SDL_KEYDOWN ? "down " : "up ") + std::to_string(static_cast<int>(e.key.keysym.sym)) +
                   " " + std::to_string(e.key.keysym.scancode) + " " + std::to_string(e.key.keysym.unicode);
            break;
        case SDL_MOUSEMOTION: out += "move " + std::to_string(e.motion.x) + "," + std::to_string(e.motion.y); break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            out += "button " + std::to_string(e.button.button) + (e.button.state ? " pressed " : " released ") +
                   std::to_string(e.button.x) + "," + std::to_string(e.button.y);
            break;
        case SDL_USEREVENT: out += "tick " + std::to_string(e.user.code); break;
        case SDL_ACTIVEEVENT: out += "focus " + std::to_string(e.active.gain) + " " + std::to_string(e.active.state); break;
        case SDL_QUIT: out += "close"; break;
        default: out += "?"; break;
        }
        out += "\n";
    }
    return out;
}

TEST(Transcript, HandWrittenLinesExpandAsTheFormatSays) {
    const std::string expected = "down 119 0 119\n"                   // hold W: the key w, typing w
                                 "tick 20\ntick 40\ntick 60\n"         // the first tick counts from 0
                                 "up 119 0 0\n"                        // a release types nothing
                                 "down 32 0 32\n"
                                 "tick 100\ntick 140\n"                // 40 apart unless told
                                 "tick 7\ntick 47\n"                   // a value, then 40 after it
                                 "down 97 0 353\n"                     // a with its character given: s with caron
                                 "down 276 0 0\n"                      // left types nothing
                                 "down 0 94 0\n"                       // a key SDL has no symbol for
                                 "move 10,20\n"
                                 "button 3 pressed 10,20\nbutton 3 released 10,20\n"
                                 "button 1 released 5,6\n"
                                 "focus 0 " + std::to_string(SDL_APPINPUTFOCUS) + "\n"
                                 "close\n";
    EXPECT_EQ(described(events_of("# a comment, and a blank line\n\n"
                                  "hold W 3 every 20   # hold W for 3 ticks\n"
                                  "press space\n"
                                  "ticks 2\n"
                                  "tick 7\n"
                                  "tick\n"
                                  "press a U+0161\n"
                                  "press left\n"
                                  "press scan94\n"
                                  "move 10 20\n"
                                  "click 3 10 20\n"
                                  "up 1 5 6\n"
                                  "unfocus\n"
                                  "close\r\n")),
              expected);
}

TEST(Transcript, WhatIsRecordedReadsBackAsTheSameEvents) {
    const std::vector<SDL_Event> original = events_of(
        "tick 1043\nticks 3 every 41\ntick 1200\ntick 1199\ntick -5\n"  // a run, a step, ticks back in time
        "press w W\npress w W\nrelease w\n"                             // a repeat typing a capital
        "press sym300\npress scan94 U+0020\nrelease s U+0161\npress hash\npress 7 U+0000\n"
        "down 2 65535 0\nunfocus\nclose\n");
    writer w;
    std::string text = std::string(kavex::transcript::first_line) + "\n";
    for (const SDL_Event& e : original) w.add(e, text);
    w.finish(text);
    EXPECT_NE(text.find("ticks 3 every 41\n"), std::string::npos) << text;  // a run is one line
    std::vector<SDL_Event> again;
    std::string error;
    ASSERT_TRUE(read(text, again, error)) << error << "\n" << text;
    EXPECT_EQ(described(again), described(original)) << text;
}

TEST(Transcript, AMalformedLineIsRefusedWithItsNumberAndNothingIsKept) {
    const struct {
        const char* text;
        const char* error;
    } cases[] = {
        {"kavex run 2\n", "line 1:"},
        {"kavex run 1\npress w\nmove 10\n", "line 3:"},
        {"kavex run 1\n\npress nokey\n", "line 3:"},
        {"kavex run 1\npress w ww\n", "line 2:"},
        {"kavex run 1\nclick 0 1 1\n", "line 2:"},
        {"kavex run 1\nmove 1 70000\n", "line 2:"},
        {"kavex run 1\nticks 0\n", "line 2:"},
        {"kavex run 1\nticks 5 every\n", "line 2:"},
        {"kavex run 1\ntick 99999999999\n", "line 2:"},
        {"kavex run 1\nticks 999999 \nticks 999999\n", "line 3:"},  // past the most a run holds
        {"kavex run 1\nclose now\n", "line 2:"},
        {"kavex run 1\njump\n", "line 2:"},
    };
    for (const auto& c : cases) {
        std::vector<SDL_Event> events;
        std::string error;
        EXPECT_FALSE(read(c.text, events, error)) << c.text;
        EXPECT_EQ(error.rfind(c.error, 0), 0u) << c.text << " gave: " << error;
        EXPECT_TRUE(events.empty()) << c.text;
    }
}

}  // namespace
