#include "runtime/runtime.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <string>

namespace {

std::string text(const StringDescriptor& s) {
    return s.data == nullptr ? std::string()
                             : std::string(reinterpret_cast<char*>(s.data), s.length);
}

// A label as the scene builds it: heading, converted number, unit.
std::string label(const char (&heading)[16], StringDescriptor* number) {
    StringDescriptor s;
    string_assign(s, heading, sizeof heading);
    string_concat(s, number, STRING_DESCRIPTOR);
    string_concat(s, " Pix", 5);
    std::string result = text(s);
    EXPECT_EQ(s.data[s.length], 0);
    string_erase(s);
    return result;
}

TEST(StringLabel, SlitSpacingHasNoBlankBeforeTheNumber) {
    const std::string s = label("Spaltabstand = ", int_to_text(20));
    EXPECT_EQ(s, "Spaltabstand = 20 Pix");
    EXPECT_EQ(s.size(), 21u);
}

TEST(StringLabel, WavelengthKeepsTheCodePageByte) {
    EXPECT_EQ(label("Wellenl\x84nge  = ", single_to_text(0.5f)), "Wellenl\x84nge  = 0.5 Pix");
    EXPECT_EQ(label("Wellenl\x84nge  = ", single_to_text(25.0f)), "Wellenl\x84nge  = 25 Pix");
}

TEST(StringLabel, SourceInsideTheDestinationIsCopiedBeforeItMoves) {
    StringDescriptor s;
    string_assign(s, "ab", 3);
    string_concat(s, "", 1);
    std::string expected = "ab";
    for (int i = 0; i < 6; ++i) {
        string_concat(s, &s, STRING_DESCRIPTOR);
        expected += expected;
    }
    EXPECT_EQ(text(s), expected);
    string_assign(s, string_temp(s.data + 1, 3), STRING_DESCRIPTOR);
    EXPECT_EQ(text(s), "bab");
    string_assign(s, "", 1);
    EXPECT_EQ(s.data, nullptr);
}

TEST(StringCompare, OrdersByUnsignedBytesThenLength) {
    EXPECT_EQ(string_compare("g", 2, "g", 2), 0);
    EXPECT_EQ(string_compare("g", 2, "G", 2), 1);
    EXPECT_EQ(string_compare("a", 2, "ab", 3), -1);
    EXPECT_EQ(string_compare("", 1, "", 1), 0);
    EXPECT_EQ(string_compare(nullptr, STRING_DESCRIPTOR, "", 1), 0);
    EXPECT_EQ(string_compare(nullptr, STRING_DESCRIPTOR, "x", 2), -1);
    EXPECT_EQ(string_compare("x", 2, nullptr, 0), 1);
    const char up[] = "\xffH";
    const char down[] = "\xffP";
    EXPECT_EQ(string_compare(up, sizeof up, down, sizeof down), -1);
}

TEST(StringCompare, ReleasesATemporaryPassedTwiceOnce) {
    StringDescriptor* same = int_to_text(12);
    EXPECT_EQ(string_compare(same, STRING_DESCRIPTOR, same, STRING_DESCRIPTOR), 0);
}

TEST(StringLength, CountsUpToTheFirstZeroWithinTheDeclaredSize) {
    StringDescriptor s;
    string_assign(s, "abc", 4);
    EXPECT_EQ(string_length(&s, STRING_DESCRIPTOR), 3);
    string_erase(s);
    EXPECT_EQ(string_length("abc", 4), 3);
    EXPECT_EQ(string_length("abc", 2), 2);
    EXPECT_EQ(string_length(nullptr, 9), 0);
    EXPECT_EQ(string_length(int_to_text(-123), STRING_DESCRIPTOR), 4);
    EXPECT_EQ(string_length(string_temp("abc", 2), STRING_DESCRIPTOR), 2);
}

TEST(StringLimits, GrowingPastTheLargestLengthKeepsTheOldContents) {
    // Only the descriptor claims that length; growing must be refused before
    // any of those bytes would be touched.
    char bytes[] = "abc";
    StringDescriptor s;
    s.data = reinterpret_cast<uint8_t*>(bytes);
    s.length = std::numeric_limits<int32_t>::max() - 2;
    s.capacity = s.length;
    string_concat(s, int_to_text(1234), STRING_DESCRIPTOR);
    EXPECT_EQ(s.data, reinterpret_cast<uint8_t*>(bytes));
    EXPECT_EQ(s.length, std::numeric_limits<int32_t>::max() - 2);
}

}  // namespace
