#pragma once

// The graphics services: choosing a screen, which builds the screen record,
// opens a window driver and wires the console to the screen's own routines.
// A program includes this header to open a screen, and the public headers of
// the layers for what it does on it: drawing, text, keys.
//
// Usage:
//   #include "gfx/draw/draw.h"
//   #include "gfx/input/input.h"
//   if (gfx_screen(12, 8, 0, 0, 0) != 0) return 1;  // 640 x 480, 16 colours, a window
//   gfx_line(nullptr, 0, 0, 639, 479, 15, LINE_PLAIN, STYLE_SOLID, 0);
//   std::string key = gfx_inkey();
//   gfx_screen(0, 0, 0, 0, 0);  // back to the text console

#include <string>

#include "gfx/screen/screen.h"

// Selects numbered mode 0..21 (0: back to the text console). 0 on success, 1 on failure.
int32_t gfx_screen(int32_t mode, int32_t depth, int32_t pages, int32_t flags, int32_t refresh_rate);

// The same for a screen of any size.
int32_t gfx_screen_size(int32_t width, int32_t height, int32_t depth, int32_t pages, int32_t flags,
                        int32_t refresh_rate);

struct PresentSource;
// The routines the window driver reaches the screen and the keys through, as
// its init is handed them; for tests that drive a driver's key path directly.
const PresentSource* gfx_present_source();

// Why the last gfx_screen found no window driver to show the screen, in a
// few words for a message ("" after a success).
const char* gfx_window_failure();

// The program's picture is whole (a frame drawn, its key not yet handled):
// the rows drawn since the last call, and the palette, become what the window
// shows, and the page shows them now. A program that calls this is shown only
// at these points from its first call on, so the window never shows a figure
// erased and not yet drawn again; one that never calls it is shown as it
// draws. Nothing happens without a screen.
void gfx_present_point();

// Gives the screen's window a new title (UTF-8). Nothing happens without a
// window or where its driver keeps no title (the page).
void gfx_set_title(const char* title);

// Tells the window that the program waits for a key before each frame
// (stepping) or runs again; the page's status line says so. Nothing happens
// without a window or where its driver has no place to say it.
void gfx_show_single_step(bool stepping);

// Whether the screen's window carries a text alternative of the picture
// (the page's live region for screen readers), and the words it carries
// from now on (UTF-8). Nothing happens without a window that has one, so a
// program asks before it composes the words.
bool gfx_describes();
void gfx_describe(const char* text);

// The set of keys the program answers to from now on, by name ("" the
// first), for a window that offers buttons for its keys (the page); nothing
// happens without one.
void gfx_show_key_set(const char* name);

struct SoundDriver;
// The detector's tone (gfx/present/sound.h), through the sound device of the
// window's kind, or through the program's own driver once it chose one
// (nullptr: the window's again). Open answers nullptr when the tone plays,
// else why not; frame hands over a frame's amplitude (0..1) and tick;
// playing is false once the device is lost or none is open. Nothing needs a
// screen: the tone plays on while screens change.
const char* gfx_sound_open();
void gfx_sound_frame(float amplitude, bool tick);
bool gfx_sound_playing();
void gfx_sound_close();
void gfx_use_sound_driver(const SoundDriver* driver);

// The tone recorded instead of played (the snapshot tool's sound file): from
// gfx_record_tone on, each call of gfx_recorded_tone_frame writes the next
// frame period of it, GFX_TONE_FRAME_SAMPLES samples of 16 bits at
// GFX_TONE_RATE, mono; silence while the tone is off.
constexpr int32_t GFX_TONE_RATE = 48000;
constexpr int32_t GFX_TONE_FRAME_SAMPLES = GFX_TONE_RATE / 20;
void gfx_record_tone();
void gfx_recorded_tone_frame(int16_t* samples);

// The title the window opened with: the program's name.
const std::string& gfx_window_title();

// The at-exit handler: tears a remaining screen down.
void screen_exit_handler();

// Puts the whole graphics state back as a fresh process has it: no screen
// (its window closed), empty console hooks, no text view, an empty key
// buffer, the palette registers at rest, a fresh drawing context and no
// window failure on record, the tone closed and the window's kind of sound
// device chosen again. For test fixtures.
void gfx_reset();
