// Sentences in Central European languages, drawn with the built-in font.
// The source is UTF-8, as every editor saves it; from_utf8 gives the font's
// byte for each letter.
#include "graphics.hpp"

using namespace kavex;

int main() {
    const char* const lines[] = {
        "Čeština:    Příliš žluťoučký kůň úpěl ďábelské ódy.",
        "Slovenčina: Kŕdeľ šťastných ďatľov učí pri ústí Váhu mĺkveho koňa.",
        "Polski:     Zażółć gęślą jaźń. Pchnąć w tę łódź jeża.",
        "Magyar:     Árvíztűrő tükörfúrógép. Öt szép szűz lány őrült írót nyúz.",
        "Slovenščina: Šerif bo za domačo vajo spet kuhal žgance.",
        "Hrvatski:   Đurđevak, čačkalica, ćevapi i žaba u šumi.",
        "Română:     Şi ţara îşi aşteaptă fiii în câmpie.",
        "Deutsch:    Größe, Übermaß und Äpfel für ihn.",
    };
    gout.open(600, 20 + 17 * 10);
    gout << use_color(16, 24, 48) << move_abs(0, 0) << box_rel(599, 20 + 17 * 10 - 1);
    gout << use_color(255, 255, 255) << move_abs(8, 30);
    for (const char* line : lines) gout.draw_text(from_utf8(line) + "\n");
    gout << use_color(255, 200, 60);
    gout.draw_text("\n" + from_utf8("0O 1lI  ĄąĆćĘęŁłŃńÓóŚśŹźŻż  ŐőŰű  ĎďŤťĽľĹĺŔŕŮů"));
    gout << refresh;

    event ev;
    while (gin) gin.wait_event(ev);
}
