// The games to learn from in a real X server: their titles as the window
// manager reads them, keys held down through XTest (a letter's release too,
// which no event reports), a picture loaded from a file, and a game played
// live, recorded, and replayed without a display to the same pictures.
#include <gtest/gtest.h> // before Xlib, whose macros clash with it

#include "x11_session.hpp"

#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>

#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

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

std::string contents(const std::string &file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream all;
  all << in.rdbuf();
  return all.str();
}

// The newest `count` pictures of a run's KAVEX_FRAMES list, newest first.
std::vector<std::string> newest_pictures(const std::string &frames, std::size_t count) {
  std::istringstream list(contents(frames + "/frames.txt"));
  std::vector<std::string> files;
  for (std::string line; std::getline(list, line);)
    if (!line.empty() && line[0] != '#') {
      const auto file = line.find(' ') + 1;
      files.insert(files.begin(), frames + "/" + line.substr(file, line.find(' ', file) - file));
    }
  if (files.size() > count)
    files.resize(count);
  return files;
}

// The window shows the PNG's picture, pixel for pixel.
bool shows(const x11::image &window, const std::string &png) {
  int w = 0, h = 0, channels = 0;
  unsigned char *rgb = stbi_load(png.c_str(), &w, &h, &channels, 3);
  bool same = rgb && w == window.width && h == window.height;
  for (int y = 0; same && y < h; ++y)
    for (int x = 0; same && x < w; ++x) {
      const unsigned char *p = rgb + 3 * (y * w + x);
      same = window.at(x, y) == (std::uint32_t{p[0]} << 16 | p[1] << 8 | p[2]);
    }
  stbi_image_free(rgb);
  return same;
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

TEST(GamesEndToEnd, PongPlayedLiveReplaysWithoutADisplayToThePicturesItShowed) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / ("kavex-pong-run-" + std::to_string(getpid()));
  const std::string run = (dir / "run.txt").string(), live = (dir / "live").string(),
                    replayed = (dir / "replayed").string();
  fs::create_directories(live);
  fs::create_directories(replayed);
  x11::session x;
  ASSERT_TRUE(x.ok());
  auto app = x.start(KAVEX_PONG, {}, {"KAVEX_RECORD=" + run, "KAVEX_FRAMES=" + live});
  ASSERT_TRUE(app);
  const Window w = app->wait_for_window(window_timeout);
  ASSERT_NE(w, None) << "no window appeared";
  x.move_pointer(w, 200, 150);
  ASSERT_TRUE(x11::eventually([&] { return paddle_top(x, w) > 0; }, change_timeout));
  const int start = paddle_top(x, w);
  x.key_down(XK_w);
  EXPECT_TRUE(x11::eventually([&] { return paddle_top(x, w) < start - 40; }, change_timeout));
  x.key_up(XK_w);
  x.move_pointer(w, 300, 100);

  // Stopped, the program's window holds one of the last pictures it
  // recorded (the newest may still wait in the program's X buffer).
  app->pause();
  const auto shows_a_recorded_picture = [&] {
    const x11::image window = x.grab(w);
    for (const std::string &png : newest_pictures(live, 5))
      if (shows(window, png))
        return true;
    return false;
  };
  EXPECT_TRUE(x11::eventually(shows_a_recorded_picture, change_timeout)) << app->output() << contents(run);
  app->resume();
  x.close_request(w);
  EXPECT_EQ(app->wait_exit(milliseconds(5000)), 0);

  const std::string command = "env -u DISPLAY KAVEX_REPLAY=" + run + " KAVEX_FRAMES=" + replayed + " " + KAVEX_PONG;
  ASSERT_EQ(std::system(command.c_str()), 0) << contents(run);
  const std::string recorded = contents(run);
  EXPECT_NE(recorded.find("\npress w\n"), std::string::npos) << recorded;
  EXPECT_NE(recorded.find("\nrelease w\n"), std::string::npos) << recorded;
  EXPECT_EQ(contents(replayed + "/frames.txt"), contents(live + "/frames.txt")) << recorded;
  fs::remove_all(dir);
}
