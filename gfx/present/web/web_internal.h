#pragma once

// What only the Web driver's files share: the frame's conversion into the
// canvas copy and the key map from the page's names to scan codes.

#include <cstdint>
#include <string_view>

#include "gfx/present/present.h"

// The converter into the canvas's pixels (bytes red, green, blue, alpha);
// nullptr for a framebuffer depth that has none.
PixelConverter canvas_converter(int32_t depth);

// Finds what changed since the last presentation (every pixel with repaint),
// converts it through convert into rgba, a whole picture of width x (height x
// line_repeat) canvas pixels, makes it opaque and clears the marks. Leaves
// the converted rectangles, in canvas pixels, in canvas_rects (room for
// MAX_CHANGED_RECTS) and answers how many there are.
int32_t convert_changes(const PresentFrame& frame, PixelConverter convert, ShownPicture& shown,
                        uint8_t* rgba, bool repaint, PresentRect* canvas_rects);

// The page's key events in the terms of the key code translation: the
// browser names a key by its place on a US keyboard (KeyboardEvent.code) and
// says what it types (KeyboardEvent.key).

// Modifier flags as the page reports them with each key event.
constexpr int32_t PAGE_SHIFT = 0x01;
constexpr int32_t PAGE_CTRL = 0x02;
constexpr int32_t PAGE_ALT = 0x04;
constexpr int32_t PAGE_META = 0x08;
// Not a modifier: the event is an auto-repeat of a held key.
constexpr int32_t PAGE_REPEAT = 0x10;

// The set-1 scan code of a key, with 0x100 for a grey key (cursor block,
// keypad Enter and /, right Ctrl and Alt); 0 for a key the PC keyboard has not.
int32_t web_scan_code(std::string_view code);

// The character the key types without modifiers, 0 for none. key is what it
// typed with the modifiers held (shift says whether Shift was among them).
int32_t web_key_char(std::string_view code, std::string_view key, bool shift);

// Whether key is text that the key typed: one character, typed without Ctrl
// (unless with Alt too, as AltGr reports itself on some systems) and without
// the system key.
bool web_typed_text(std::string_view key, int32_t page_flags);

// The modifier bits of the key code translation; right_ctrl and right_alt say
// whether the right-hand keys are among those held.
int32_t web_modifiers(int32_t page_flags, bool right_ctrl, bool right_alt);
