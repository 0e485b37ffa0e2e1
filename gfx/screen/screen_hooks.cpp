#include "gfx/input/key_buffer.h"
#include "gfx/screen/console_hooks.h"
#include "gfx/screen/palette.h"
#include "gfx/screen/screen.h"
#include "gfx/text/text.h"

namespace {

// The graphics screen keeps no text view of its own to adjust.
void view_changed() {}

// Output of a graphics screen always goes to its window.
int32_t not_redirected() {
    return 0;
}

}  // namespace

// The graphics screen's routines, slot by slot. Empty slots are services this
// screen does not offer yet; their operations then answer as without a screen.
const ConsoleHooks screen_console_hooks = {
    screen_inkey,            // 0 take a key as text
    screen_getkey,           // 1 wait for a key
    screen_key_hit,          // 2 is a key waiting
    screen_cls,              // 3 clear
    nullptr,                 // 4 text colours
    screen_locate,           // 5 set cursor
    nullptr,                 // 6 text grid and font
    screen_cursor_column,    // 7 cursor column
    screen_cursor_row,       // 8 cursor row
    screen_cursor_position,  // 9 cursor position
    screen_text_size,        // 10 text grid size
    write_text,              // 11 write 8-bit text
    write_text16,            // 12 write 16-bit text
    nullptr,                 // 13 read an edited line
    screen_multikey,         // 14 is a key held
    nullptr,                 // 15 read the mouse
    nullptr,                 // 16 set the mouse
    palette_port_in,         // 17 port input
    palette_port_out,        // 18 port output
    view_changed,            // 19 text view changed
    nullptr,                 // 20 line input
    nullptr,                 // 21 line input, 16-bit
    nullptr,                 // 22 read a text cell
    screen_sleep,            // 23 pause
    not_redirected,          // 24 is output redirected
    gfx_copy_page,           // 25 copy a page
    gfx_set_pages,           // 26 choose work and visible page
};
