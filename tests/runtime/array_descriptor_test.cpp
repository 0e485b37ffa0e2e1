#include "runtime/runtime.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <limits>

namespace {

TEST(ArrayCreate, LabelScratchIsZeroFilledWithItsFirstElementAtTheStart) {
    ArrayDescriptor a;
    const int32_t n = 3;
    const std::array<int32_t, 2> bounds{1, 64 * n};
    ASSERT_EQ(array_create(a, 4, true, false, 1, bounds), 0);
    EXPECT_EQ(last_error, 0);
    EXPECT_EQ(a.total_bytes, 256 * n);
    EXPECT_EQ(a.dimensions[0].count, 64 * n);
    EXPECT_TRUE(std::all_of(a.data, a.data + a.total_bytes, [](uint8_t b) { return b == 0; }));
    EXPECT_EQ(a.origin + 1 * 4, reinterpret_cast<std::uintptr_t>(a.data));
    array_erase(a, false);
    EXPECT_EQ(a.data, nullptr);
}

TEST(ArrayCreate, OriginFindsEveryElementOfTwoDimensions) {
    ArrayDescriptor a;
    const std::array<int32_t, 4> bounds{-2, 2, 10, 12};  // 5 x 3, first subscript fastest
    ASSERT_EQ(array_create(a, 8, true, false, 2, bounds), 0);
    const auto address = [&](int32_t i, int32_t j) { return a.origin + (i + 5 * j) * 8u; };
    EXPECT_EQ(address(-2, 10), reinterpret_cast<std::uintptr_t>(a.data));
    EXPECT_EQ(address(2, 12), reinterpret_cast<std::uintptr_t>(a.data) + a.total_bytes - 8);
    array_erase(a, false);
}

TEST(ArrayCreate, ReversedBoundsAreAnIllegalArgument) {
    ArrayDescriptor a;
    const std::array<int32_t, 2> good{0, 9};
    ASSERT_EQ(array_create(a, 4, false, false, 1, good), 0);
    const std::array<int32_t, 2> reversed{5, 4};
    EXPECT_EQ(array_create(a, 4, true, false, 1, reversed), 1);
    EXPECT_EQ(last_error, 1);
    EXPECT_EQ(a.data, nullptr);  // the old block was freed all the same
}

TEST(ArrayCreate, ProductBeyondTheLimitIsOutOfMemory) {
    ArrayDescriptor a;
    const std::array<int32_t, 4> huge{1, 65536, 1, 65536};
    EXPECT_EQ(array_create(a, 4, true, false, 2, huge), 4);
    EXPECT_EQ(last_error, 4);
    EXPECT_EQ(a.data, nullptr);
    const std::array<int32_t, 2> widest{std::numeric_limits<int32_t>::min(),
                                        std::numeric_limits<int32_t>::max()};
    EXPECT_EQ(array_create(a, 1, false, false, 1, widest), 4);
}

TEST(ArrayCreate, DestroyingFreesTheStringsItHolds) {
    ArrayDescriptor a;
    const std::array<int32_t, 2> bounds{0, 2};
    ASSERT_EQ(array_create(a, sizeof(StringDescriptor), true, false, 1, bounds), 0);
    auto* strings = reinterpret_cast<StringDescriptor*>(a.data);
    string_assign(strings[0], "held", 5);
    string_assign(strings[2], "also", 5);
    // Without freeing them the sanitizer's leak check fails this test.
    ASSERT_EQ(array_create(a, sizeof(StringDescriptor), true, true, 1, bounds), 0);
    string_assign(reinterpret_cast<StringDescriptor*>(a.data)[1], "last", 5);
    array_erase(a, true);
}

}  // namespace
