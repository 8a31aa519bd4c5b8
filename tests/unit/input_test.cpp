// The input source: real SDL events pushed into SDL's queue come out of gin
// as one record each, or not at all.
#include "process.hpp"
#include "sdl_events.hpp"

#include <SDL/SDL_syswm.h>
#include <gtest/gtest.h>

#include <cstddef>
#include <type_traits>

using kavex::event;
using kavex::gin;
using kavex::grinput;
using test::button_event;
using test::key_down;
using test::key_up;
using test::motion;
using test::next;
using test::push;
using test::record;

TEST(Input, IsOneObjectBoundToGin) {
    EXPECT_EQ(&grinput::instance(), &grinput::instance());
    EXPECT_EQ(&gin, &grinput::instance());
    EXPECT_FALSE(gin.quit);
    EXPECT_EQ(static_cast<const void*>(gin), &gin) << "an open input source tests as its own address";
}

TEST(Input, EventIsFivePlainIntsInOrder) {
    EXPECT_TRUE(std::is_trivial_v<event>);
    EXPECT_EQ(sizeof(event), 20u);
    EXPECT_EQ(offsetof(event, key), 0u);
    EXPECT_EQ(offsetof(event, mouse_x), 4u);
    EXPECT_EQ(offsetof(event, mouse_y), 8u);
    EXPECT_EQ(offsetof(event, button), 12u);
    EXPECT_EQ(offsetof(event, ticks), 16u);
}

TEST(Input, WaitEventReturnsTheInputSourceItself) {
    ASSERT_TRUE(push(motion(1, 1)));
    event ev;
    EXPECT_EQ(&gin.wait_event(ev), &gin);
}

TEST(Input, KeyPressGivesTheCodeAndReleaseItsNegation) {
    ASSERT_TRUE(push(key_down(SDLK_SPACE, ' ')));
    ASSERT_TRUE(push(key_down(SDLK_LEFT)));
    ASSERT_TRUE(push(key_up(SDLK_LEFT)));
    ASSERT_TRUE(push(key_down(SDLK_a, 'a')));
    ASSERT_TRUE(push(key_up(SDLK_F15)));
    EXPECT_EQ(next(), (record{32, 0, 0, 0, 0}));
    EXPECT_EQ(next(), (record{0x10003, 0, 0, 0, 0}));
    EXPECT_EQ(next(), (record{-0x10003, 0, 0, 0, 0}));
    EXPECT_EQ(next(), (record{97, 0, 0, 0, 0}));
    EXPECT_EQ(next(), (record{-kavex::key_f15, 0, 0, 0, 0}));
}

TEST(Input, TheKeysSignComesFromTheEventTypeNotItsState) {
    SDL_Event release = key_up(SDLK_a, 'a');  // SDL never sends it, but anyone may push it
    release.key.state = SDL_PRESSED;
    ASSERT_TRUE(push(release));
    SDL_Event press = key_down(SDLK_UP);
    press.key.state = SDL_RELEASED;
    ASSERT_TRUE(push(press));
    EXPECT_EQ(next(), (record{-97, 0, 0, 0, 0}));
    EXPECT_EQ(next(), (record{kavex::key_up, 0, 0, 0, 0}));
}

TEST(Input, DeleteIsItsKeyCodeNotTheCharacterItTypes) {
    ASSERT_TRUE(push(key_down(SDLK_DELETE, 127)));
    EXPECT_EQ(next(), (record{kavex::key_delete, 0, 0, 0, 0}));
}

TEST(Input, CharactersComeAsTheirCodePageByteOrTheirUnicodeValue) {
    ASSERT_TRUE(push(key_down(SDLK_s, 0x161)));     // s with caron
    ASSERT_TRUE(push(key_down(SDLK_e, 0x20AC)));    // euro sign
    ASSERT_TRUE(push(key_down(SDLK_e, 0xE9)));      // e with acute
    ASSERT_TRUE(push(key_down(SDLK_WORLD_1, 0x416)));  // a Cyrillic letter
    EXPECT_EQ(next(), (record{0x9A, 0, 0, 0, 0}));
    EXPECT_EQ(next(), (record{0x80, 0, 0, 0, 0}));
    EXPECT_EQ(next(), (record{0xE9, 0, 0, 0, 0}));
    EXPECT_EQ(next(), (record{0x416, 0, 0, 0, 0}));
}

TEST(Input, KeysWithoutACodeAreSwallowedAndTheWaitGoesOn) {
    ASSERT_TRUE(push(key_down(SDLK_a, 'a')));
    ASSERT_TRUE(push(key_up(SDLK_a)));  // a letter's release carries no character
    ASSERT_TRUE(push(key_down(SDLK_PAUSE)));
    ASSERT_TRUE(push(key_up(SDLK_PAUSE)));
    ASSERT_TRUE(push(key_down(SDLK_RSHIFT)));
    EXPECT_EQ(next(), (record{97, 0, 0, 0, 0}));
    EXPECT_EQ(next(), (record{kavex::key_rshift, 0, 0, 0, 0}));
}

TEST(Input, MouseMoveGivesThePositionOnly) {
    ASSERT_TRUE(push(motion(10, 20)));
    ASSERT_TRUE(push(motion(65535, 40000)));  // SDL's positions are unsigned 16-bit
    EXPECT_EQ(next(), (record{0, 10, 20, 0, 0}));
    EXPECT_EQ(next(), (record{0, 65535, 40000, 0, 0}));
}

TEST(Input, MouseMoveToTheCornerIsAllZeroButNoQuit) {
    ASSERT_TRUE(push(motion(0, 0)));
    EXPECT_EQ(next(), (record{0, 0, 0, 0, 0}));
    EXPECT_FALSE(gin.quit);
    EXPECT_TRUE(gin);
}

TEST(Input, ButtonsGiveTheButtonSignedByItsStateAndThePosition) {
    ASSERT_TRUE(push(button_event(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, SDL_PRESSED, 10, 20)));
    ASSERT_TRUE(push(button_event(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, SDL_RELEASED, 10, 20)));
    ASSERT_TRUE(push(button_event(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_WHEELDOWN, SDL_PRESSED, 300, 65535)));
    // The state decides, not the type: a pushed event may say otherwise.
    ASSERT_TRUE(push(button_event(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, SDL_RELEASED, 1, 2)));
    ASSERT_TRUE(push(button_event(SDL_MOUSEBUTTONUP, SDL_BUTTON_MIDDLE, SDL_PRESSED, 3, 4)));
    EXPECT_EQ(next(), (record{0, 10, 20, 1, 0}));
    EXPECT_EQ(next(), (record{0, 10, 20, -1, 0}));
    EXPECT_EQ(next(), (record{0, 300, 65535, 5, 0}));
    EXPECT_EQ(next(), (record{0, 1, 2, -3, 0}));
    EXPECT_EQ(next(), (record{0, 3, 4, 2, 0}));
}

TEST(Input, EveryUserEventIsATickCarryingItsCode) {
    ASSERT_TRUE(push(test::user_event(123456)));
    ASSERT_TRUE(push(test::user_event(-5)));
    EXPECT_EQ(next(), (record{0, 0, 0, 0, 123456}));
    EXPECT_EQ(next(), (record{0, 0, 0, 0, -5}));
}

TEST(Input, OtherEventTypesAreSkippedAndTheWaitGoesOn) {
    SDL_SysWMmsg msg{};
    SDL_VERSION(&msg.version);
    int pushed = 0;
    for (int type = 0; type < SDL_NUMEVENTS; ++type) {
        if ((type >= SDL_KEYDOWN && type <= SDL_MOUSEBUTTONUP) || type == SDL_QUIT || type == SDL_USEREVENT)
            continue;
        SDL_Event e = test::of_type(static_cast<Uint8>(type));
        if (type == SDL_SYSWMEVENT) e.syswm.msg = &msg;  // SDL copies the message
        EXPECT_TRUE(push(e)) << "type " << type;
        ++pushed;
    }
    EXPECT_EQ(pushed, 25);
    ASSERT_TRUE(push(key_down(SDLK_b, 'b')));
    EXPECT_EQ(next(), (record{'b', 0, 0, 0, 0}));
    EXPECT_EQ(test::user_events_waiting(), 0);
    SDL_Event left;
    EXPECT_EQ(SDL_PeepEvents(&left, 1, SDL_PEEKEVENT, SDL_ALLEVENTS), 0) << "all of them were taken";
}

TEST(Input, ARecordNeverCarriesAnEarlierEventsFields) {
    ASSERT_TRUE(push(button_event(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, SDL_PRESSED, 5, 6)));
    ASSERT_TRUE(push(key_down(SDLK_x, 'x')));
    ASSERT_TRUE(push(motion(8, 9)));
    ASSERT_TRUE(push(key_up(SDLK_x)));  // swallowed between the two
    ASSERT_TRUE(push(test::user_event(77)));
    ASSERT_TRUE(push(key_down(SDLK_END)));
    event ev{};
    const record expected[] = {{0, 5, 6, 1, 0}, {'x', 0, 0, 0, 0}, {0, 8, 9, 0, 0}, {0, 0, 0, 0, 77},
                               {kavex::key_end, 0, 0, 0, 0}};
    for (const record& r : expected) {
        gin.wait_event(ev);  // the same record, again and again
        EXPECT_EQ(test::fields(ev), r);
    }
}

// The close request sets quit for good, so these run in processes of their own.

TEST(Quit, CloseRequestGivesAnAllZeroRecordAndEndsTheLoop) {
    if (test::ran_in_own_process()) return;
    ASSERT_TRUE(push(key_down(SDLK_q, 'q')));
    ASSERT_TRUE(push(test::of_type(SDL_QUIT)));
    event ev{1, 2, 3, 4, 5};
    int rounds = 0;
    while (gin.wait_event(ev)) ++rounds;  // a program's main loop
    EXPECT_EQ(rounds, 1) << "the key came through, then the loop ended";
    EXPECT_EQ(test::fields(ev), (record{0, 0, 0, 0, 0}));
    EXPECT_TRUE(gin.quit);
    EXPECT_FALSE(gin);
    EXPECT_EQ(static_cast<const void*>(gin), nullptr);
}

TEST(Quit, AfterQuitWaitEventReturnsAtOnceWithoutAskingSDL) {
    if (test::ran_in_own_process()) return;
    ASSERT_TRUE(push(test::of_type(SDL_QUIT)));
    EXPECT_EQ(next(), (record{0, 0, 0, 0, 0}));
    ASSERT_TRUE(gin.quit);

    // One key for each wait: a wait that asked SDL would take one.
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(push(key_down(SDLK_z, 'z')));
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(next(), (record{0, 0, 0, 0, 0}));
        EXPECT_TRUE(gin.quit) << "quit never clears";
    }
    SDL_Event left[4];
    EXPECT_EQ(SDL_PeepEvents(left, 4, SDL_PEEKEVENT, SDL_ALLEVENTS), 3) << "SDL's queue was not touched";
}

TEST(Quit, AFailedWaitSetsQuit) {
    if (test::ran_in_own_process()) return;
    // Without the video subsystem SDL's event queue is gone, and SDL_WaitEvent
    // fails at once: the classic library returns 0, the compatibility one -1.
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    EXPECT_EQ(next(), (record{0, 0, 0, 0, 0}));
    EXPECT_TRUE(gin.quit);
    EXPECT_FALSE(gin);
}
