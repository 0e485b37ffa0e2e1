#include <cstddef>
#include <cstring>

#include "gfx/draw/draw.h"
#include "gfx/draw/draw_internal.h"
#include "gfx/screen/screen.h"
#include "runtime/runtime.h"

// The blenders that gfx_put brings along. A blender is handed bare addresses;
// the pixel size of the target comes from the drawing context, which gfx_put
// has loaded before calling it.

namespace {

DrawContext& blend_context() {
    return refresh_draw_context();
}

// XORs one unit of the source into the target and steps both past it.
template <typename Unit>
void xor_unit(const uint8_t*& source, uint8_t*& target) {
    store_unaligned<Unit>(target, load_unaligned<Unit>(target) ^ load_unaligned<Unit>(source));
    source += sizeof(Unit);
    target += sizeof(Unit);
}

// XOR of count bytes: the odd byte first, then an odd 16-bit unit, then
// 32-bit units.
void xor_bytes_plain(const uint8_t* source, uint8_t* target, size_t count) {
    if (count & 1) xor_unit<uint8_t>(source, target);
    if (count & 2) xor_unit<uint16_t>(source, target);
    for (size_t units = count >> 2; units > 0; --units)
        xor_unit<uint32_t>(source, target);
}

// The vectorised form: the same small units first, then 64-bit and 128-bit
// ones. XOR works byte by byte, so every byte ends as in the plain form.
using Bytes16 = uint8_t __attribute__((vector_size(16)));

void xor_bytes_wide(const uint8_t* source, uint8_t* target, size_t count) {
    if (count & 1) xor_unit<uint8_t>(source, target);
    if (count & 2) xor_unit<uint16_t>(source, target);
    if (count & 4) xor_unit<uint32_t>(source, target);
    if (count & 8) xor_unit<uint64_t>(source, target);
    for (size_t units = count >> 4; units > 0; --units)
        xor_unit<Bytes16>(source, target);
}

using ByteXor = void (*)(const uint8_t* source, uint8_t* target, size_t count);

template <size_t BytesPerPixel, ByteXor Combine>
void xor_block(const uint8_t* source, uint8_t* target, int32_t width, int32_t height,
               int32_t source_pitch, int32_t target_pitch, int32_t, PutCustom, void*) {
    if (width <= 0) return;
    const size_t count = static_cast<size_t>(width) * BytesPerPixel;
    for (int32_t row = 0; row < height; ++row) {
        Combine(source + static_cast<ptrdiff_t>(row) * source_pitch,
                target + static_cast<ptrdiff_t>(row) * target_pitch, count);
    }
}

// One routine per target pixel size; there is none for 3 bytes.
struct XorBlenderTable {
    PutBlender one;
    PutBlender two;
    PutBlender four;
};

constexpr XorBlenderTable PLAIN_XOR{
    .one = xor_block<1, xor_bytes_plain>,
    .two = xor_block<2, xor_bytes_plain>,
    .four = xor_block<4, xor_bytes_plain>,
};

constexpr XorBlenderTable WIDE_XOR{
    .one = xor_block<1, xor_bytes_wide>,
    .two = xor_block<2, xor_bytes_wide>,
    .four = xor_block<4, xor_bytes_wide>,
};

PutBlender xor_entry(const XorBlenderTable& table, int32_t bytes_per_pixel) {
    switch (bytes_per_pixel) {
        case 1:
            return table.one;
        case 2:
            return table.two;
        case 4:
            return table.four;
        default:
            return nullptr;
    }
}

}  // namespace

void put_xor_blend(const uint8_t* source, uint8_t* target, int32_t width, int32_t height,
                   int32_t source_pitch, int32_t target_pitch, int32_t alpha, PutCustom custom,
                   void* parameter) {
    DrawContext& context = blend_context();
    // Chosen once per screen: the context forgets the choice when the screen changes.
    if (context.xor_blender_table == nullptr) {
        const ScreenContext* screen = active_screen();
        const bool wide = screen != nullptr && (screen->screen_flags & SCREEN_MMX) != 0;
        context.xor_blender_table = wide ? &WIDE_XOR : &PLAIN_XOR;
    }
    const auto& table = *static_cast<const XorBlenderTable*>(context.xor_blender_table);
    const PutBlender blend = xor_entry(table, context.bytes_per_pixel);
    if (blend != nullptr) {
        blend(source, target, width, height, source_pitch, target_pitch, alpha, custom, parameter);
    }
}

void put_alpha_mask_blend(const uint8_t* source, uint8_t* target, int32_t width, int32_t height,
                          int32_t source_pitch, int32_t target_pitch, int32_t, PutCustom, void*) {
    // A caller may pass this routine for a block whose depths match; on a
    // target of smaller pixels the alpha byte would lie in the next pixel.
    if (blend_context().bytes_per_pixel != 4) return;
    for (int32_t row = 0; row < height; ++row) {
        const uint8_t* from = source + static_cast<ptrdiff_t>(row) * source_pitch;
        uint8_t* to = target + static_cast<ptrdiff_t>(row) * target_pitch + 3;
        for (int32_t x = 0; x < width; ++x)
            to[static_cast<ptrdiff_t>(x) * 4] = from[x];
    }
}
