#pragma once

// What only the text layer's own files share: the routines of one
// write_text call and the window they work in.

#include "gfx/text/text.h"

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
