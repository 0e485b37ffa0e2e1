#include "gfx/input/input.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Conversion {
    const char* utf8;
    std::vector<uint8_t> bytes;
};

TEST(Cp437, TypedTextBecomesCodePageBytes) {
    const Conversion conversions[] = {
        {"a", {'a'}},
        {"\xC3\xA4", {0x84}},                // ä
        {"\xC3\x9F", {0xE1}},                // ß
        {"\xE2\x96\x91", {0xB0}},            // light shade
        {"\xC2\xA0", {0xFF}},                // no-break space
        {"\xE2\x82\xAC", {}},                // euro sign: none in the code page
        {"x\xF0\x9F\x98\x80y", {'x', 'y'}},  // an emoji is dropped, the rest stays
        {"\xC3", {}},                        // cut off
        {"\xC0\x80", {}},                    // overlong NUL
        {"\x80\xC3\xB6", {0x94}},            // stray continuation byte, then ö
    };
    for (const Conversion& c : conversions) {
        uint8_t out[16];
        const int32_t n = utf8_to_cp437(c.utf8, out, sizeof out);
        EXPECT_EQ(std::vector<uint8_t>(out, out + n), c.bytes) << c.utf8;
    }
    uint8_t two[2];
    EXPECT_EQ(utf8_to_cp437("abc", two, 2), 2);
}

}  // namespace
