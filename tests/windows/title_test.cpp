// A window's title on Windows, with letters outside the ANSI code page that
// Wine's Windows uses (1252): set before the window opens and again after,
// each read back with the wide call, which returns the text the window holds.
// Then it stays open, saying "shown", for title_test.sh to read the X server's
// window name too. Ends with status 1 and the text it found when they differ.
#include "graphics.hpp"

#include <SDL/SDL_syswm.h>
#include <windows.h>

#include <cstdio>
#include <string>

using namespace kavex;

namespace {

std::wstring window_text() {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWMInfo(&info) != 1) return L"(no window)";
    wchar_t text[256];
    return std::wstring(text, InternalGetWindowText(info.window, text, 256));
}

bool shows(const std::wstring& expected) {
    const std::wstring found = window_text();
    if (found == expected) return true;
    std::printf("the window's text is");
    for (wchar_t c : found) std::printf(" U+%04X", static_cast<unsigned>(c));
    std::printf(", not the title's\n");
    return false;
}

}  // namespace

int main() {
    gout.set_title("Skóre: ő ř");
    if (!gout.open(64, 64)) return 2;
    if (!shows(L"Sk\u00f3re: \u0151 \u0159")) return 1;
    gout.set_title("Pontszám: ű ł");
    if (!shows(L"Pontsz\u00e1m: \u0171 \u0142")) return 1;
    std::printf("shown\n");
    std::fflush(stdout);
    event ev;
    while (gin.wait_event(ev)) {}
}
