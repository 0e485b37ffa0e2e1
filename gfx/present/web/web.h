#pragma once

// The Web window driver: the browser build shows the screen on a 2D canvas
// and takes the page's key events. The page calls the extern "C" entry points
// below; the program selects the driver through the driver list.
//
// Usage:
//   std::strcpy(web_key_fields(), "ArrowUp");       // the KeyboardEvent's code,
//   std::strcpy(web_key_fields() + 32, "ArrowUp");  // and its key
//   web_key_input(1, 0);                            // down, no modifiers
//   web_pointer(320, 240, 640, 480, 1, 1);  // the primary pointer pressed on the canvas

#include <cstdint>
#include <string_view>

#include "gfx/present/present.h"
#include "gfx/present/sound.h"

// Presents the screen on the page's canvas. A page has one thread, so there
// is no presentation thread: the program's pauses present (poll), and the
// page's key events arrive while the program pauses.
extern const WindowDriver web_driver;
// Plays the detector's tone through the page's Web Audio.
extern const SoundDriver web_sound_driver;

// The page's key and focus events on their way to the key buffer. The page
// has one thread, and these run only while the program pauses, so they reach
// the screen and the keys the way a presentation pass does, with nothing
// else in the middle of a drawing.

// A key went down (down = true, again for every auto-repeat) or up: its
// KeyboardEvent code and key and the PAGE_ modifier flags. Answers whether
// the key is the program's, so that the page should not also act on it
// (scroll, move the focus, find in the page).
bool web_key_event(bool down, std::string_view code, std::string_view key, int32_t page_flags);

struct PresentSource;
// The routines the driver's init was handed, through which keys and the
// picture reach the screen; empty ones before init.
void web_use_source(const PresentSource* source);
const PresentSource& web_source();

// What the page hands over: web_key_fields() is a block of two 32-byte texts,
// the code and then the key (UTF-8, zero-terminated), which the page fills
// before it calls web_key_input with down (0 or 1) and its flags; the answer
// is 1 when the page should not act on the key itself.
extern "C" {
// The page lost or gained the focus, or was hidden or shown: no key counts as
// held any longer, since its release may go to another window.
void web_focus_changed();
char* web_key_fields();
int32_t web_key_input(int32_t down, int32_t page_flags);

// The pointer (mouse, pen or finger) that the page follows: x, y from the
// canvas's top left corner in CSS pixels, the canvas's CSS width and height
// (it is scaled to the window), buttons 1 while it is pressed, inside 1
// while it is over the canvas or captured by it. A captured drag beyond the
// canvas counts as inside, at the nearest picture pixel; a press that ends
// before the program reads the mouse still reads as pressed once.
void web_pointer(double x, double y, double width, double height, int32_t buttons, int32_t inside);
}

// The mouse state of the screen's driver slot: the picture pixel under the
// pointer and its buttons; 1 and -1 in every field while the pointer is
// neither over the canvas nor captured by it.
int32_t web_read_mouse(int32_t* x, int32_t* y, int32_t* wheel, int32_t* buttons, int32_t* confined);

// The picture the pointer maps to, width x height pixels; 0 x 0 forgets the
// pointer (no screen).
void web_pointer_picture(int32_t width, int32_t height);

// The page around the program: its canvas and its key and focus events. In
// the browser build these are a few lines of the page's script; the tests
// put a recording page in their place.

// Sizes the canvas to width x height pixels and starts passing the page's
// key and focus events on (web_keys.h); false when the page has no canvas.
bool page_open(int32_t width, int32_t height);

// Puts the rectangles rects[0 .. count - 1] of rgba, the whole canvas's
// picture (width x height pixels, 4 bytes each), on the canvas.
void page_show(const uint8_t* rgba, int32_t width, int32_t height, const PresentRect* rects,
               int32_t count);

// The screen is gone: the page no longer passes keys on.
void page_close();

// The program single-steps (or runs again): the page's status line and
// title say so.
void page_single_step(bool stepping);

// What the picture shows, in words (UTF-8): the page's live region for
// screen readers says it.
void page_describe(const char* text);

// The program's keys are now the set named ("" the first): the page shows
// that set's buttons.
void page_show_keys(const char* name);
