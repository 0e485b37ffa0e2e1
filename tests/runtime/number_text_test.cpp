#include "runtime/runtime.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

// Copies a converted number out and releases it.
std::string take(StringDescriptor* result) {
    const StringBytes bytes = string_bytes(result, STRING_DESCRIPTOR);
    std::string s(reinterpret_cast<const char*>(bytes.data), static_cast<size_t>(bytes.length));
    string_release_temp(result);
    return s;
}

std::string single(float x) {
    return take(single_to_text(x));
}

TEST(NumberTextSingle, FixedFormKeepsSevenSignificantDigits) {
    EXPECT_EQ(single(5), "5");
    EXPECT_EQ(single(25), "25");
    EXPECT_EQ(single(0.5f), "0.5");
    EXPECT_EQ(single(12.5f), "12.5");
    EXPECT_EQ(single(100), "100");
    EXPECT_EQ(single(0), "0");
    EXPECT_EQ(single(-2.5f), "-2.5");
    EXPECT_EQ(single(0.1f), "0.1");
    EXPECT_EQ(single(1.0f / 3.0f), "0.3333333");
    EXPECT_EQ(single(1234567), "1234567");
}

TEST(NumberTextSingle, RoundsHalfUpOnTheExactDigits) {
    // 1.99999988...: the eighth digit 8 carries through all the 9s.
    EXPECT_EQ(single(1.9999999f), "2");
    // 0.99999994...: the eighth digit 4 is dropped.
    EXPECT_EQ(single(0.99999994f), "0.9999999");
    // 8388607.5: exactly half, rounded up.
    EXPECT_EQ(single(8388607.5f), "8388608");
    EXPECT_EQ(single(-0.0f), "0");
    EXPECT_EQ(single(std::numeric_limits<float>::quiet_NaN()), "nan");
    EXPECT_EQ(single(-std::numeric_limits<float>::infinity()), "-inf");
}

TEST(NumberTextSingle, ExponentFormOutsideTheFixedRange) {
    EXPECT_EQ(single(1.2345678e10f), "1.234568e+010");
    EXPECT_EQ(single(-0.05f), "-5e-002");
    EXPECT_EQ(single(1e7f), "1e+007");
    // 9.9999997e-5 rounds to a new leading digit, which moves the exponent.
    EXPECT_EQ(single(9.99999996e-5f), "1e-004");
}

TEST(NumberTextDouble, SixteenDigitsDecidedByTheSeventeenth) {
    EXPECT_EQ(take(double_to_text(1.0 / 3.0)), "0.3333333333333333");
    EXPECT_EQ(take(double_to_text(0.1 + 0.2)), "0.3");
    EXPECT_EQ(take(double_to_text(-1e-300)), "-1e-300");
}

TEST(NumberTextInteger, DecimalWithMinusAndNoLeadingZeros) {
    EXPECT_EQ(take(int_to_text(30)), "30");
    EXPECT_EQ(take(int_to_text(-5)), "-5");
    EXPECT_EQ(take(int_to_text(0)), "0");
    EXPECT_EQ(take(int_to_text(std::numeric_limits<int32_t>::min())), "-2147483648");
    EXPECT_EQ(take(uint_to_text(4294967295u)), "4294967295");
}

TEST(NumberTextInteger, ModeTwoPutsABlankBeforeNonNegativeNumbers) {
    runtime_start(0, nullptr, 2);
    EXPECT_EQ(take(int_to_text(20)), " 20");
    EXPECT_EQ(take(int_to_text(-5)), "-5");
    EXPECT_EQ(take(uint_to_text(7)), " 7");
    EXPECT_EQ(single(0.5f), " 0.5");
    EXPECT_EQ(single(std::nanf("")), "nan");
    runtime_start(0, nullptr, 0);
}

}  // namespace
