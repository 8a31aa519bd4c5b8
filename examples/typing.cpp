// Type, and see what you type, in your own language. Each key press arrives
// as a key code; font_char gives the font's letter for it (š, ą, ő, ...), and
// 0 for a key that types no character. Backspace takes the last character
// back (held down, again and again), Enter starts a new line. Close the
// window to quit.
#include "graphics.hpp"

#include <string>

using namespace kavex;

namespace {

const int width = 480, height = 200;
const int margin = 10;

// The text typed so far, then a cursor, over a fresh background.
void show(const std::string& typed) {
    gout << use_color(16, 24, 48) << move_abs(0, 0) << box_rel(width - 1, height - 1);
    gout << use_color(255, 200, 60) << move_abs(margin, 30);
    gout.draw_text("Type in your own language.\nBackspace erases, Enter starts a new line.\n\n");
    gout << use_color(255, 255, 255);
    gout.draw_text(typed + "_");
    gout << refresh;
}

// The last line of the text, to see whether it still fits.
std::string last_line(const std::string& text) { return text.substr(text.rfind('\n') + 1); }

}  // namespace

int main() {
    gout.open(width, height);
    gin.key_repeat(400, 40);  // a key held down types again and again, as in an editor
    std::string typed;
    show(typed);
    event ev;
    while (gin) {
        gin.wait_event(ev);
        if (ev.key == 8) {                     // Backspace
            if (!typed.empty()) typed.pop_back();
        } else if (ev.key == 13) {             // Enter
            typed += '\n';
        } else if (const char letter = font_char(ev.key)) {
            // A line that would reach the right edge goes on in the next one.
            if (gout.twidth(last_line(typed) + letter + "_") > width - 2 * margin) typed += '\n';
            typed += letter;
        } else {
            continue;                          // arrows, releases, mouse, ...: nothing changes
        }
        show(typed);
    }
}
