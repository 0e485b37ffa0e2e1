#include <algorithm>
#include <cstring>

#include "gfx/draw/draw.h"
#include "gfx/draw/draw_internal.h"
#include "runtime/runtime.h"

namespace {

// The block an ImageBuffer header describes. Sizes are 64-bit so that no
// header value can overflow the arithmetic on them.
struct SourceBlock {
    const uint8_t* pixels;
    int64_t bytes_per_pixel;
    int64_t width;
    int64_t height;
    int64_t pitch;
};

// Only the four header bytes of the old form are read before its kind is
// known, so a block of that form is never read beyond its own header.
SourceBlock read_header(const uint8_t* image, int32_t target_bytes_per_pixel) {
    if (read_i32(image) == IMAGE_HEADER_NEW) {
        return SourceBlock{image + IMAGE_HEADER_SIZE, read_i32(image + 4), read_i32(image + 8),
                           read_i32(image + 12), read_i32(image + 16)};
    }
    const uint16_t packed = read_u16(image);
    const int64_t size = (packed & 7) != 0 ? (packed & 7) : target_bytes_per_pixel;
    const int64_t width = packed >> 3;
    return SourceBlock{image + IMAGE_HEADER_OLD_SIZE, size, width, read_u16(image + 2),
                       width * size};
}

// A header whose rows could not hold its pixels would send the blender past
// the end of the block.
bool consistent(const SourceBlock& block) {
    return block.width >= 0 && block.height >= 0 &&
           block.pitch >= block.width * block.bytes_per_pixel;
}

int32_t finish(int32_t result) {
    last_error = result;
    return result;
}

}  // namespace

int32_t gfx_put(void* target, float x, float y, const void* image, int32_t sx1, int32_t sy1,
                int32_t sx2, int32_t sy2, int32_t flags, PutMode mode, PutBlender blender,
                int32_t alpha, PutCustom custom, void* parameter) {
    DrawContext* const started = begin_primitive(target, 0xFF000000u, 0).context;
    if (started == nullptr || image == nullptr) return finish(ERROR_ILLEGAL_ARGUMENT);
    DrawContext& context = *started;
    PointF position{x, y};
    apply_step(context,
               (flags & PUT_POSITION_RELATIVE) != 0 ? RELATIVE_POINT : RELATIVE_POINT_ABSOLUTE,
               position, nullptr);
    const PixelPoint at = map_point(context, position.x, position.y);

    const int32_t target_size = context.bytes_per_pixel;
    const SourceBlock block = read_header(static_cast<const uint8_t*>(image), target_size);
    if (block.bytes_per_pixel != target_size) {
        // The one mixed case: a mask of alpha bytes laid onto 32-bit pixels.
        if (mode != PUT_ALPHA || block.bytes_per_pixel != 1 || target_size != 4) {
            return finish(ERROR_ILLEGAL_ARGUMENT);
        }
        blender = put_alpha_mask_blend;
    }
    if (!consistent(block) || blender == nullptr) return finish(ERROR_ILLEGAL_ARGUMENT);
    if (block.width == 0 || block.height == 0) return finish(ERROR_NONE);

    const uint8_t* source = block.pixels;
    int64_t w = block.width;
    int64_t h = block.height;
    if (sx1 != PUT_WHOLE_IMAGE) {
        int64_t left = sx1, top = sy1, right = sx2, bottom = sy2;
        if ((flags & PUT_SOURCE_RELATIVE) != 0) {
            right += left;
            bottom += top;
        }
        order_corners(left, top, right, bottom);
        // A rectangle that misses the image selects nothing, not its nearest corner.
        if (right < 0 || bottom < 0 || left >= w || top >= h) return finish(ERROR_NONE);
        left = std::max<int64_t>(left, 0);
        top = std::max<int64_t>(top, 0);
        right = std::min(right, w - 1);
        bottom = std::min(bottom, h - 1);
        source += top * block.pitch + left * block.bytes_per_pixel;
        w = right - left + 1;
        h = bottom - top + 1;
    }

    if (!at.ok) return finish(ERROR_NONE);
    const ViewRect& view = context.view;
    const int64_t view_right = static_cast<int64_t>(view.x) + view.width;
    const int64_t view_bottom = static_cast<int64_t>(view.y) + view.height;
    int64_t px = at.x;
    int64_t py = at.y;
    if (px >= view_right || py >= view_bottom || px + w <= view.x || py + h <= view.y) {
        return finish(ERROR_NONE);
    }
    if (py < view.y) {
        source += (view.y - py) * block.pitch;
        h -= view.y - py;
        py = view.y;
    }
    h = std::min(h, view_bottom - py);
    if (px < view.x) {
        source += (view.x - px) * block.bytes_per_pixel;
        w -= view.x - px;
        px = view.x;
    }
    w = std::min(w, view_right - px);

    lock_target();
    uint8_t* destination = row_start(context, py) + px * target_size;
    blender(source, destination, static_cast<int32_t>(w), static_cast<int32_t>(h),
            static_cast<int32_t>(block.pitch), context.pitch, alpha, custom, parameter);
    finish_target(context, py, py + h - 1, px, px + w - 1);
    return finish(ERROR_NONE);
}
