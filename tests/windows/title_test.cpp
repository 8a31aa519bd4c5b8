// A window's title on Windows, with letters outside the ANSI code page of
// Wine's Windows (1252), set before the window opens and again after; each is
// read back with the wide call, which returns the text the window holds. Ends
// with status 1 and that text where it differs.
#include "graphics.hpp"

#include <SDL/SDL_syswm.h>
#include <windows.h>

#include <cstdio>

using namespace kavex;

bool shows(const char* title, const std::wstring& expected) {
    gout.set_title(title);
    gout.open(64, 64);
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    wchar_t text[256] = L"";
    if (SDL_GetWMInfo(&info) == 1) InternalGetWindowText(info.window, text, 256);
    if (text == expected) return true;
    std::printf("the window's text is");
    for (const wchar_t* c = text; *c; ++c) std::printf(" U+%04X", static_cast<unsigned>(*c));
    std::printf(", not the title's\n");
    return false;
}

int main() {
    return shows("Skóre: ő ř", L"Sk\u00f3re: \u0151 \u0159") && shows("Pontszám: ű ł", L"Pontsz\u00e1m: \u0171 \u0142") ? 0 : 1;
}
