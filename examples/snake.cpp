// Snake: steer with the arrows, eat the red food, do not bite the wall or
// yourself. Enter starts again after the game is over.
#include "graphics.hpp"

#include <cstdlib>
#include <deque>
#include <string>

using namespace kavex;

namespace {

constexpr int cell = 20, columns = 20, rows = 15;  // a 400 x 300 board
constexpr int width = cell * columns, height = cell * rows;

struct place {
    int x, y;
    bool operator==(const place& o) const { return x == o.x && y == o.y; }
};

struct game {
    std::deque<place> snake{{5, 7}, {4, 7}, {3, 7}};  // the head first
    place step{1, 0};  // where the next crawl goes
    place last{1, 0};  // where the last one went
    place food{12, 7};
    bool over = false;
    int score = 0;
};

bool on_snake(const game& g, place p) {
    for (const place& part : g.snake)
        if (part == p) return true;
    return false;
}

void put_food(game& g) {
    do g.food = {std::rand() % columns, std::rand() % rows};
    while (on_snake(g, g.food));
}

void steer(game& g, int key) {
    place want = g.step;
    if (key == key_left) want = {-1, 0};
    if (key == key_right) want = {1, 0};
    if (key == key_up) want = {0, -1};
    if (key == key_down) want = {0, 1};
    if (want.x != -g.last.x || want.y != -g.last.y) g.step = want;  // never straight back into itself
}

void crawl(game& g) {
    const place head{g.snake.front().x + g.step.x, g.snake.front().y + g.step.y};
    if (head.x < 0 || head.x >= columns || head.y < 0 || head.y >= rows || on_snake(g, head)) {
        g.over = true;
        return;
    }
    g.last = g.step;
    g.snake.push_front(head);
    if (head == g.food) {
        ++g.score;
        put_food(g);
    } else {
        g.snake.pop_back();
    }
}

void draw_cell(place p) { gout << move_abs(p.x * cell + 1, p.y * cell + 1) << box_rel(cell - 3, cell - 3); }

void draw(const game& g) {
    gout << use_color(0, 30, 0) << move_abs(0, 0) << box_abs(width - 1, height - 1);
    gout << use_color(220, 30, 30);
    draw_cell(g.food);
    gout << use_color(100, 220, 60);
    for (const place& part : g.snake) draw_cell(part);
    gout << use_color(255, 255, 255) << move_abs(4, 16);
    gout.draw_text("Score: " + std::to_string(g.score));
    if (g.over) {
        gout.set_text_scale(4);
        gout << move_abs((width - gout.twidth("GAME OVER")) / 2, 150);
        gout.draw_text("GAME OVER");
        gout.set_text_scale(1);
        gout << move_abs((width - gout.twidth("Enter: play again")) / 2, 190);
        gout.draw_text("Enter: play again");
    }
    gout << refresh;
}

}  // namespace

int main() {
    gout.open(width, height);
    gout.set_title("Snake");
    game g;
    gin.timer(120);
    event ev;
    while (gin.wait_event(ev)) {
        if (g.over && ev.key == 13) g = game();  // 13 is Enter
        if (!g.over) steer(g, ev.key);
        if (ev.ticks) {
            if (!g.over) crawl(g);
            draw(g);
        }
    }
}
