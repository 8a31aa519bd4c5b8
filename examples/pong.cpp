// Pong against the computer. Hold W and S (or the up and down arrows) to move
// your paddle on the left; the first to 5 wins, Enter starts a new game. A
// paddle's hit and a missed ball each play a sound (sounds/).
#include "graphics.hpp"

#include <algorithm>
#include <cstdlib>
#include <string>

using namespace kavex;

namespace {

constexpr int width = 400, height = 300;
constexpr int paddle_height = 50, paddle_width = 8, ball_radius = 6;

struct game {
    double ball_x = width / 2, ball_y = height / 2;
    double speed_x = 4, speed_y = 2;
    double player = height / 2, computer = height / 2;  // paddle centres
    int player_score = 0, computer_score = 0;
};

void serve(game& g, int towards) {
    g.ball_x = width / 2;
    g.ball_y = height / 2;
    g.speed_x = 4 * towards;
    g.speed_y = std::rand() % 5 - 2;
}

// A paddle at column x hits the ball when the ball reaches it and their rows overlap.
bool hits(double paddle, double ball_y) {
    return ball_y > paddle - paddle_height / 2 - ball_radius && ball_y < paddle + paddle_height / 2 + ball_radius;
}

struct sounds {
    sound hit, miss;
};

void move_everything(game& g, sounds& noise) {
    if (gin.held('w') || gin.held(key_up)) g.player -= 5;
    if (gin.held('s') || gin.held(key_down)) g.player += 5;
    g.computer += g.ball_y > g.computer ? 3 : -3;  // the computer is a little slow
    g.player = std::clamp(g.player, 1.0 + paddle_height / 2, height - 2.0 - paddle_height / 2);
    g.computer = std::clamp(g.computer, 1.0 + paddle_height / 2, height - 2.0 - paddle_height / 2);
    g.ball_x += g.speed_x;
    g.ball_y += g.speed_y;
    if (g.ball_y < ball_radius || g.ball_y > height - 1 - ball_radius) g.speed_y = -g.speed_y;
    if (g.ball_x < 20 + ball_radius && g.speed_x < 0 && hits(g.player, g.ball_y)) {
        g.speed_x = -g.speed_x;
        g.speed_y += (g.ball_y - g.player) / 10;  // the paddle's edge sends the ball away steeper
        noise.hit.play();
    }
    if (g.ball_x > width - 21 - ball_radius && g.speed_x > 0 && hits(g.computer, g.ball_y)) {
        g.speed_x = -g.speed_x;
        noise.hit.play();
    }
    if (g.ball_x < 0) ++g.computer_score, serve(g, 1), noise.miss.play();
    if (g.ball_x > width) ++g.player_score, serve(g, -1), noise.miss.play();
}

void draw_centred(const std::string& text, int y) {
    gout << move_abs((width - gout.twidth(text)) / 2, y);
    gout.draw_text(text);
}

void draw(const game& g, bool over) {
    gout << use_color(0, 0, 0) << move_abs(0, 0) << box_abs(width - 1, height - 1);
    gout << use_color(80, 80, 80);
    for (int y = 0; y < height; y += 20) gout << move_abs(width / 2, y) << line_abs(width / 2, y + 9);
    gout << use_color(255, 255, 255);
    gout << move_abs(12, g.player - paddle_height / 2) << box_rel(paddle_width, paddle_height);
    gout << move_abs(width - 13 - paddle_width, g.computer - paddle_height / 2) << box_rel(paddle_width, paddle_height);
    gout << use_color(255, 220, 0) << move_abs(g.ball_x, g.ball_y) << disc(ball_radius);
    gout.set_text_scale(3);  // the score in big digits
    gout << use_color(200, 200, 200);
    draw_centred(std::to_string(g.player_score) + "   " + std::to_string(g.computer_score), 50);
    if (over) draw_centred(g.player_score > g.computer_score ? "YOU WIN" : "GAME OVER", 170);
    gout.set_text_scale(1);
    if (over) draw_centred("Enter: a new game", 220);
    gout << refresh;
}

}  // namespace

int main() {
    gout.open(width, height);
    game g;
    sounds noise;
    noise.hit.load("sounds/hit.wav");  // no sound where it cannot be read or heard: the game goes on
    noise.miss.load("sounds/miss.ogg");
    std::string title;
    gin.timer(20);
    event ev;
    while (gin.wait_event(ev)) {
        const bool over = g.player_score == 5 || g.computer_score == 5;
        if (over && ev.key == 13) g = game();  // 13 is Enter
        if (ev.ticks) {
            if (!over) move_everything(g, noise);
            draw(g, over);
        }
        const std::string score = "Pong " + std::to_string(g.player_score) + " : " + std::to_string(g.computer_score);
        if (score != title) gout.set_title(title = score);  // the title bar keeps the score too
    }
}
