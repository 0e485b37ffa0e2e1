#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "gfx/screen/palette_font_spec.h"

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

// The operations of the window driver that the screen itself calls. They are
// copied from the driver that accepted the screen, so that the screen record
// needs to know no driver by type; an empty slot does nothing.
struct DriverOps {
    void (*lock)() = nullptr;
    void (*unlock)() = nullptr;
    void (*set_palette)(int32_t index, int32_t red, int32_t green, int32_t blue) = nullptr;
    void (*wait_vsync)() = nullptr;
    void (*flip)() = nullptr;
};

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
    const WindowDriver* driver = nullptr;
    DriverOps driver_ops{};
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
};

// The current screen, or nullptr while none exists.
ScreenContext* active_screen();

// The screen lock around one operation: takes the driver's lock unless the
// screen is already locked, and only the taker releases it.
void screen_lock(ScreenContext& screen);
void screen_unlock(ScreenContext& screen);

// Marks framebuffer rows first..last (clamped to the screen) as changed.
void mark_rows(ScreenContext& screen, int64_t first, int64_t last);

// Whether a drawing target whose rows start at first_row is the page the
// window shows: only its rows are marked, never those of another page or of
// an image block.
bool is_presented_page(const ScreenContext& screen, const uint8_t* first_row);
