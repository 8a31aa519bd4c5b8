// Shows every event record that gin delivers, one line each: press keys,
// move the mouse, click, and watch the ticks of a one-second timer. This is
// the way to learn the key codes. Close the window to quit (exit status 0).
//
// Each line is a kind, a colon, then the record's non-zero fields as
// name=value in the order of the record (a mouse move shows both positions,
// even when one is 0). Key codes are in decimal and then in hex; a key line
// ends with the key's constant (key_left, key_f1, key_lshift, ...) or, for a
// character, the character in single quotes (UTF-8), or a control
// character's name in angle brackets:
//
//   key press: key=32 (0x20) ' '
//   key press: key=97 (0x61) 'a'
//   key press: key=154 (0x9A) 'š'
//   key press: key=13 (0xD) <Return>
//   key press: key=65539 (0x10003) key_left
//   key release: key=-65539 (-0x10003) key_left
//   mouse move: mouse_x=120 mouse_y=45
//   button press: button=1 mouse_x=120 mouse_y=45
//   button release: button=-1 mouse_x=120 mouse_y=45
//   tick: ticks=3012
//   close
//
// "close" is the last line, printed when the window was closed. Character
// keys report their press only; the keys with constants report both.
#include "graphics.hpp"

#include <cstdio>
#include <cstdlib>
#include <string>

using namespace kavex;

namespace {

struct key_name {
    std::int32_t code;
    const char* name;
};

const key_name special_keys[] = {
    {key_up, "key_up"},         {key_down, "key_down"},         {key_right, "key_right"},
    {key_left, "key_left"},     {key_insert, "key_insert"},     {key_delete, "key_delete"},
    {key_home, "key_home"},     {key_end, "key_end"},           {key_pgup, "key_pgup"},
    {key_pgdn, "key_pgdn"},     {key_rshift, "key_rshift"},     {key_lshift, "key_lshift"},
    {key_lctrl, "key_lctrl"},   {key_rctrl, "key_rctrl"},       {key_lalt, "key_lalt"},
    {key_ralt, "key_ralt"},     {key_lsuper, "key_lsuper"},     {key_rsuper, "key_rsuper"},
    {key_menu, "key_menu"},     {key_numlock, "key_numlock"},   {key_capslock, "key_capslock"},
    {key_scrlock, "key_scrlock"},
};

const key_name control_characters[] = {
    {8, "<Backspace>"}, {9, "<Tab>"}, {13, "<Return>"}, {27, "<Escape>"}, {127, "<Delete>"},
};

std::string utf8(std::uint32_t code_point) {
    std::string out;
    if (code_point < 0x80) {
        out += static_cast<char>(code_point);
    } else if (code_point < 0x800) {
        out += static_cast<char>(0xC0 | code_point >> 6);
        out += static_cast<char>(0x80 | (code_point & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | code_point >> 12);
        out += static_cast<char>(0x80 | (code_point >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (code_point & 0x3F));
    }
    return out;
}

// Codes 0x80 to 0xFF are bytes of Windows code page 1250: its characters
// there, in UTF-8 ("" where that code page has none).
const char* const cp1250_upper[128] = {
    "€", "", "‚", "", "„", "…", "†", "‡", "", "‰", "Š", "‹", "Ś", "Ť", "Ž", "Ź",  // 8_
    "", "‘", "’", "“", "”", "•", "–", "—", "", "™", "š", "›", "ś", "ť", "ž", "ź",  // 9_
    "\u00A0", "ˇ", "˘", "Ł", "¤", "Ą", "¦", "§", "¨", "©", "Ş", "«", "¬", "\u00AD", "®", "Ż",  // A_
    "°", "±", "˛", "ł", "´", "µ", "¶", "·", "¸", "ą", "ş", "»", "Ľ", "˝", "ľ", "ż",  // B_
    "Ŕ", "Á", "Â", "Ă", "Ä", "Ĺ", "Ć", "Ç", "Č", "É", "Ę", "Ë", "Ě", "Í", "Î", "Ď",  // C_
    "Đ", "Ń", "Ň", "Ó", "Ô", "Ő", "Ö", "×", "Ř", "Ů", "Ú", "Ű", "Ü", "Ý", "Ţ", "ß",  // D_
    "ŕ", "á", "â", "ă", "ä", "ĺ", "ć", "ç", "č", "é", "ę", "ë", "ě", "í", "î", "ď",  // E_
    "đ", "ń", "ň", "ó", "ô", "ő", "ö", "÷", "ř", "ů", "ú", "ű", "ü", "ý", "ţ", "˙",  // F_
};

// What a user would call the key: its constant, its character, or nothing.
std::string describe_key(std::int32_t code) {
    for (const key_name& k : special_keys)
        if (k.code == code) return k.name;
    if (code >= key_f1 && code <= key_f15) return "key_f" + std::to_string(code - 0x20000);
    for (const key_name& k : control_characters)
        if (k.code == code) return k.name;
    if (code < 0x20) return "";
    const std::string character = code >= 0x80 && code <= 0xFF ? cp1250_upper[code - 0x80] : utf8(code);
    return character.empty() ? "" : "'" + character + "'";
}

void print_key(std::int32_t key) {
    const std::int32_t code = std::abs(key);
    std::printf("key %s: key=%d (%s0x%X)", key > 0 ? "press" : "release", key, key < 0 ? "-" : "", code);
    const std::string name = describe_key(code);
    if (!name.empty()) std::printf(" %s", name.c_str());
    std::printf("\n");
}

void print(const event& ev) {
    if (ev.key) {
        print_key(ev.key);
    } else if (ev.button) {
        std::printf("button %s: button=%d mouse_x=%d mouse_y=%d\n", ev.button > 0 ? "press" : "release", ev.button,
                    ev.mouse_x, ev.mouse_y);
    } else if (ev.ticks) {
        std::printf("tick: ticks=%d\n", ev.ticks);
    } else {
        // All the other fields are 0, so this is a mouse move, even to (0, 0).
        std::printf("mouse move: mouse_x=%d mouse_y=%d\n", ev.mouse_x, ev.mouse_y);
    }
    std::fflush(stdout);  // one line at a time, also into a pipe
}

}  // namespace

int main() {
    gout.open(320, 200);
    gout << use_color(20, 30, 60) << move_abs(0, 0) << box_abs(319, 199);
    gout << use_color(200, 200, 200) << move_abs(10, 10) << line_abs(309, 10) << line_abs(309, 189)
         << line_abs(10, 189) << line_abs(10, 10) << refresh;

    gin.timer(1000);
    event ev;
    while (gin.wait_event(ev)) print(ev);
    std::printf("close\n");
    std::fflush(stdout);
    return 0;
}
