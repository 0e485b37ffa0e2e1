#include <cstdint>
#include <cstring>

#include "gfx/draw/draw.h"
#include "gfx/draw/draw_internal.h"
#include "runtime/runtime.h"

namespace {

// The largest block the 4-byte header can describe: 13 bits of width, 16 of height.
constexpr int64_t OLD_FORM_MAX_WIDTH = (1 << 13) - 1;
constexpr int64_t OLD_FORM_MAX_HEIGHT = (1 << 16) - 1;

void write_i32(uint8_t* address, int64_t value) {
    const auto word = static_cast<int32_t>(value);
    std::memcpy(address, &word, sizeof(word));
}

void write_u16(uint8_t* address, int64_t value) {
    const auto half = static_cast<uint16_t>(value);
    std::memcpy(address, &half, sizeof(half));
}

// Whether the block from buffer, bytes long, lies within the array's storage.
// Compared as integers: the block may start anywhere, even before the array.
bool fits_array(const ArrayDescriptor& array, const void* buffer, int64_t bytes) {
    const auto start = reinterpret_cast<std::uintptr_t>(buffer);
    const auto data = reinterpret_cast<std::uintptr_t>(array.data);
    const std::uintptr_t end = data + static_cast<std::uintptr_t>(array.total_bytes);
    return start >= data && start <= end && static_cast<std::uintptr_t>(bytes) <= end - start;
}

int32_t finish(int32_t result) {
    last_error = result;
    return result;
}

}  // namespace

int32_t gfx_get(void* target, float x1, float y1, float x2, float y2, void* buffer, int32_t flags,
                const ArrayDescriptor* array) {
    DrawContext* const started = begin_primitive(target, 0xFF000000u, 0).context;
    if (started == nullptr) return finish(ERROR_ILLEGAL_ARGUMENT);
    DrawContext& context = *started;
    PointF first{x1, y1};
    PointF second{x2, y2};
    apply_step(context, flags, first, &second);
    if (buffer == nullptr) return finish(ERROR_ILLEGAL_ARGUMENT);
    const PixelPoint a = map_point(context, first.x, first.y);
    const PixelPoint b = map_point(context, second.x, second.y);
    if (!a.ok || !b.ok) return finish(ERROR_ILLEGAL_ARGUMENT);
    int64_t left = a.x, top = a.y, right = b.x, bottom = b.y;
    order_corners(left, top, right, bottom);

    // Only whole rectangles: a part would give an image of another size than asked for.
    const ViewRect& view = context.view;
    if (left < view.x || top < view.y || right >= static_cast<int64_t>(view.x) + view.width ||
        bottom >= static_cast<int64_t>(view.y) + view.height) {
        return finish(ERROR_ILLEGAL_ARGUMENT);
    }

    const int64_t size = context.bytes_per_pixel;
    const int64_t w = right - left + 1;
    const int64_t h = bottom - top + 1;
    const bool old_form = number_text_mode() != 0;
    const int64_t header = old_form ? IMAGE_HEADER_OLD_SIZE : IMAGE_HEADER_SIZE;
    // Rows of the 32-byte form start 16 bytes apart so they can be worked in 16-byte units.
    const int64_t pitch = old_form ? w * size : (w * size + 15) / 16 * 16;
    // A header that cannot hold the size would describe another block than the one written.
    if (old_form ? (w > OLD_FORM_MAX_WIDTH || h > OLD_FORM_MAX_HEIGHT) : pitch > INT32_MAX) {
        return finish(ERROR_ILLEGAL_ARGUMENT);
    }
    if (array != nullptr && array->total_bytes > 0 &&
        !fits_array(*array, buffer, header + pitch * h)) {
        return finish(ERROR_ILLEGAL_ARGUMENT);
    }

    auto* image = static_cast<uint8_t*>(buffer);
    if (old_form) {
        write_u16(image, (w << 3) | size);
        write_u16(image + 2, h);
    } else {
        write_i32(image, IMAGE_HEADER_NEW);
        write_i32(image + 4, size);
        write_i32(image + 8, w);
        write_i32(image + 12, h);
        write_i32(image + 16, pitch);
    }
    const RowCopier copy = writer_set(context.bytes_per_pixel).copy;
    lock_target();
    for (int64_t y = top; y <= bottom; ++y) {
        copy(image + header + (y - top) * pitch, row_start(context, y) + left * size,
             static_cast<int32_t>(w));
    }
    // Reading changes no row of the page, so none is marked.
    finish_target(context, 0, -1);
    return finish(ERROR_NONE);
}
