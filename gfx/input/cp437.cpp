#include "gfx/input/input.h"

#include <algorithm>
#include <array>
#include <utility>

namespace {

// The characters of bytes 0x80..0xFF.
constexpr char32_t UPPER_HALF[128] = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7,  // 0x80
    0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE, 0x00EC, 0x00C4, 0x00C5,  // 0x88
    0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9,  // 0x90
    0x00FF, 0x00D6, 0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192,  // 0x98
    0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA, 0x00BA,  // 0xA0
    0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,  // 0xA8
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556,  // 0xB0
    0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510,  // 0xB8
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F,  // 0xC0
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567,  // 0xC8
    0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B,  // 0xD0
    0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,  // 0xD8
    0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4,  // 0xE0
    0x03A6, 0x0398, 0x03A9, 0x03B4, 0x221E, 0x03C6, 0x03B5, 0x2229,  // 0xE8
    0x2261, 0x00B1, 0x2265, 0x2264, 0x2320, 0x2321, 0x00F7, 0x2248,  // 0xF0
    0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0,  // 0xF8
};

// The same, sorted by character for a binary search.
constexpr auto BY_CHARACTER = [] {
    std::array<std::pair<char32_t, uint8_t>, 128> table{};
    for (int i = 0; i < 128; ++i)
        table[i] = {UPPER_HALF[i], static_cast<uint8_t>(0x80 + i)};
    std::sort(table.begin(), table.end());
    return table;
}();

// 0 when c has no byte in the code page.
uint8_t cp437_byte(char32_t c) {
    if (c >= 1 && c <= 0x7F) return static_cast<uint8_t>(c);
    const auto* hit = std::lower_bound(BY_CHARACTER.begin(), BY_CHARACTER.end(),
                                       std::pair<char32_t, uint8_t>{c, 0});
    return hit != BY_CHARACTER.end() && hit->first == c ? hit->second : 0;
}

// Decodes one character at s; advances s past it (past one byte when the
// sequence is malformed, answering 0).
char32_t next_character(const unsigned char*& s) {
    const unsigned char lead = *s++;
    int32_t follow = 0;
    char32_t c = 0;
    if (lead < 0x80) return lead;
    if ((lead & 0xE0) == 0xC0) {
        follow = 1;
        c = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        follow = 2;
        c = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        follow = 3;
        c = lead & 0x07;
    } else {
        return 0;
    }
    for (int32_t i = 0; i < follow; ++i) {
        if ((s[i] & 0xC0) != 0x80) return 0;  // also stops at the terminating 0
    }
    for (int32_t i = 0; i < follow; ++i)
        c = c << 6 | (s[i] & 0x3F);
    s += follow;
    // Overlong forms would let a forbidden byte in by the back door.
    constexpr char32_t SMALLEST[] = {0, 0x80, 0x800, 0x10000};
    return c >= SMALLEST[follow] ? c : 0;
}

}  // namespace

int32_t utf8_to_cp437(const char* utf8, uint8_t* out, int32_t capacity) {
    if (utf8 == nullptr || out == nullptr) return 0;
    int32_t written = 0;
    const auto* s = reinterpret_cast<const unsigned char*>(utf8);
    while (*s != 0 && written < capacity) {
        const uint8_t byte = cp437_byte(next_character(s));
        if (byte != 0) out[written++] = byte;
    }
    return written;
}
