#pragma once

#include <cstdint>

#include "gfx/text/text_view.h"

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

// ---------------------------------------------------------------------------
// Inner routines of one write_text call.
// ---------------------------------------------------------------------------

// What the routines draw on, and the pixel rows they changed: first up to,
// not including, end (both 0 while nothing changed).
struct TextTarget {
    DrawContext* context;
    ScreenContext* screen;
    int32_t dirty_first;
    int32_t dirty_end;
};

struct TextWindow;
using ScrollRoutine = void (*)(TextWindow& window, int32_t left, int32_t top, int32_t right,
                               int32_t bottom, int32_t lines);
using GlyphRoutine = int32_t (*)(TextWindow& window, const uint8_t* bytes, int32_t count);

// The text view and working cursor of one call, 0-based. bottom = -1 turns
// scrolling off.
struct TextWindow {
    TextTarget* target;
    ScrollRoutine scroll;
    GlyphRoutine glyphs;
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
    int32_t column;
    int32_t row;
};

// The printable bytes are drawn in runs of at most this many.
constexpr int32_t TEXT_RUN_LIMIT = 1024;

// Sets up a call on the open screen: target, opaque writers, the screen lock
// and the window with the cursor (the deferred wrap carried out). False when
// there is nothing to draw on (no screen, or a grid without a single cell);
// then nothing is locked.
bool open_text_window(TextWindow& window, TextTarget& target);
// Parks the cursor or scrolls, stores the cursor, marks the changed rows
// and releases the lock if open_text_window took it.
void close_text_window(TextWindow& window);

void interpret_text(TextWindow& window, const uint8_t* bytes, int32_t length,
                    bool line_feed_to_left);
void emit_run(TextWindow& window, const uint8_t* bytes, int32_t count);

// Draws the glyphs at the working cursor and records them in the cells.
// Answers 1, or 0 (drawing nothing) for a piece that does not lie in the grid.
int32_t draw_glyphs(TextWindow& window, const uint8_t* bytes, int32_t count);

// Scrolls text rows top..bottom up by lines and leaves the working row at bottom.
void scroll_text(TextWindow& window, int32_t left, int32_t top, int32_t right, int32_t bottom,
                 int32_t lines);

// Sets the cells of columns first_column..end_column-1 of rows
// first_row..end_row-1 on a page, clipped to the grid.
void reset_cells(int32_t first_column, int32_t first_row, int32_t end_column, int32_t end_row,
                 int32_t page, uint32_t code, uint32_t foreground, uint32_t background);

// Widens the changed pixel rows of the call to include first..end-1.
void widen_dirty_rows(TextTarget& target, int32_t first, int32_t end);
