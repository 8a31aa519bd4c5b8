// The games to learn from in a real X server: their titles as the window
// manager reads them, keys held down through XTest (a letter's release too,
// which no event reports), and a picture loaded from a file.
#include <gtest/gtest.h> // before Xlib, whose macros clash with it

#include "x11_session.hpp"

#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <unistd.h>

#include <string>

namespace {

using x11::milliseconds;

// Generous: they only stop a test whose program is stuck.
constexpr milliseconds window_timeout{20000};
constexpr milliseconds change_timeout{10000};

std::string window_name(x11::session &x, Window w) {
  char *name = nullptr;
  if (!XFetchName(x.display(), w, &name) || !name)
    return "";
  std::string out(name);
  XFree(name);
  return out;
}

// The top row of pong's left paddle (white, columns 12 to 20), or -1.
int paddle_top(x11::session &x, Window w) {
  const x11::image frame = x.grab(w);
  for (int y = 0; y < frame.height; ++y)
    if (frame.width > 16 && frame.at(16, y) == 0xFFFFFF)
      return y;
  return -1;
}

} // namespace

TEST(GamesEndToEnd, PongsTitleAndItsPaddleOnAHeldLetter) {
  x11::session x;
  ASSERT_TRUE(x.ok());
  auto app = x.start(KAVEX_PONG);
  ASSERT_TRUE(app);
  const Window w = app->wait_for_window(window_timeout);
  ASSERT_NE(w, None) << "no window appeared";
  EXPECT_TRUE(x11::eventually([&] { return window_name(x, w) == "Pong 0 : 0"; },
                              change_timeout))
      << window_name(x, w);

  x.move_pointer(w, 200, 150); // the keyboard follows the pointer
  ASSERT_TRUE(
      x11::eventually([&] { return paddle_top(x, w) > 0; }, change_timeout));
  const int start = paddle_top(x, w);
  x.key_down(XK_w);
  EXPECT_TRUE(x11::eventually([&] { return paddle_top(x, w) < start - 40; },
                              change_timeout))
      << "W held did not move the paddle up";
  x.key_up(XK_w);
  // Were W still held, S would cancel it and the paddle would stay.
  const int after_w = paddle_top(x, w);
  x.key_down(XK_s);
  EXPECT_TRUE(x11::eventually([&] { return paddle_top(x, w) > after_w + 40; },
                              change_timeout))
      << "W's release was not seen";
  x.key_up(XK_s);

  x.close_request(w);
  EXPECT_EQ(app->wait_exit(milliseconds(5000)), 0);
}

TEST(GamesEndToEnd, PictureLoadsItsPngAndMovesItOnAHeldArrow) {
  x11::session x;
  ASSERT_TRUE(x.ok());
  // Started in its own folder, as scripts/run starts it, beside pictures/.
  const std::string program = KAVEX_PICTURE;
  ASSERT_EQ(chdir(program.substr(0, program.find_last_of('/')).c_str()), 0);
  auto app = x.start(program);
  ASSERT_TRUE(app);
  const Window w = app->wait_for_window(window_timeout);
  ASSERT_NE(w, None) << "no window appeared";
  EXPECT_TRUE(x11::eventually([&] { return window_name(x, w) == "Picture"; },
                              change_timeout));

  constexpr std::uint32_t face_yellow = 0xFAC828; // pictures/face.png's middle
  ASSERT_TRUE(x11::eventually(
      [&] { return x.grab(w).at(200, 150) == face_yellow; }, change_timeout))
      << app->output();
  EXPECT_EQ(app->output().find("could not load"), std::string::npos)
      << app->output();

  x.move_pointer(w, 50, 250);
  x.key_down(XK_Right);
  EXPECT_TRUE(x11::eventually(
      [&] { return x.grab(w).at(260, 150) == face_yellow; }, change_timeout))
      << "the face did not move right";
  x.key_up(XK_Right);

  x.close_request(w);
  EXPECT_EQ(app->wait_exit(milliseconds(5000)), 0);
}
