// Keys held down: gin.held follows real SDL key events pushed into SDL's
// queue as wait_event takes them, releases that are never reported included.
#include "process.hpp"
#include "sdl_events.hpp"

#include <gtest/gtest.h>

using kavex::gin;
using kavex::key_left;
using kavex::key_lshift;
using test::key_down;
using test::key_up;
using test::next;
using test::push;
using test::record;

namespace {

SDL_Event focus_change(Uint8 gain, Uint8 state) {
    SDL_Event e = test::of_type(SDL_ACTIVEEVENT);
    e.active.gain = gain;
    e.active.state = state;
    return e;
}

SDL_Event scancode_key(Uint8 type, Uint8 scancode, Uint16 unicode) {
    SDL_Event e = test::key_event(type, SDLK_UNKNOWN, unicode);
    e.key.keysym.scancode = scancode;
    return e;
}

// Takes everything pushed so far, up to the sentinel, whatever it reports.
void take_all() { test::take_waiting(); }

// Each test starts with no key held, whatever the one before left down.
class Held : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(push(focus_change(0, SDL_APPINPUTFOCUS)));
        take_all();
    }
};

TEST_F(Held, ALetterIsHeldInEitherCaseFromTheWaitThatTookItsPressUntilItsUnreportedRelease) {
    ASSERT_TRUE(push(key_down(SDLK_w, 'w')));
    EXPECT_FALSE(gin.held('w')) << "not before wait_event has taken the press";
    EXPECT_EQ(next(), (record{'w', 0, 0, 0, 0}));
    EXPECT_TRUE(gin.held('w'));
    EXPECT_TRUE(gin.held('W'));
    EXPECT_FALSE(gin.held('a'));
    EXPECT_FALSE(gin.held(0));
    EXPECT_FALSE(gin.held(-'w'));

    ASSERT_TRUE(push(key_up(SDLK_w)));
    ASSERT_TRUE(push(test::motion(5, 6)));
    EXPECT_EQ(next(), (record{0, 5, 6, 0, 0})) << "the release is still not reported";
    EXPECT_FALSE(gin.held('w'));
    EXPECT_FALSE(gin.held('W'));
}

TEST_F(Held, AShiftedLetterIsHeldAsItsSmallLetterAndOutlivesTheShift) {
    ASSERT_TRUE(push(key_down(SDLK_LSHIFT)));
    ASSERT_TRUE(push(key_down(SDLK_w, 'W')));
    ASSERT_TRUE(push(key_up(SDLK_LSHIFT)));
    take_all();
    EXPECT_TRUE(gin.held('w'));
    EXPECT_TRUE(gin.held('W'));
    EXPECT_FALSE(gin.held(key_lshift));

    // Letters of the code page too: S with caron is 0x8A, its small letter 0x9A.
    ASSERT_TRUE(push(key_down(SDLK_s, 0x160)));
    take_all();
    EXPECT_TRUE(gin.held(0x9A));
    EXPECT_TRUE(gin.held(0x8A));
    EXPECT_FALSE(gin.held(0xF7)) << "a sign that is no letter stays itself";

    ASSERT_TRUE(push(key_up(SDLK_w)));
    take_all();
    EXPECT_FALSE(gin.held('w'));
    EXPECT_TRUE(gin.held(0x9A)) << "another key's release lets go of that key alone";
}

TEST_F(Held, AKeyThatTypesNothingIsHeldUntilItsReportedRelease) {
    ASSERT_TRUE(push(key_down(SDLK_LEFT)));
    EXPECT_EQ(next(), (record{key_left, 0, 0, 0, 0}));
    EXPECT_TRUE(gin.held(key_left));
    EXPECT_FALSE(gin.held(-key_left));
    ASSERT_TRUE(push(key_up(SDLK_LEFT)));
    EXPECT_EQ(next(), (record{-key_left, 0, 0, 0, 0}));
    EXPECT_FALSE(gin.held(key_left));
}

TEST_F(Held, KeysWithoutASymbolAreToldApartByTheirScancodes) {
    ASSERT_TRUE(push(scancode_key(SDL_KEYDOWN, 50, 0x416)));
    ASSERT_TRUE(push(scancode_key(SDL_KEYDOWN, 51, 0x417)));
    ASSERT_TRUE(push(scancode_key(SDL_KEYUP, 50, 0)));
    take_all();
    EXPECT_FALSE(gin.held(0x416));
    EXPECT_TRUE(gin.held(0x417));
}

TEST_F(Held, LosingTheKeyboardLetsGoOfEveryKeyButTheMouseLeavingDoesNot) {
    ASSERT_TRUE(push(key_down(SDLK_a, 'a')));
    ASSERT_TRUE(push(key_down(SDLK_RIGHT)));
    ASSERT_TRUE(push(focus_change(0, SDL_APPMOUSEFOCUS)));
    take_all();
    EXPECT_TRUE(gin.held('a'));
    EXPECT_TRUE(gin.held(kavex::key_right));

    ASSERT_TRUE(push(focus_change(0, SDL_APPINPUTFOCUS | SDL_APPMOUSEFOCUS)));
    take_all();
    EXPECT_FALSE(gin.held('a'));
    EXPECT_FALSE(gin.held(kavex::key_right));
}

TEST_F(Held, ANewPressIsHeldEvenAfterManyReleasesWereLost) {
    for (int i = 0; i < 40; ++i) ASSERT_TRUE(push(key_down(static_cast<SDLKey>(SDLK_a + i % 26), 'a' + i % 26)));
    ASSERT_TRUE(push(key_down(SDLK_F3)));
    take_all();
    EXPECT_TRUE(gin.held(kavex::key_f3));
    EXPECT_TRUE(gin.held('n')) << "the latest presses are kept";
}

TEST_F(Held, APressOfAKeyAlreadyDownIsARepeatThatShiftCtrlAltAndTheLocksNeverReport) {
    for (SDLKey sym : {SDLK_LSHIFT, SDLK_RCTRL, SDLK_LALT, SDLK_CAPSLOCK, SDLK_LEFT}) {
        ASSERT_TRUE(push(key_down(sym)));
        ASSERT_TRUE(push(key_down(sym)));
    }
    ASSERT_TRUE(push(key_down(SDLK_b, 'b')));
    ASSERT_TRUE(push(key_down(SDLK_b, 'B')));
    const std::vector<record> expected = {{key_lshift, 0, 0, 0, 0},     {kavex::key_rctrl, 0, 0, 0, 0},
                                          {kavex::key_lalt, 0, 0, 0, 0}, {kavex::key_capslock, 0, 0, 0, 0},
                                          {key_left, 0, 0, 0, 0},        {key_left, 0, 0, 0, 0},
                                          {'b', 0, 0, 0, 0},             {'B', 0, 0, 0, 0}};
    EXPECT_EQ(test::take_waiting(), expected);

    // Once let go, it presses again.
    ASSERT_TRUE(push(key_up(SDLK_LSHIFT)));
    ASSERT_TRUE(push(key_down(SDLK_LSHIFT)));
    EXPECT_EQ(test::take_waiting(), (std::vector<record>{{-key_lshift, 0, 0, 0, 0}, {key_lshift, 0, 0, 0, 0}}));
}

TEST(HeldAtClose, ClosingTheWindowLetsGoOfEveryKey) {
    if (test::ran_in_own_process()) return;
    ASSERT_TRUE(push(key_down(SDLK_DOWN)));
    ASSERT_TRUE(push(test::of_type(SDL_QUIT)));
    EXPECT_EQ(next(), (record{kavex::key_down, 0, 0, 0, 0}));
    EXPECT_TRUE(gin.held(kavex::key_down));
    EXPECT_EQ(next(), (record{0, 0, 0, 0, 0}));
    ASSERT_TRUE(gin.quit);
    EXPECT_FALSE(gin.held(kavex::key_down));
}

// SDL_GetKeyRepeat reads back what the desktop SDL was told.
TEST(KeyRepeat, IsOffUntilAskedAndAnyNonPositiveValueSwitchesItOff) {
    int delay = -1, interval = -1;
    SDL_GetKeyRepeat(&delay, &interval);
    EXPECT_EQ(delay, 0) << "keys do not repeat by default";

    gin.key_repeat(200, 50);
    SDL_GetKeyRepeat(&delay, &interval);
    EXPECT_EQ(delay, 200);
    EXPECT_EQ(interval, 50);

    for (const auto& [d, i] : {std::pair{0, 50}, {200, 0}, {-1, 50}, {200, -30}}) {
        gin.key_repeat(200, 50);
        gin.key_repeat(d, i);
        SDL_GetKeyRepeat(&delay, &interval);
        EXPECT_EQ(delay, 0) << "key_repeat(" << d << ", " << i << ") leaves repeating on";
    }
}

}  // namespace
