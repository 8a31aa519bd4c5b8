// kavex: a small graphics environment on SDL 1.2.
//
// One window (`gout`), drawing surfaces (`canvas`) with a pen and a colour,
// and one input source (`gin`) that delivers keys, mouse and timer ticks.
//
//   #include "graphics.hpp"
//   using namespace kavex;
//
//   int main() {
//       gout.open(400, 300);
//       gout << use_color(255, 200, 0) << move_abs(20, 20) << line_abs(380, 280)
//            << move_abs(50, 200) << box_rel(60, 40) << refresh;
//       event ev;
//       while (gin.wait_event(ev)) {}   // runs until the window is closed
//   }
//
// A game's tick, with keys held down, a ball, a picture from a file and big text:
//
//   if (gin.held('w')) y -= 3;                 // while W is down
//   gout << move_abs(x, y) << disc(8);         // a ball around (x, y)
//   canvas face; face.load("pictures/face.png");  gout.blitfrom(face, 10, 10);
//   gout.set_text_scale(4); gout.draw_text("GAME OVER");
//   sound hit; hit.load("sounds/hit.wav");  hit.play();   // or beep(440, 150)
//
// Coordinates are pixels, (0, 0) top left, y downwards. Colours are packed
// 0x00RRGGBB. Drawing is pen-relative: every drawing operation starts at the
// pen and leaves the pen where it stopped. A move that would leave the surface
// is refused, never clipped. Nothing here throws; failures are bool results.
//
// Build a program with `pkg-config --cflags --libs kavex`, or in CMake with
// find_package(kavex CONFIG REQUIRED) and the target kavex::kavex. Every name
// is in the reference, docs/api.md (installed in share/doc/kavex/docs).
//
// SDL starts before main; only when it cannot start at all (an unknown
// SDL_VIDEODRIVER, say) does the program end at once, with status 1 and no
// message. With no display SDL still starts: the classic library draws in the
// terminal as text, the one on SDL2 shows no window. Run such a program under
// `xvfb-run -a`, or with SDL_VIDEODRIVER=dummy where no picture is needed.
// Either SDL 1.2 runs it: the classic library or the one on SDL2
// (libsdl1.2-compat). A global of your own may be made from `gout` or `gin`
// (canvas& screen = gout;) in any file: both are bound before it.
//
// Set KAVEX_EXPLAIN=1 in the environment to have each kind of silent mistake
// (drawing before open, a move outside, a failed save, ...) explained once on
// standard error; a program compiled with KAVEX_EXPLAIN_BY_DEFAULT defined
// (as the editors' projects compile) explains unless KAVEX_EXPLAIN=0. The
// explanations speak English, Hungarian, Czech, Slovak or Polish: KAVEX_LANG
// (en, hu, cs, sk, pl), or else the system's language.
#pragma once

// A compiler that defaults to an older C++ (GCC before 11, as some editors
// bundle it) would otherwise stop at dozens of errors deep in this header.
#if (defined(_MSVC_LANG) ? _MSVC_LANG : __cplusplus) < 201703L
#error "kavex needs C++17: add -std=c++17 to the compiler's options (Code::Blocks: Project, Build options, Compiler flags; VS Code: args in .vscode/tasks.json)"
#else

#include <SDL/SDL.h>
// On Windows SDL's header renames main to SDL_main for its own WinMain; kavex
// programs keep their own main (and its implied return 0) everywhere.
#undef main

#include <cstdint>
#include <memory>
#include <string>

namespace kavex {

struct move_abs;

// A 32-bit image (red in bits 16-23, green 8-15, blue 0-7) with a pen and a
// drawing colour. Operations on a canvas without a usable surface do nothing.
class canvas {
public:
    std::int32_t pen_x;           // pen column; inside the surface while open
    std::int32_t pen_y;           // pen row
    SDL_Surface* surface;         // null while closed; never released by the library
    std::int32_t color;           // drawing colour, 0x00RRGGBB
    bool transparent;             // as a copy source, leave its black pixels out

    canvas();                     // closed, white, pen not set
    canvas(int width, int height);  // opened at that size, pen in the centre

    // Creates a new surface and puts the pen in its centre (rounded down),
    // even when the surface cannot be created. True if it was created; when
    // not, `surface` is null, even if an earlier open had succeeded. Through
    // a canvas& that refers to `gout`, it opens the window.
    bool open(unsigned int width, unsigned int height);

    // Low 8 bits of each argument: set_color(300, -1, 0) gives 0x2CFF00.
    void set_color(int red, int green, int blue);
    void set_transparent(bool on) { transparent = on; }

    // Moves the pen by (dx, dy) if the target lies inside; false otherwise.
    bool move_point(int dx, int dy);
    // Sets the pixel under the pen.
    void draw_dot();
    // The colour at (x, y) as 0x00RRGGBB; -1 outside the surface or without one.
    std::int32_t pixel(int x, int y) const;
    // Draws from the pen to pen + (dx, dy), both ends included; the pen
    // follows. A line that leaves the surface stops at its last pixel inside.
    void draw_line(int dx, int dy);
    // Fills the rectangle between the pen and pen + (dx, dy), both corners
    // included; the pen goes to the far corner. Draws nothing if it lies outside.
    void draw_box(int dx, int dy);
    // Fills the disc of radius r around the pen: the pixels (x, y) with
    // (x - pen_x)^2 + (y - pen_y)^2 <= r^2 + r, those whose centres lie
    // closer than r + 1/2, so that it looks round at every size. r = 0 is
    // the pixel under the pen; a negative r draws nothing. The pen stays,
    // and a disc reaching past an edge is cut there (also around a pen that
    // was written beside the surface by hand).
    void draw_disc(int r);
    // The outline of that disc: its pixels with a left, right, upper or
    // lower neighbour outside it. The pen stays; cut at the edges likewise.
    void draw_circle(int r);

    // Draws text in the built-in 8 x 17 font at the pen, in the drawing colour,
    // blending with what is there. Letters stand on the row above the pen (the
    // baseline, the glyph's row 12); each
    // character moves the pen 8 pixels right, and a newline starts a new line
    // 17 rows lower under the first character. Text that does not fit
    // vertically is not drawn; text reaching the right edge ends there.
    void draw_text(const std::string& text);
    // Width in pixels of the text's longest line: 8 per byte.
    int twidth(const std::string& text) const;
    int cascent() const;   // 13: rows of a glyph above the pen row
    int cdescent() const;  // 4: the pen row and the 3 rows below it
    // Text n times as large, n from 1 (the default) to 8 (others are taken
    // as the nearer of the two): each glyph pixel becomes an n x n block, and
    // the pen's steps, twidth, cascent, cdescent and the room text needs
    // above and below the pen all grow n times. Each canvas has its own.
    void set_text_scale(int n);

    // Copies the rectangle (sx, sy, w, h) of `source` to (dx, dy) here, clipped
    // to both surfaces; -1 for sx or sy means 0, for w or h the source's size.
    // A transparent source leaves out its black pixels when both rectangles
    // lie wholly inside their surfaces; any other copy copies black too.
    void blitfrom(const canvas& source, int sx, int sy, int w, int h, int dx, int dy);
    // Copies the whole of `source` with its top-left corner at (dx, dy).
    void blitfrom(const canvas& source, int dx, int dy);
    // Writes the picture to a 24-bit BMP file. True only when the whole file
    // was written; on failure an earlier file of that name stays as it was.
    // An existing file is replaced by a new one renamed over it, so its folder
    // must be writable, and a hard link to the old file keeps the old picture.
    bool save(const std::string& name) const;
    // Opens the canvas at the size of the picture in the file, holding the
    // picture, pen in the centre: BMP (every kind SDL reads, and what save
    // writes), PNG, JPEG, GIF and TGA. The name is UTF-8. A see-through
    // pixel becomes black, a partly see-through one its colour on black. False
    // when the file cannot be read, is no such picture, or is larger than a
    // canvas may be: then `surface` is null, as after a failed open, and the
    // pen is at the centre of the size the file claimed, or at (0, 0). Refused
    // (false, nothing changed) on the window, gout or a canvas& to it: load
    // into a canvas and copy that onto the window.
    bool load(const std::string& name);

    // Makes the drawing visible: a canvas that shares the window's surface (a
    // copy of `gout`) shows the window; any other has nothing to show.
    virtual void refresh();

private:
    bool pen_inside() const;
    bool move_to(std::uint32_t x, std::uint32_t y);
    void draw_dot_locked();
    void draw_clipped_line(int dx, int dy);
    int text_scale_ = 1;
    friend canvas& operator<<(canvas& c, const move_abs& cmd);
};

// The program's one window; reached through `gout`.
class groutput : public canvas {
public:
    static groutput& instance();

    // Sets a 32-bit video mode of that size; the pen goes to the centre
    // whatever the result. True if SDL gave a surface. When it fails,
    // `surface` is null (even after an earlier open succeeded) and drawing
    // and refresh do nothing: test it.
    bool open(unsigned width, unsigned height, bool fullscreen = false);
    // Puts the picture on the screen; the surface keeps it for the next frame.
    void refresh() override;
    // The window's title (UTF-8), before or after open; in a browser, the
    // page's. Until it is set, the title is the program's name.
    void set_title(const std::string& title);
    virtual ~groutput();

    // There is one window: a copy would shut SDL down when it goes.
    groutput(const groutput&) = delete;
    groutput(groutput&&) = delete;
    groutput& operator=(const groutput&) = delete;
    groutput& operator=(groutput&&) = delete;

private:
    groutput();
};

namespace detail {
bool explain_by_default();
#ifdef KAVEX_EXPLAIN_BY_DEFAULT
// Before the window below, so that its start already knows.
inline const bool explains_by_default = explain_by_default();
#endif
}  // namespace detail

// The window, ready before main. Defined here, in every file that includes
// this header, so it is bound before any global of that file: a global of
// your own may be made from it (canvas& screen = gout;) in any file.
inline groutput& gout = groutput::instance();

// ---------------------------------------------------------------------------
// Input: one record for every kind of input, from one blocking wait.
//
//   gin.timer(40);                  // a tick every 40 ms
//   event ev;
//   while (gin.wait_event(ev)) {    // false once the window is closed
//       if (ev.key == key_left) ...
//       if (ev.ticks) ...
//   }

// A field that the event does not carry is 0.
struct event {
    std::int32_t key;      // key code below: positive pressed, negated released
    std::int32_t mouse_x;  // pointer position in the window, for mouse moves
    std::int32_t mouse_y;  //   and buttons; never negative
    std::int32_t button;   // 1 left, 2 middle, 3 right, 4/5 wheel; negated released
    std::int32_t ticks;    // a timer tick: SDL's milliseconds when it fired
};

// The program's one input source; reached through `gin`.
class grinput {
public:
    bool quit;  // the window was closed, Ctrl-C was pressed, or waiting failed; stays set

    static grinput& instance();

    // Blocks until the next key, mouse or tick event and fills the record.
    // Once `quit` is set it returns at once with an all-zero record.
    grinput& wait_event(event& ev);
    // A tick every `period` ms, replacing the running timer; 0 or less stops it.
    // When the program falls behind, at most two ticks wait and later ones
    // are dropped, so keys, the mouse and the close request always get through.
    void timer(int period);

    // True while the key that reported `key` (a key code below, or a typed
    // character) is held down: from the wait_event that reported its press
    // until the key goes up, even where the release is not reported (a
    // letter's). A letter matches either case: while W is down, held('w')
    // and held('W') are both true, with Shift or without. Every key counts
    // as let go when the window loses the keyboard or is closed. False for
    // 0 and negative keys.
    bool held(int key) const;
    // A key held down for `delay` ms reports its press again every
    // `interval` ms (a held Backspace keeps erasing). Keys do not repeat
    // until this is called; 0 or less in either switches repeating off.
    void key_repeat(int delay, int interval);

    // True while the window is open: `while (gin.wait_event(ev))`.
    operator const void*() const { return quit ? nullptr : this; }

    // There is one input source: take it by reference, never copy it.
    grinput(const grinput&) = delete;
    grinput(grinput&&) = delete;
    grinput& operator=(const grinput&) = delete;
    grinput& operator=(grinput&&) = delete;

private:
    grinput();
};

// The input source, bound right after the window, before any global of a
// file that includes this header.
inline grinput& gin = grinput::instance();

// Key codes in event::key. A typed character is its byte in Windows code
// page 1250 where that code page holds it (space 32, 'a' 97, s with caron
// 0x9A, euro sign 0x80), otherwise its Unicode value; keys that type no
// character have the codes below. A key with no code (the release of a
// letter key, for one) is not reported: ask gin.held instead. A key held
// down reports its press once, unless gin.key_repeat says otherwise.
constexpr std::int32_t key_up = 0x10000;
constexpr std::int32_t key_down = 0x10001;
constexpr std::int32_t key_right = 0x10002;
constexpr std::int32_t key_left = 0x10003;
constexpr std::int32_t key_insert = 0x10004;
constexpr std::int32_t key_delete = 0x10005;
constexpr std::int32_t key_home = 0x10006;
constexpr std::int32_t key_end = 0x10007;
constexpr std::int32_t key_pgup = 0x10008;     // Page Up
constexpr std::int32_t key_pgdn = 0x10009;     // Page Down
constexpr std::int32_t key_rshift = 0x1000A;   // right Shift: the lower code of the pair
constexpr std::int32_t key_lshift = 0x1000B;
constexpr std::int32_t key_lctrl = 0x1000C;    // left Ctrl and Alt: the lower codes
constexpr std::int32_t key_rctrl = 0x1000D;
constexpr std::int32_t key_lalt = 0x1000E;
constexpr std::int32_t key_ralt = 0x1000F;
constexpr std::int32_t key_lsuper = 0x10010;   // the "Windows" keys
constexpr std::int32_t key_rsuper = 0x10011;
constexpr std::int32_t key_menu = 0x10012;
constexpr std::int32_t key_numlock = 0x10013;
constexpr std::int32_t key_capslock = 0x10014;
constexpr std::int32_t key_scrlock = 0x10015;  // Scroll Lock
// Function key Fn is 0x20000 + n.
constexpr std::int32_t key_f1 = 0x20001;
constexpr std::int32_t key_f2 = 0x20002;
constexpr std::int32_t key_f3 = 0x20003;
constexpr std::int32_t key_f4 = 0x20004;
constexpr std::int32_t key_f5 = 0x20005;
constexpr std::int32_t key_f6 = 0x20006;
constexpr std::int32_t key_f7 = 0x20007;
constexpr std::int32_t key_f8 = 0x20008;
constexpr std::int32_t key_f9 = 0x20009;
constexpr std::int32_t key_f10 = 0x2000A;
constexpr std::int32_t key_f11 = 0x2000B;
constexpr std::int32_t key_f12 = 0x2000C;
constexpr std::int32_t key_f13 = 0x2000D;
constexpr std::int32_t key_f14 = 0x2000E;
constexpr std::int32_t key_f15 = 0x2000F;

// ---------------------------------------------------------------------------
// Text in your own language. The font draws one byte per character, laid out
// as ISO 8859-2 (the Central European letters); these give those bytes.
//
//   gout.draw_text(from_utf8("Příliš žluťoučký kůň"));   // a string in your source
//   if (char c = font_char(ev.key)) typed += c;          // a typed character
//
// from_utf8: the same text in the font's bytes; a character the font lacks,
// and anything that is not UTF-8, becomes one '?'.
std::string from_utf8(const std::string& text);
// font_char: the font's byte for a key code that types a character ('?' if
// the font lacks it); 0 for a key that types none (arrows, Backspace, Enter,
// Escape, releases, 0).
char font_char(int key);

// ---------------------------------------------------------------------------
// Sound: files and tones, several at once, from the first sound on.
//
//   sound hit;
//   hit.load("sounds/hit.wav");   // WAV or OGG, once, before the game starts
//   hit.play();                   // at each hit; it may overlap itself
//   beep(440, 150);               // a tone: 440 Hz for 150 ms
//
// Nothing waits: a sound plays while the program goes on. The output starts
// at the first load, play or beep (a program without sound never starts it)
// and ends with the program. Where nothing can sound (no sound device, a
// replayed run, a page before its first click or key), play, loop and beep
// return false and the program goes on in silence; KAVEX_EXPLAIN says why.
// Up to 32 sounds play at once, added up; a stopped one fades out in 6 ms,
// so that it ends without a click.

namespace detail {
struct sound_clip;
}

class sound {
public:
    sound();                          // holds nothing
    sound(const sound& other);        // the same sound, played and stopped on its own
    sound& operator=(const sound& other);
    ~sound();                         // stops it

    // Reads a sound file (the name is UTF-8): a WAV file of PCM samples (8,
    // 16, 24 or 32 bits, or 32-bit float) or an OGG Vorbis file, any rate,
    // mono or stereo, up to 5 minutes. False when the file cannot be read or
    // is no such sound: then the sound holds nothing. Stops what it played.
    bool load(const std::string& name);
    // Plays it from its beginning, once; true when it sounds. Playing it
    // again while it sounds starts it once more, over itself.
    bool play();
    // Plays it from its beginning over and over, until stop().
    bool loop();
    // Stops every play of it.
    void stop();
    // True while a play of it sounds.
    bool playing() const;
    // Its loudness, 0 to 100 (the default, as recorded), also of its plays
    // under way.
    void set_volume(int percent);

private:
    std::shared_ptr<const detail::sound_clip> clip_;
    unsigned id_;
    int volume_ = 100;
    bool start(bool repeat, const char* call);
};

// Plays a tone of `hz` (20 to 20000) for `ms` milliseconds (1 to 10000): a
// sine, faded in and out over 5 ms. beep(262, 300) is the middle C. False,
// and no sound, outside those ranges or where nothing can sound.
bool beep(int hz, int ms);
// The loudness of every sound, 0 (silent) to 100 (the default).
void set_volume(int percent);

// ---------------------------------------------------------------------------
// Drawing command stream: gout << move_abs(x, y) << line_abs(x2, y2) << refresh;
//
// Positions are absolute; each command reads the pen when it is applied, so
// in `c << a << b` the pen that `b` finds is the one `a` left. Numbers may be
// ints or doubles: a double is truncated toward zero when the command is
// made (3.9 gives 3, -2.7 gives -2), and target minus pen wraps at 32 bits.
// A double that no 64-bit integer holds (NaN, infinities, 1e300) goes
// nowhere: a move to it is refused, a line or box towards it draws nothing.

struct use_color {   // set_color(r, g, b)
    std::int32_t r, g, b;
    template <class R, class G, class B>
    use_color(R red, G green, B blue);
};

struct move_abs {    // move_point to (x, y); refused if (x, y) lies outside
    std::uint32_t x, y;
    template <class X, class Y>
    move_abs(X x, Y y);
};

struct line_abs {    // draw_line from the pen to (x, y)
    std::uint32_t x, y;
    template <class X, class Y>
    line_abs(X x, Y y);

private:
    bool nowhere_;   // made from a double that no integer holds
    friend canvas& operator<<(canvas& c, const line_abs& cmd);
};

struct box_abs {     // draw_box from the pen to the corner (x, y)
    std::uint32_t x, y;
    template <class X, class Y>
    box_abs(X x, Y y);
};

struct box_rel {     // draw_box(w, h)
    std::int32_t w, h;
    template <class W, class H>
    box_rel(W w, H h);
};

// A radius is truncated and wraps as any number above; one that no integer
// holds becomes a negative radius, and so draws nothing.
struct disc {        // draw_disc(r) around the pen
    std::int32_t r;
    template <class R>
    explicit disc(R r);
};

struct circle {      // draw_circle(r) around the pen
    std::int32_t r;
    template <class R>
    explicit circle(R r);
};

// Each applies its command to `c` and returns `c`, so insertions chain.
canvas& operator<<(canvas& c, const use_color& cmd);
canvas& operator<<(canvas& c, const move_abs& cmd);
canvas& operator<<(canvas& c, const line_abs& cmd);
canvas& operator<<(canvas& c, const box_abs& cmd);
canvas& operator<<(canvas& c, const box_rel& cmd);
canvas& operator<<(canvas& c, const disc& cmd);
canvas& operator<<(canvas& c, const circle& cmd);

// Manipulators: gout << move_abs(x, y) << dot << refresh;
void dot(canvas& c);      // draw_dot()
void refresh(canvas& c);  // c.refresh(): shows the window, nothing for other canvases
canvas& operator<<(canvas& c, void (*manipulator)(canvas&));

}  // namespace kavex

// What follows is the library's inline machinery, not part of its interface.
#include "graphics_inline.hpp"

#endif  // C++17
