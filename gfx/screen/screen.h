#pragma once

// The screen record: the floor every graphics layer stands on. It holds the
// one ScreenContext (pages, palettes, font, marked rows, key states), the
// numbered modes, the screen lock, the palette services, the console hook
// table, the built-in fonts and palettes and their decoder. It calls no layer
// above it; a window driver reaches it only through the composition.
//
// Usage:
//   if (ScreenContext* screen = active_screen()) {  // nullptr while none exists
//       screen_lock(*screen);                      // around one operation
//       screen->framebuffer[0] = 15;               // then mark the rows written
//       mark_rows(*screen, 0, 0);
//       screen_unlock(*screen);
//   }
//
// The builders at the end (mode_shape, create_screen, ...) are the
// composition's part: only gfx/services.cpp calls them.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "gfx/present/present.h"

// A default palette: count RGB byte triples (red, green, blue).
struct PaletteSpec {
    int32_t count;
    const uint8_t* rgb;
};

// A bitmap font: 256 glyphs in character-code order, height bytes per glyph,
// one byte per pixel row from the top, bit 0 the leftmost pixel.
struct FontSpec {
    int32_t width;
    int32_t height;
    const uint8_t* glyphs;
};

// The built-in palettes and fonts. Their data pointers are valid once the
// runtime data has been expanded (the first screen does that).
extern PaletteSpec palette_2;
extern PaletteSpec palette_16;
extern PaletteSpec palette_64;
extern PaletteSpec palette_256;
extern FontSpec font_8x8;
extern FontSpec font_8x14;
extern FontSpec font_8x16;

struct WindowDriver;

// One character cell of the text grid.
struct TextCell {
    uint32_t code;  // character code in the low 16 bits
    uint32_t foreground;
    uint32_t background;
};

// screen_flags bits.
constexpr uint32_t SCREEN_LOCKED = 1u << 0;
constexpr uint32_t SCREEN_LOCK_OWNED = 1u << 1;
constexpr uint32_t SCREEN_PENDING_WRAP = 1u << 2;
constexpr uint32_t SCREEN_ALPHA = 1u << 3;
constexpr uint32_t SCREEN_MMX = 1u << 24;
constexpr uint32_t SCREEN_OPENGL = 1u << 29;

constexpr int32_t KEY_STATE_COUNT = 128;

// The picture as it stood at the program's last present point: what the
// window shows once a program has one, so that the window never shows the
// middle of a frame (a figure erased and not yet drawn again). Its rows and
// marks are the framebuffer's shape; read and written under the screen lock.
struct PresentedPicture {
    std::unique_ptr<uint8_t[]> pixels;      // height x pitch
    std::unique_ptr<uint8_t[]> dirty_rows;  // height x line_repeat; 1 = taken since shown
    uint32_t palette[256] = {};             // 0x00BBGGRR, as the window was given it
    bool rows_marked = false;               // since the driver's last unlock, which hears of it
};

// A rectangle of changed pixels, its rows and columns inclusive. Figures at
// most NARROW_COLUMNS wide are kept as one, up to NARROW_RECT_CAPACITY of
// them between two present points; others mark their rows whole.
struct MarkedRect {
    int32_t top = 0;
    int32_t bottom = 0;
    int32_t left = 0;
    int32_t right = 0;
};
constexpr int32_t NARROW_COLUMNS = 16;
constexpr int32_t NARROW_RECT_CAPACITY = 64;

// The one graphics screen. Buffers are owned by the record and go with it.
struct ScreenContext {
    int32_t screen_id = 0;
    int32_t mode_number = 0;  // 1..21, or -1 for a screen of free size
    std::vector<std::unique_ptr<uint8_t[]>> page_buffers;
    int32_t page_count = 0;
    int32_t visible_page = 0;
    uint8_t* framebuffer = nullptr;  // always page_buffers[visible_page]
    int32_t width = 0;
    int32_t height = 0;
    int32_t depth = 0;
    int32_t bytes_per_pixel = 0;
    int32_t pitch = 0;
    std::unique_ptr<uint32_t[]> master_palette;  // 256 x 0x00BBGGRR
    std::unique_ptr<uint32_t[]> palette;         // 256 x 0x00BBGGRR
    std::unique_ptr<uint8_t[]> colour_map;       // 16
    std::unique_ptr<uint8_t[]> dirty_rows;       // height x line_repeat
    // What the next present point copies (the marked rows above are the
    // window's before the first one): whole rows, and the rectangles of
    // narrow figures, such as a tall line, which copy their columns alone.
    std::unique_ptr<uint8_t[]> wide_rows;        // height; 1 = copy the row whole
    std::unique_ptr<MarkedRect[]> narrow_rects;  // NARROW_RECT_CAPACITY
    int32_t narrow_rect_count = 0;
    bool rows_marked = false;                   // since the driver's last unlock, which hears of it
    const WindowDriver* driver = &null_driver;  // never nullptr: the Null driver until one opens
    uint32_t colour_mask = 0;
    const PaletteSpec* default_palette = nullptr;
    int32_t line_repeat = 1;
    int32_t text_column = 0;
    int32_t text_row = 0;
    const FontSpec* font = nullptr;
    int32_t text_columns = 0;
    int32_t text_rows = 0;
    std::unique_ptr<uint8_t[]> key_states;  // 128
    int32_t refresh_rate = 0;
    std::vector<std::unique_ptr<TextCell[]>> text_cells;  // per page
    uint32_t screen_flags = 0;
    // Two 256-entry tables turning 16-bit pixels into 32-bit ones:
    // low[v & 0xFF] | high[v >> 8].
    std::unique_ptr<uint32_t[]> conversion_table;  // 512 entries, 2048 bytes
    // nullptr until the program's first present point: until then the window
    // shows the framebuffer's marked rows as they are drawn.
    std::unique_ptr<PresentedPicture> presented;
};

// The current screen, or nullptr while none exists.
ScreenContext* active_screen();

// The screen lock around one operation: takes the driver's lock unless the
// screen is already locked, and only the taker releases it.
void screen_lock(ScreenContext& screen);
void screen_unlock(ScreenContext& screen);

// Marks columns first_column..last_column of framebuffer rows
// first_row..last_row (clamped to the screen) as changed. Inline, as every
// primitive ends with it. A narrow figure keeps its rectangle, so that a
// present point copies the detector's tall line and the barrier, and not
// the rows they cross.
inline void mark_columns(ScreenContext& screen, int64_t first_row, int64_t last_row,
                         int64_t first_column, int64_t last_column) {
    first_row = std::max<int64_t>(first_row, 0);
    last_row = std::min<int64_t>(last_row, screen.height - 1);
    first_column = std::max<int64_t>(first_column, 0);
    last_column = std::min<int64_t>(last_column, screen.width - 1);
    if (first_row > last_row || first_column > last_column) return;
    const auto rows = static_cast<size_t>(last_row - first_row + 1);
    std::memset(screen.dirty_rows.get() + first_row, 1, rows);
    screen.rows_marked = true;
    if (last_column - first_column < NARROW_COLUMNS &&
        screen.narrow_rect_count < NARROW_RECT_CAPACITY) {
        screen.narrow_rects[screen.narrow_rect_count++] = {
            .top = static_cast<int32_t>(first_row),
            .bottom = static_cast<int32_t>(last_row),
            .left = static_cast<int32_t>(first_column),
            .right = static_cast<int32_t>(last_column),
        };
        return;
    }
    std::memset(screen.wide_rows.get() + first_row, 1, rows);
}

// Marks framebuffer rows first..last (clamped to the screen) as changed,
// every column of them.
inline void mark_rows(ScreenContext& screen, int64_t first, int64_t last) {
    mark_columns(screen, first, last, 0, screen.width - 1);
}

// A present point: the rows marked since the last one, and the palette, are
// copied into the presented picture, which from the first call on is what
// the window shows (the first call copies everything and makes the copy: the
// only allocation). The driver hears of a palette change here, not when it
// happens. Takes the screen lock once, for the copy alone.
void take_present_point(ScreenContext& screen);

// Whether the driver has something new to show since its last unlock, and
// forgets it: the presented picture's news once there is one, the marked
// rows' before. For the lock's release.
inline bool take_news(ScreenContext& screen) {
    bool& news = screen.presented ? screen.presented->rows_marked : screen.rows_marked;
    return std::exchange(news, false);
}

// Whether a drawing target whose rows start at first_row is the page the
// window shows: only its rows are marked, never those of another page or of
// an image block.
inline bool is_presented_page(const ScreenContext& screen, const uint8_t* first_row) {
    return first_row != nullptr && first_row == screen.framebuffer;
}

// Flags argument of gfx_screen / gfx_screen_size.
constexpr int32_t SCREEN_FLAG_FULLSCREEN = WINDOW_FULLSCREEN;
constexpr int32_t SCREEN_FLAG_OPENGL = WINDOW_OPENGL;
constexpr int32_t SCREEN_FLAG_NO_MAXIMISE = WINDOW_NO_MAXIMISE;
constexpr int32_t SCREEN_FLAG_BORDERLESS = WINDOW_BORDERLESS;
constexpr int32_t SCREEN_FLAG_COLOUR_KEY = WINDOW_COLOUR_KEY;
constexpr int32_t SCREEN_FLAG_ON_TOP = WINDOW_ON_TOP;
constexpr int32_t SCREEN_FLAG_ALPHA = WINDOW_ALPHA;
constexpr int32_t SCREEN_FLAG_NULL_DRIVER = WINDOW_NONE;
constexpr int32_t SCREEN_FLAG_TEARDOWN = INT32_MIN;  // 0x80000000: exit handler only

// Holds the lock across many operations; every operation in between keeps it.
void gfx_lock();
void gfx_unlock();

// The routines through which the console's text and key operations run. All
// slots are empty while no graphics screen exists (the text console answers);
// a new screen fills them with its own routines and tearing it down empties
// them again. A slot the screen does not serve stays empty.
struct ConsoleHooks {
    std::string (*inkey)() = nullptr;                                                      // 0
    int32_t (*getkey)() = nullptr;                                                         // 1
    int32_t (*key_hit)() = nullptr;                                                        // 2
    void (*cls)(int32_t mode) = nullptr;                                                   // 3
    void (*set_text_colours)(uint32_t foreground, uint32_t background) = nullptr;          // 4
    int32_t (*locate)(int32_t row, int32_t column, int32_t cursor) = nullptr;              // 5
    int32_t (*set_text_grid)(int32_t columns, int32_t rows) = nullptr;                     // 6
    int32_t (*cursor_column)() = nullptr;                                                  // 7
    int32_t (*cursor_row)() = nullptr;                                                     // 8
    int32_t (*cursor_position)() = nullptr;                                                // 9
    void (*text_size)(int32_t* columns, int32_t* rows) = nullptr;                          // 10
    void (*write_text)(const uint8_t* bytes, int32_t length, int32_t flags) = nullptr;     // 11
    void (*write_text16)(const uint16_t* units, int32_t length, int32_t flags) = nullptr;  // 12
    std::string (*read_line)() = nullptr;                                                  // 13
    int32_t (*multikey)(int32_t scan) = nullptr;                                           // 14
    int32_t (*get_mouse)(int32_t* x, int32_t* y, int32_t* wheel, int32_t* buttons,
                         int32_t* confined) = nullptr;  // 15
    int32_t (*set_mouse)(int32_t x, int32_t y, int32_t visibility,
                         int32_t confinement) = nullptr;                               // 16
    int32_t (*port_in)(int32_t port) = nullptr;                                        // 17
    void (*port_out)(int32_t port, int32_t value) = nullptr;                           // 18
    void (*view_changed)() = nullptr;                                                  // 19
    std::string (*line_input)(const uint8_t* prompt, int32_t length) = nullptr;        // 20
    std::u16string (*line_input16)(const uint16_t* prompt, int32_t length) = nullptr;  // 21
    int32_t (*read_cell)(int32_t row, int32_t column, int32_t colours) = nullptr;      // 22
    void (*pause)(int32_t ms) = nullptr;                                               // 23
    int32_t (*is_redirected)() = nullptr;                                              // 24
    int32_t (*copy_page)(int32_t source, int32_t destination) = nullptr;               // 25
    int32_t (*set_pages)(int32_t work, int32_t visible) = nullptr;                     // 26
};

constexpr int32_t CONSOLE_HOOK_COUNT = 27;
static_assert(sizeof(ConsoleHooks) == CONSOLE_HOOK_COUNT * sizeof(void (*)()));

// The process-wide slots.
extern ConsoleHooks console_hooks;

// Fills every slot from a screen's table (the pause slot also becomes the
// routine sleep_ms hands over to), or empties them all again.
void install_console_hooks(const ConsoleHooks& hooks);
void empty_console_hooks();

// Loads the mode's default colours; for mode 1 a negative index chooses the
// four-colour set -index - 1.
void reset_palette(int32_t index);

// Sets one attribute: 6-bit components 0x00BBGGRR with the 256-colour
// default palette, else a number of a default-palette entry.
void set_palette_entry(int32_t index, uint32_t colour);

// index >= 0 sets one attribute, index < 0 reloads the defaults; with green
// and blue >= 0, colour is the red component of 0..255 values.
void gfx_palette(int32_t index, int32_t colour, int32_t green, int32_t blue);

// The palette registers and the retrace status as I/O ports.
int32_t palette_port_in(int32_t port);
void palette_port_out(int32_t port, int32_t value);

// Puts the palette registers back at rest (entry 0, red next), as in a fresh
// process; they are process-wide and outlive screens.
void palette_port_reset();

// The compressed form of the built-in fonts and palettes: 12-bit codes, two
// packed into three bytes little-endian (b0 | (b1 & 0x0F) << 8, then
// b1 >> 4 | b2 << 4). Codes below 256 are literal bytes, 256..4094 are
// dictionary entries (never cleared), 4095 ends the data. A stream with an
// odd number of codes ends in a two-byte tail holding the last code.
constexpr uint32_t LZW_FIRST_ENTRY = 256;
constexpr uint32_t LZW_LAST_ENTRY = 4094;
constexpr uint32_t LZW_END_CODE = 4095;

// Expands input into output. 0 on success; -1 when the input ends before the
// end code, the output would exceed capacity, or a code names no string yet.
// Never reads past input_length nor writes past capacity. The number of bytes
// written goes to *output_length when it is given (on failure: those written
// before the fault was found). A stream that is only the end code is empty.
int32_t lzw_expand(const uint8_t* input, size_t input_length, uint8_t* output, size_t capacity,
                   size_t* output_length = nullptr);

// The built-in fonts and palettes in one block, stored compressed.
constexpr int32_t RUNTIME_DATA_SIZE = 10742;

// Where each font and palette lies in the expanded block.
constexpr size_t RUNTIME_FONT_8X8 = 0;
constexpr size_t RUNTIME_FONT_8X14 = 2048;
constexpr size_t RUNTIME_FONT_8X16 = 5632;
constexpr size_t RUNTIME_PALETTE_2 = 9728;
constexpr size_t RUNTIME_PALETTE_16 = 9734;
constexpr size_t RUNTIME_PALETTE_64 = 9782;
constexpr size_t RUNTIME_PALETTE_256 = 9974;
static_assert(RUNTIME_PALETTE_256 + 256 * 3 == RUNTIME_DATA_SIZE);

// The compressed block, generated at build time from the console fonts.
extern const uint8_t runtime_data_compressed[];
extern const size_t runtime_data_compressed_size;

// Expands the block once per process and points the palette and font records
// at it; later calls do nothing.
void expand_runtime_data();

// The steps of making and releasing the screen record, in the order the
// screen services run them; the services also open the window in between.

// What a screen is built from: a row of the mode table, or a free size.
struct ScreenShape {
    int32_t mode_number;  // 1..21, or -1 for a free size
    int32_t width;
    int32_t height;
    int32_t depth;
    int32_t line_repeat;
    const PaletteSpec* default_palette;
    const FontSpec* font;
    int32_t text_columns;
    int32_t text_rows;
};

// The shape of a numbered mode 1..21; false for an unsupported mode.
bool mode_shape(int32_t mode, ScreenShape* shape);

// The shape of a free-size screen; false for an unsupported depth or size.
bool free_shape(int32_t width, int32_t height, int32_t depth, ScreenShape* shape);

// The depth a screen of this shape gets from the caller's depth and flags,
// normalised to 1, 2, 4, 8, 16 or 32.
int32_t screen_depth(const ScreenShape& shape, int32_t depth_argument, int32_t flags);

// Whether the pages and text cells of such a screen stay within the 1 GiB a
// screen may take.
bool screen_fits(const ScreenShape& shape, int32_t depth_argument, int32_t pages, int32_t flags);

// Makes the record the active screen: depth from the shape and the caller's
// depth and flags, pages, palettes, dirty rows, key states, event ring,
// flags, a new screen_id. Throws std::bad_alloc when memory runs out.
ScreenContext& create_screen(const ScreenShape& shape, int32_t depth_argument, int32_t pages,
                             int32_t flags);

// Text cells for every page, once the grid's size is known.
void create_text_cells(ScreenContext& screen, int32_t columns, int32_t rows);

// Releases the active screen and every buffer it owns.
void release_screen();
