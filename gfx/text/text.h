#pragma once

// Text on the character grid of the screen: the cursor, printing with the
// control characters, wrapping and scrolling within the text view, clearing.
// Each statement goes to its console hook: the graphics screen's routine
// while a screen is open, the minimal text console while none is.
//
// Usage:
//   #include "runtime/runtime.h"
//   gfx_locate(2, 5, 0);
//   gfx_print(0, string_temp("Hallo", 5), 1);
//   gfx_view_print(3, 20);  // text rows 3..20 scroll
//   gfx_cls(2);

#include <cstdint>

struct DrawContext;
struct ScreenContext;
struct StringDescriptor;

// ---------------------------------------------------------------------------
// Statement level. Each goes to the console hook of its operation: the
// graphics screen's routine while a screen is open, the text console while
// none is. The text console is minimal: clearing and locating change nothing,
// it reports an 80 x 25 grid with the cursor at row 1, column 1, and printing
// writes the bytes to standard output unchanged.
// ---------------------------------------------------------------------------

// Moves the text cursor to a 1-based row and column; 0 keeps that value.
// A position outside the text view or the grid moves nothing. The cursor
// argument (visible or hidden) has no meaning on the graphics screen.
// Answers the new position as (row << 8) | column, 1-based, one byte each.
int32_t gfx_locate(int32_t row, int32_t column, int32_t cursor);

// Prints a string on device 0 (the screen), followed by "\r\n" when flags
// has bit 0 or bit 2. A temporary string is released afterwards. Other
// devices belong to the file services and print nothing here.
void gfx_print(int32_t device, StringDescriptor* text, int32_t flags);

// Prints a signed integer as "% d": a blank before a value of 0 or more,
// a minus sign before a negative one; flags as for gfx_print.
void gfx_print_int(int32_t device, int32_t value, int32_t flags);

// Clears: 0 the whole screen, 1 the graphics view, 2 the text view;
// CLS_DEFAULT picks one as the screen's state suggests.
constexpr int32_t CLS_DEFAULT = static_cast<int32_t>(0xFFFF0000u);
void gfx_cls(int32_t mode);

// The text cursor, 1-based.
int32_t gfx_cursor_column();
int32_t gfx_cursor_row();

// The size of the text grid; either pointer may be null.
void gfx_text_size(int32_t* columns, int32_t* rows);

// ---------------------------------------------------------------------------
// Screen level: the graphics screen's routines behind the console hooks.
// ---------------------------------------------------------------------------

// Draws length bytes at the cursor with the drawing context's colours,
// interpreting 7 (bell), 8 (backspace), 9 (tab), 10 (line feed) and 13
// (carriage return). The bell is silent: the program has no tone output.
void write_text(const uint8_t* bytes, int32_t length, int32_t flags);

// The same for 16-bit units: a unit below 256 is its byte, any other is "?".
void write_text16(const uint16_t* units, int32_t length, int32_t flags);

void screen_cls(int32_t mode);
int32_t screen_locate(int32_t row, int32_t column, int32_t cursor);
int32_t screen_cursor_column();
int32_t screen_cursor_row();
// Both, packed as gfx_locate answers them.
int32_t screen_cursor_position();
void screen_text_size(int32_t* columns, int32_t* rows);

struct ScreenContext;

// First and last text row (0-based) in which printing, scrolling and clearing
// happen; -1 means not set (the grid's edge).
extern int32_t view_print_top;
extern int32_t view_print_bottom;

// Sets the text view to rows first..last, 1-based; 0 stands for the grid's
// edge and a negative value keeps the current row. An empty range or one
// outside the grid is refused with result 1 and changes nothing. After a
// change the cursor goes to column 1 of the first row. 0 on success.
int32_t gfx_view_print(int32_t first, int32_t last);

// The whole grid of the screen, with the cursor at row 1, column 1.
void text_view_whole_grid();

// Not set, as while no screen exists.
void text_view_unset();

// The part of a screen's text grid that text can use, and the text view in
// it, 0-based. The grid is cut to what the font lets fit in the framebuffer
// and the view to the grid, so that no stale view or odd mode can lead text
// outside either. An empty grid has rows = columns = 0 and bottom = -1.
struct TextGrid {
    int32_t columns;
    int32_t rows;
    int32_t top;
    int32_t bottom;
};
TextGrid text_grid(const ScreenContext& screen);
