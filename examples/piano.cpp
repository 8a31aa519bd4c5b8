// A piano of one octave: the keys A S D F G H J K play the white keys from
// middle C up, W E T Y U the black ones, and a click plays the key under the
// pointer. Each note is a tone from beep(), and its key lights up meanwhile.
#include "graphics.hpp"

#include <cctype>
#include <cmath>
#include <string>

using namespace kavex;

namespace {

constexpr int width = 400, height = 220;
constexpr int white_width = width / 8, white_height = 200;
constexpr int black_width = 30, black_height = 120;
constexpr int note_ms = 300;

struct piano_key {
    char letter;   // the key on the keyboard that plays it
    int semitone;  // above middle C
    bool black;
    int x;         // left edge on the picture
};

// The white keys left to right, then the black ones between them.
const piano_key keys[] = {
    {'a', 0, false, 0},   {'s', 2, false, 50},  {'d', 4, false, 100}, {'f', 5, false, 150},
    {'g', 7, false, 200}, {'h', 9, false, 250}, {'j', 11, false, 300}, {'k', 12, false, 350},
    {'w', 1, true, 35},   {'e', 3, true, 85},   {'t', 6, true, 185},  {'y', 8, true, 235},
    {'u', 10, true, 285},
};
constexpr int key_count = sizeof keys / sizeof keys[0];

// Equal temperament: each semitone is the twelfth root of 2 higher.
int frequency(int semitone) { return static_cast<int>(std::lround(261.63 * std::pow(2.0, semitone / 12.0))); }

int key_of_letter(int key) {
    for (int i = 0; i < key_count; ++i)
        if (key > 0 && key < 128 && std::tolower(key) == keys[i].letter) return i;
    return -1;
}

// Black keys lie on top of the white ones, so they are looked at first.
int key_at(int x, int y) {
    for (int i = key_count - 1; i >= 0; --i) {
        const int w = keys[i].black ? black_width : white_width;
        const int h = keys[i].black ? black_height : white_height;
        if (x >= keys[i].x && x < keys[i].x + w && y < h) return i;
    }
    return -1;
}

void draw(int lit) {
    gout << use_color(40, 40, 40) << move_abs(0, 0) << box_abs(width - 1, height - 1);
    for (int i = 0; i < key_count; ++i) {
        const piano_key& k = keys[i];
        const int w = k.black ? black_width : white_width, h = k.black ? black_height : white_height;
        if (i == lit) gout << use_color(255, 200, 0);
        else if (k.black) gout << use_color(20, 20, 20);
        else gout << use_color(250, 250, 250);
        gout << move_abs(k.x + 1, 0) << box_rel(w - 2, h - 1);
        const int grey = k.black ? 200 : 120;
        gout << use_color(grey, grey, grey) << move_abs(k.x + w / 2 - 4, h - 8);
        gout.draw_text(std::string(1, static_cast<char>(std::toupper(k.letter))));
    }
    gout << use_color(200, 200, 200) << move_abs(8, height - 6);
    gout.draw_text("Keys A to K, W E T Y U, or click");
    gout << refresh;
}

}  // namespace

int main() {
    gout.open(width, height);
    gin.timer(40);
    int lit = -1, lit_ticks = 0;  // the key shown pressed, for so many ticks more
    draw(lit);
    event ev;
    while (gin.wait_event(ev)) {
        int pressed = key_of_letter(ev.key);
        if (ev.button == 1) pressed = key_at(ev.mouse_x, ev.mouse_y);
        if (pressed >= 0) {
            beep(frequency(keys[pressed].semitone), note_ms);
            lit = pressed, lit_ticks = note_ms / 40;
            draw(lit);
        }
        if (ev.ticks && lit >= 0 && --lit_ticks == 0) draw(lit = -1);
    }
}
