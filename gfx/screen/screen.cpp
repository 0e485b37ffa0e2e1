#include <algorithm>
#include <memory>

#include "gfx/screen/screen.h"
#include "gfx/screen/screen_internal.h"

namespace {

std::unique_ptr<ScreenContext> g_screen;
int32_t g_next_screen_id = 1;

// Free-size screens stop where a buffer could no longer be addressed by the
// 32-bit fields of the screen record; beyond that a caller gets result 1.
constexpr int64_t MAX_SIDE = 32767;
constexpr int64_t MAX_SCREEN_BYTES = int64_t{1} << 30;

bool depth_supported(int32_t depth) {
    switch (depth) {
        case 1:
        case 2:
        case 4:
        case 8:
        case 15:
        case 16:
        case 24:
        case 32:
            return true;
        default:
            return false;
    }
}

bool sides_supported(int64_t width, int64_t height) {
    return width > 0 && height > 0 && width <= MAX_SIDE && height <= MAX_SIDE;
}

bool processor_has_mmx() {
#if defined(__x86_64__) || defined(__i386__)
    return __builtin_cpu_supports("mmx");
#else
    return false;
#endif
}

}  // namespace

ScreenContext* active_screen() {
    return g_screen.get();
}

bool mode_shape(int32_t mode, ScreenShape* shape) {
    const ModeRow* row = mode_row(mode);
    if (row == nullptr || row->width == 0) return false;
    *shape = ScreenShape{
        .mode_number = mode,
        .width = row->width,
        .height = row->height,
        .depth = row->depth,
        .line_repeat = row->line_repeat,
        .default_palette = row->default_palette,
        .font = row->font,
        .text_columns = row->text_columns,
        .text_rows = row->text_rows,
    };
    return true;
}

bool free_shape(int32_t width, int32_t height, int32_t depth, ScreenShape* shape) {
    if (!depth_supported(depth) || !sides_supported(width, height)) return false;
    *shape = ScreenShape{
        .mode_number = -1,
        .width = width,
        .height = height,
        .depth = depth,
        .line_repeat = 1,
        .default_palette = &palette_256,
        .font = &font_8x8,
        .text_columns = width / 8,
        .text_rows = height / 8,
    };
    return true;
}

int32_t screen_depth(const ScreenShape& shape, int32_t depth_argument, int32_t flags) {
    int32_t depth = shape.depth;
    if (shape.mode_number >= 14 || shape.mode_number == -1) {
        if (depth_argument == 8 || depth_argument == 15 || depth_argument == 16 ||
            depth_argument == 24 || depth_argument == 32) {
            depth = depth_argument;
        }
    }
    if (flags >= 0 && (flags & SCREEN_FLAG_OPENGL) != 0 && depth < 16) depth = 16;
    if (depth == 15) return 16;
    if (depth == 24) return 32;
    return depth;
}

bool screen_fits(const ScreenShape& shape, int32_t depth_argument, int32_t pages, int32_t flags) {
    // Counted as create_screen will allocate: the final depth's pixels and
    // the text cells, for every page.
    const int64_t bytes_per_pixel = (screen_depth(shape, depth_argument, flags) + 7) / 8;
    const int64_t pixels = int64_t{shape.width} * shape.height * bytes_per_pixel;
    const int64_t cells =
        int64_t{shape.text_columns} * shape.text_rows * static_cast<int64_t>(sizeof(TextCell));
    return (pixels + cells) * std::max(pages, 1) <= MAX_SCREEN_BYTES;
}

ScreenContext& create_screen(const ScreenShape& shape, int32_t depth_argument, int32_t pages,
                             int32_t flags) {
    g_screen = std::make_unique<ScreenContext>();
    ScreenContext& screen = *g_screen;
    screen.screen_id = g_next_screen_id++;

    screen.mode_number = shape.mode_number;
    screen.width = shape.width;
    screen.height = shape.height;
    const int32_t depth = screen_depth(shape, depth_argument, flags);

    screen.default_palette = shape.default_palette;
    screen.line_repeat = shape.line_repeat;
    screen.font = shape.font;

    screen.depth = depth;
    if (depth == 16) {
        screen.colour_mask = 0xFFFF;
    } else if (depth == 32) {
        screen.colour_mask = 0xFFFFFFFF;
    } else {
        screen.colour_mask = (1u << depth) - 1;
    }
    screen.bytes_per_pixel = (screen.depth + 7) / 8;
    screen.pitch = screen.bytes_per_pixel * screen.width;

    const size_t page_bytes =
        static_cast<size_t>(screen.pitch) * static_cast<size_t>(screen.height);
    screen.page_count = pages;
    for (int32_t page = 0; page < pages; ++page) {
        screen.page_buffers.emplace_back(new uint8_t[page_bytes]);
    }
    screen.visible_page = 0;
    screen.framebuffer = screen.page_buffers[0].get();
    screen.dirty_rows.reset(new uint8_t[static_cast<size_t>(screen.line_repeat * screen.height)]());
    screen.wide_rows.reset(new uint8_t[static_cast<size_t>(screen.height)]());
    screen.narrow_rects.reset(new MarkedRect[NARROW_RECT_CAPACITY]);
    screen.master_palette.reset(new uint32_t[256]());
    screen.palette.reset(new uint32_t[256]());
    screen.colour_map.reset(new uint8_t[16]());
    screen.key_states.reset(new uint8_t[KEY_STATE_COUNT]());
    screen.conversion_table.reset(new uint32_t[512]());

    if (flags != SCREEN_FLAG_NULL_DRIVER) {
        if ((flags & SCREEN_FLAG_ALPHA) != 0) screen.screen_flags |= SCREEN_ALPHA;
        if ((flags & SCREEN_FLAG_OPENGL) != 0) screen.screen_flags |= SCREEN_OPENGL;
    }
    if (processor_has_mmx()) screen.screen_flags |= SCREEN_MMX;
    return screen;
}

void create_text_cells(ScreenContext& screen, int32_t columns, int32_t rows) {
    screen.text_columns = columns;
    screen.text_rows = rows;
    const size_t cells = static_cast<size_t>(columns) * static_cast<size_t>(rows);
    for (int32_t page = 0; page < screen.page_count; ++page) {
        screen.text_cells.emplace_back(new TextCell[cells]());
    }
}

void release_screen() {
    g_screen.reset();  // every buffer goes with the record
}
