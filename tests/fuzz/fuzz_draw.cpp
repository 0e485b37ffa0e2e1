// Lines, frames, boxes, pixels and ellipses with any floats, colours, kinds,
// styles and relative codes, on screens of any mode, size, depth, pages and
// flags, and page changes between them. Lines and boxes with whole-pixel
// ends are compared with the plain model of their rules.

#include <algorithm>
#include <cstring>

#include "gfx/draw/draw.h"
#include "gfx/draw/draw_internal.h"
#include "tests/fuzz/screen_setup.h"
#include "tests/support/reference_model.h"

namespace {

reference::ByteTarget copy_target(const DrawContext& context) {
    reference::ByteTarget t{{}, context.view.width, context.view.height};
    t.pixels.resize(static_cast<size_t>(t.width) * t.height);
    for (int32_t y = 0; y < t.height; ++y)
        std::memcpy(&t.pixels[static_cast<size_t>(y) * t.width], row_start(context, y), t.width);
    return t;
}

// Whole-pixel ends: lines inside the view, boxes anywhere near it.
void check_against_model(FuzzInput& in) {
    // The work page as the next primitive will see it, after any page change.
    DrawContext& context = refresh_draw_context();
    set_target(context, nullptr);
    if (context.bytes_per_pixel != 1 || context.view.width <= 0 || context.view.height <= 0) return;
    reference::ByteTarget model = copy_target(context);
    const int32_t kind = take_range(in, 0, 2);
    const int32_t reach = kind == LINE_PLAIN ? 0 : 20;
    const int32_t x1 = take_range(in, -reach, model.width - 1 + reach);
    const int32_t y1 = take_range(in, -reach, model.height - 1 + reach);
    const int32_t x2 = take_range(in, -reach, model.width - 1 + reach);
    const int32_t y2 = take_range(in, -reach, model.height - 1 + reach);
    const uint8_t colour = take_u8(in);
    const uint16_t style =
        kind == LINE_FRAME ? STYLE_SOLID : static_cast<uint16_t>(take_bits(in, 2));
    gfx_line(nullptr, x1, y1, x2, y2, colour, kind, style, RELATIVE_NONE);
    const reference::BytePen pen{&model, colour};
    const reference::Box box{std::min(x1, x2), std::min(y1, y2), std::max(x1, x2),
                             std::max(y1, y2)};
    if (kind == LINE_PLAIN) {
        reference::segment(pen, x1, y1, x2, y2, style);
    } else {
        reference::box(pen, box, {0, 0, model.width, model.height}, kind == LINE_FILLED_BOX, style);
    }
    const reference::ByteTarget drawn = copy_target(context);
    if (drawn.pixels != model.pixels) {
        std::fprintf(stderr, "kind %d (%d,%d)-(%d,%d) style %04x on %dx%d\n", kind, x1, y1, x2, y2,
                     style, model.width, model.height);
        for (size_t i = 0; i < model.pixels.size(); ++i) {
            if (drawn.pixels[i] != model.pixels[i])
                std::fprintf(stderr, "  (%d,%d) drawn %d model %d\n", int(i % model.width),
                             int(i / model.width), drawn.pixels[i], model.pixels[i]);
        }
    }
    FUZZ_CHECK(drawn.pixels == model.pixels);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in{data, size};
    if (fuzz_screen(in) == nullptr) return 0;
    for (int op = 0; op < 64 && input_left(in); ++op) {
        switch (take_u8(in) % 6) {
            case 0: {
                const float x1 = take_coordinate(in), y1 = take_coordinate(in);
                const float x2 = take_coordinate(in), y2 = take_coordinate(in);
                const uint32_t colour = take_bits(in, 4);
                const int32_t kind = take_range(in, -1, 3);
                const uint32_t style = take_bits(in, 4);
                gfx_line(nullptr, x1, y1, x2, y2, colour, kind, style, take_i32(in));
                break;
            }
            case 1: {
                const float x = take_coordinate(in), y = take_coordinate(in);
                const uint32_t colour = take_bits(in, 4);
                const int32_t flags = take_i32(in);
                gfx_pset(nullptr, x, y, colour, flags, take_u8(in) & 1);
                break;
            }
            case 2: {
                const float x = take_coordinate(in), y = take_coordinate(in);
                const float radius = take_coordinate(in);
                const uint32_t colour = take_bits(in, 4);
                const float aspect = take_coordinate(in) / 16;
                const bool whole = (take_u8(in) & 1) != 0;
                const float start = whole ? 0.0f : take_coordinate(in) / 64;
                const float end = whole ? ELLIPSE_END_OMITTED : take_coordinate(in) / 64;
                const int32_t fill = take_u8(in) & 1;
                gfx_ellipse(nullptr, x, y, radius, colour, aspect, start, end, fill, take_i32(in));
                break;
            }
            case 3: {
                const int32_t work = take_range(in, -2, 3);
                gfx_set_pages(work, take_range(in, -2, 3));
                break;
            }
            case 4: {
                const int32_t source = take_range(in, -2, 3);
                gfx_copy_page(source, take_range(in, -2, 3));
                break;
            }
            default:
                check_against_model(in);
        }
    }
    return 0;
}
