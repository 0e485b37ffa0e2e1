#include "tools/lzw_compress.h"

#include "gfx/screen/screen.h"

namespace {

// Two codes to three bytes; a lone last code takes two, which is exactly as
// much of a pair as the decoder reads for it.
std::vector<uint8_t> pack(const std::vector<uint16_t>& codes) {
    std::vector<uint8_t> bytes;
    bytes.reserve(codes.size() * 3 / 2 + 2);
    for (size_t i = 0; i < codes.size(); i += 2) {
        const uint16_t a = codes[i];
        if (i + 1 == codes.size()) {
            bytes.push_back(static_cast<uint8_t>(a));
            bytes.push_back(static_cast<uint8_t>(a >> 8));
            break;
        }
        const uint16_t b = codes[i + 1];
        bytes.push_back(static_cast<uint8_t>(a));
        bytes.push_back(static_cast<uint8_t>(a >> 8 | (b & 0x0F) << 4));
        bytes.push_back(static_cast<uint8_t>(b >> 4));
    }
    return bytes;
}

}  // namespace

std::vector<uint8_t> lzw_compress(const uint8_t* data, size_t length) {
    std::vector<uint16_t> codes;
    if (length > 0) {
        // child[code * 256 + byte] = the entry extending code by byte, 0 for
        // none (no entry is ever code 0). A flat table is fast and small
        // enough for a build step.
        std::vector<uint16_t> child(size_t{LZW_LAST_ENTRY + 1} * 256, 0);
        uint32_t next_free = LZW_FIRST_ENTRY;
        uint32_t current = data[0];
        for (size_t i = 1; i < length; ++i) {
            uint16_t& slot = child[current * 256 + data[i]];
            if (slot != 0) {
                current = slot;
                continue;
            }
            codes.push_back(static_cast<uint16_t>(current));
            // The decoder defines the same entry one code later, when it
            // learns the byte that follows; both stop after the last entry.
            if (next_free <= LZW_LAST_ENTRY) slot = static_cast<uint16_t>(next_free++);
            current = data[i];
        }
        codes.push_back(static_cast<uint16_t>(current));
    }
    codes.push_back(static_cast<uint16_t>(LZW_END_CODE));
    return pack(codes);
}
