#include "gfx/draw/draw.h"
#include "gfx/screen/screen.h"
#include "gfx/text/text_internal.h"

namespace {

// The lone byte 255 marks a position (an input cursor, say) without
// hiding what the cell already shows.
constexpr uint8_t UNDERLINE_CODE = 255;

// Fonts of this width have one byte per glyph row, which a cell writer
// puts down whole.
constexpr int32_t CELL_WRITER_WIDTH = 8;

uint8_t* pixel_address(const DrawContext& context, int32_t x, int32_t y) {
    return row_start(context, y) + static_cast<ptrdiff_t>(x) * context.bytes_per_pixel;
}

// Every pixel of the cell is written, so text needs no clearing behind it.
void draw_glyph(DrawContext& context, const FontSpec& font, uint8_t code, int32_t x0, int32_t y0) {
    const int32_t row_bytes = (font.width + 7) / 8;
    const uint8_t* glyph = font.glyphs + static_cast<size_t>(code) * font.height * row_bytes;
    for (int32_t j = 0; j < font.height; ++j) {
        for (int32_t x = 0; x < font.width; ++x) {
            const uint8_t bits = glyph[j * row_bytes + x / 8];
            const bool set = ((bits >> (x % 8)) & 1) != 0;  // bit 0 is the leftmost pixel
            context.pixel_writer(context, x0 + x, y0 + j,
                                 set ? context.foreground : context.background);
        }
    }
}

void draw_run(DrawContext& context, const FontSpec& font, const uint8_t* bytes, int32_t count,
              int32_t x0, int32_t y0) {
    if (font.width != CELL_WRITER_WIDTH) {
        for (int32_t i = 0; i < count; ++i)
            draw_glyph(context, font, bytes[i], x0 + i * font.width, y0);
        return;
    }
    // Text is always opaque, so the plain cell writer of the size serves.
    const CellWriter cell = writer_set(context.bytes_per_pixel).cell;
    const ptrdiff_t cell_bytes =
        static_cast<ptrdiff_t>(CELL_WRITER_WIDTH) * context.bytes_per_pixel;
    uint8_t* address = pixel_address(context, x0, y0);
    for (int32_t i = 0; i < count; ++i, address += cell_bytes) {
        cell(address, context.pitch, font.glyphs + static_cast<size_t>(bytes[i]) * font.height,
             font.height, context.foreground, context.background);
    }
}

}  // namespace

int32_t draw_glyphs(TextWindow& window, const uint8_t* bytes, int32_t count) {
    TextTarget& target = *window.target;
    DrawContext& context = *target.context;
    const ScreenContext& screen = *target.screen;
    const TextGrid grid = text_grid(screen);
    // The grid lies inside the framebuffer; a piece outside the grid (a
    // caller's window that never scrolls, say) is refused, not drawn.
    if (count <= 0 || window.row < 0 || window.row >= grid.rows || window.column < 0 ||
        count > grid.columns - window.column) {
        return 0;
    }
    const auto page = static_cast<size_t>(context.work_page);
    if (page >= screen.text_cells.size()) return 0;

    const FontSpec& font = *screen.font;
    const int32_t x0 = window.column * font.width;
    const int32_t y0 = window.row * font.height;
    // Until the font data is there a glyph cannot be drawn, only recorded.
    if (font.glyphs != nullptr) {
        if (count == 1 && bytes[0] == UNDERLINE_CODE) {
            context.span_writer(pixel_address(context, x0, y0 + font.height - 1),
                                context.foreground, font.width);
        } else {
            draw_run(context, font, bytes, count, x0, y0);
        }
        widen_dirty_rows(target, y0, y0 + font.height);
    }

    TextCell* cells = screen.text_cells[page].get() +
                      static_cast<size_t>(window.row) * screen.text_columns + window.column;
    for (int32_t i = 0; i < count; ++i)
        cells[i] = TextCell{bytes[i], context.foreground, context.background};
    return 1;
}
