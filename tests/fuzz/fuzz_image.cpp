// Image blocks: headers of any words in blocks of exactly the size they
// describe, drawn on as targets with any floats, put onto the screen and onto
// each other in every mode, and blocks taken with gfx_get. Putting a block
// twice with XOR restores its target.

#include <cstring>
#include <vector>

#include "gfx/draw/draw.h"
#include "gfx/draw/draw_internal.h"
#include "tests/fuzz/screen_setup.h"

namespace {

constexpr int64_t MAX_BLOCK = 1 << 18;
constexpr int BLOCK_SLOTS = 3;

int64_t not_negative(int64_t v) {
    return v > 0 ? v : 0;
}

// A header, then exactly the bytes its words describe (when that is a
// size a test can allocate at all).
bool make_block(FuzzInput& in, int32_t screen_bytes, std::vector<uint8_t>& block) {
    if ((take_u8(in) & 1) != 0) {
        const int32_t words[5] = {IMAGE_HEADER_NEW, take_range(in, -1, 5),
                                  (take_u8(in) & 1) != 0 ? take_i32(in) : take_range(in, -2, 40),
                                  (take_u8(in) & 1) != 0 ? take_i32(in) : take_range(in, -2, 40),
                                  (take_u8(in) & 1) != 0 ? take_i32(in) : take_range(in, -2, 160)};
        const int64_t bytes = IMAGE_HEADER_SIZE + not_negative(words[4]) * not_negative(words[3]);
        if (bytes > MAX_BLOCK) return false;
        block.assign(static_cast<size_t>(bytes), take_u8(in));
        std::memcpy(block.data(), words, sizeof(words));
        return true;
    }
    const uint16_t packed = static_cast<uint16_t>(take_bits(in, 2));
    const uint16_t height = static_cast<uint16_t>(take_bits(in, 2));
    // A first word of 7 marks the 32-byte form, whatever was meant.
    if (packed == IMAGE_HEADER_NEW && height == 0) return false;
    const int64_t pixel_bytes = std::max<int64_t>(screen_bytes, packed & 7);
    const int64_t bytes = IMAGE_HEADER_OLD_SIZE + int64_t{packed >> 3} * height * pixel_bytes;
    if (bytes > MAX_BLOCK) return false;
    block.assign(static_cast<size_t>(bytes), take_u8(in));
    std::memcpy(block.data(), &packed, 2);
    std::memcpy(block.data() + 2, &height, 2);
    return true;
}

// Block 0 is the screen; blocks 1.. are the slots.
void* target_of(uint8_t choice, std::vector<uint8_t> (&slots)[BLOCK_SLOTS]) {
    const int index = choice % (BLOCK_SLOTS + 1);
    if (index == 0 || slots[index - 1].empty()) return nullptr;
    return slots[index - 1].data();
}

std::vector<uint8_t> work_page(const ScreenContext& screen) {
    DrawContext& context = refresh_draw_context();
    set_target(context, nullptr);
    const uint8_t* page = screen.page_buffers[static_cast<size_t>(context.work_page)].get();
    return std::vector<uint8_t>(page, page + static_cast<size_t>(screen.pitch) * screen.height);
}

uint32_t invert(uint32_t source, uint32_t target, void* parameter) {
    return ~(source ^ target) + static_cast<uint32_t>(reinterpret_cast<uintptr_t>(parameter));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in{data, size};
    ScreenContext* screen = fuzz_screen(in);
    if (screen == nullptr) return 0;
    std::vector<uint8_t> slots[BLOCK_SLOTS];
    // gfx_get's block for any rectangle of the screen, and no byte more.
    const size_t get_bytes =
        IMAGE_HEADER_SIZE +
        static_cast<size_t>((screen->width * 4 + 15) / 16 * 16) * screen->height;
    for (int op = 0; op < 48 && input_left(in); ++op) {
        switch (take_u8(in) % 5) {
            case 0: {
                std::vector<uint8_t>& slot = slots[take_u8(in) % BLOCK_SLOTS];
                if (!make_block(in, screen->bytes_per_pixel, slot)) slot.clear();
                break;
            }
            case 1: {
                void* target = target_of(take_u8(in), slots);
                const float x1 = take_coordinate(in), y1 = take_coordinate(in);
                const float x2 = take_coordinate(in), y2 = take_coordinate(in);
                const uint8_t what = take_u8(in);
                const uint32_t colour = take_bits(in, 4);
                if (what % 3 == 0) {
                    gfx_line(target, x1, y1, x2, y2, colour, what / 3 % 3, take_bits(in, 2),
                             take_i32(in));
                } else if (what % 3 == 1) {
                    gfx_pset(target, x1, y1, colour, take_i32(in), what & 8);
                } else {
                    gfx_ellipse(target, x1, y1, x2, colour, y2 / 16, 0, ELLIPSE_END_OMITTED,
                                what & 8, take_i32(in));
                }
                break;
            }
            case 2: {
                std::vector<uint8_t>& slot = slots[take_u8(in) % BLOCK_SLOTS];
                std::vector<uint8_t> block(get_bytes);
                const float x1 = take_coordinate(in), y1 = take_coordinate(in);
                const float x2 = take_coordinate(in), y2 = take_coordinate(in);
                if (gfx_get(nullptr, x1, y1, x2, y2, block.data(), take_i32(in) & 7, nullptr) ==
                    0) {
                    ImageBuffer header;
                    std::memcpy(&header, block.data(), sizeof(header));
                    if (header.tag == IMAGE_HEADER_NEW) {
                        // Exactly as long as the header says, so a put reading
                        // past it is a finding.
                        FUZZ_CHECK(IMAGE_HEADER_SIZE + size_t{1} * header.pitch * header.height <=
                                   block.size());
                        block.resize(IMAGE_HEADER_SIZE + size_t{1} * header.pitch * header.height);
                    }
                    slot = std::move(block);
                }
                break;
            }
            case 3: {
                void* target = target_of(take_u8(in), slots);
                const void* image = target_of(take_u8(in), slots);
                const float x = take_coordinate(in), y = take_coordinate(in);
                const bool whole = (take_u8(in) & 1) != 0;
                const int32_t sx1 = whole ? PUT_WHOLE_IMAGE : take_range(in, -4, 40);
                const int32_t sy1 = take_range(in, -4, 40), sx2 = take_range(in, -4, 40);
                const int32_t sy2 = take_range(in, -4, 40);
                const int32_t flags = take_u8(in) & 3;
                const uint8_t how = take_u8(in);
                const PutBlender blenders[] = {put_xor_blend, put_alpha_mask_blend, nullptr};
                gfx_put(target, x, y, image, sx1, sy1, sx2, sy2, flags, how % 8 - 1,
                        blenders[how / 8 % 3], take_i32(in), (how & 64) != 0 ? invert : nullptr,
                        nullptr);
                break;
            }
            default: {
                const void* image = target_of(take_u8(in), slots);
                const float x = take_range(in, -40, 200), y = take_range(in, -40, 200);
                const std::vector<uint8_t> before = work_page(*screen);
                for (int i = 0; i < 2; ++i)
                    gfx_put(nullptr, x, y, image, PUT_WHOLE_IMAGE, 0, 0, 0, 0, PUT_XOR,
                            put_xor_blend, 0, nullptr, nullptr);
                FUZZ_CHECK(work_page(*screen) == before);
            }
        }
    }
    return 0;
}
