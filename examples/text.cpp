// Sentences in Central European languages, drawn with the built-in font.
// The font is laid out by ISO 8859-2, so UTF-8 text is converted with iconv first.
#include "graphics.hpp"

#include <iconv.h>

#include <string>

using namespace kavex;

// UTF-8 to ISO 8859-2; a character the code page lacks becomes '?'.
std::string to_latin2(const std::string& utf8) {
    iconv_t cd = iconv_open("ISO-8859-2//TRANSLIT", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) return utf8;
    std::string out(utf8.size(), '\0');
    char* in = const_cast<char*>(utf8.data());
    char* put = out.data();
    std::size_t in_left = utf8.size(), out_left = out.size();
    while (in_left > 0 && iconv(cd, &in, &in_left, &put, &out_left) == static_cast<std::size_t>(-1)) {
        ++in, --in_left;  // skip what cannot be converted
        if (out_left > 0) *put++ = '?', --out_left;
    }
    iconv_close(cd);
    out.resize(out.size() - out_left);
    return out;
}

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
    for (const char* line : lines) gout.draw_text(to_latin2(line) + "\n");
    gout << use_color(255, 200, 60);
    gout.draw_text("\n" + to_latin2("0O 1lI  ĄąĆćĘęŁłŃńÓóŚśŹźŻż  ŐőŰű  ĎďŤťĽľĹĺŔŕŮů"));
    gout << refresh;

    event ev;
    while (gin) gin.wait_event(ev);
}
