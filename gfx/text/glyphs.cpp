#include "gfx/draw/draw_context.h"
#include "gfx/screen/screen_context.h"
#include "gfx/text/text.h"

namespace {

// The lone byte 255 marks a position (an input cursor, say) without
// hiding what the cell already shows.
constexpr uint8_t UNDERLINE_CODE = 255;

void draw_underline(DrawContext& context, const FontSpec& font, int32_t x0, int32_t y0) {
    const int32_t y = y0 + font.height - 1;
    for (int32_t x = 0; x < font.width; ++x)
        context.pixel_writer(context, x0 + x, y, context.foreground);
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
            draw_underline(context, font, x0, y0);
        } else {
            for (int32_t i = 0; i < count; ++i)
                draw_glyph(context, font, bytes[i], x0 + i * font.width, y0);
        }
        widen_dirty_rows(target, y0, y0 + font.height);
    }

    TextCell* cells = screen.text_cells[page].get() +
                      static_cast<size_t>(window.row) * screen.text_columns + window.column;
    for (int32_t i = 0; i < count; ++i)
        cells[i] = TextCell{bytes[i], context.foreground, context.background};
    return 1;
}
