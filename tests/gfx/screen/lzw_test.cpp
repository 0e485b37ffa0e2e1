#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <vector>

#include "gfx/screen/screen.h"
#include "tests/support/gfx_state.h"
#include "tools/lzw_compress.h"

namespace {

using Lzw = test_support::GfxTest;

using Bytes = std::vector<uint8_t>;

// Into a heap buffer of exactly `capacity` bytes, so the address sanitizer
// catches any write past it.
int32_t expand(const Bytes& in, size_t capacity, Bytes* out = nullptr) {
    std::unique_ptr<uint8_t[]> buffer(new uint8_t[capacity + (capacity == 0)]);
    size_t length = 0;
    const int32_t result = lzw_expand(in.data(), in.size(), buffer.get(), capacity, &length);
    EXPECT_LE(length, capacity);
    if (out != nullptr) out->assign(buffer.get(), buffer.get() + length);
    return result;
}

Bytes random_bytes(size_t n, int alphabet, uint32_t seed) {
    std::mt19937 rng(seed);
    Bytes b(n);
    for (auto& v : b)
        v = static_cast<uint8_t>(rng() % alphabet);
    return b;
}

TEST_F(Lzw, BuiltInBlockExpandsToExactlyItsSize) {
    const Bytes block(runtime_data_compressed,
                      runtime_data_compressed + runtime_data_compressed_size);
    Bytes out;
    EXPECT_EQ(expand(block, RUNTIME_DATA_SIZE + 100, &out), 0);
    EXPECT_EQ(out.size(), static_cast<size_t>(RUNTIME_DATA_SIZE));
    EXPECT_EQ(expand(block, RUNTIME_DATA_SIZE - 1), -1);
}

TEST_F(Lzw, CompressedDataComesBackUnchanged) {
    const Bytes cases[] = {
        {42},
        {'a', 'b'},
        Bytes(100000, 'x'),          // codes used in the step that defines them
        random_bytes(200000, 3, 1),  // long past the last dictionary entry
        random_bytes(30000, 256, 2),
    };
    bool parity_seen[2] = {false, false};
    for (const Bytes& data : cases) {
        const Bytes packed = lzw_compress(data.data(), data.size());
        // Three bytes per pair of codes, two for a lone last one.
        ASSERT_NE(packed.size() % 3, 1u);
        parity_seen[packed.size() % 3 == 0] = true;
        Bytes out;
        ASSERT_EQ(expand(packed, data.size(), &out), 0) << data.size();
        EXPECT_EQ(out, data);
    }
    EXPECT_TRUE(parity_seen[0] && parity_seen[1]);

    Bytes out{1};
    EXPECT_EQ(expand(lzw_compress(nullptr, 0), 0, &out), 0);
    EXPECT_TRUE(out.empty());
}

TEST_F(Lzw, DamagedInputFailsWithoutOverrun) {
    const Bytes data = random_bytes(3000, 4, 3);
    const Bytes packed = lzw_compress(data.data(), data.size());
    for (size_t cut = 0; cut < packed.size(); ++cut) {
        ASSERT_EQ(expand(Bytes(packed.begin(), packed.begin() + cut), data.size()), -1) << cut;
    }
    EXPECT_EQ(expand(packed, data.size() - 1), -1);
    // 'A', then 300 while 256 is the next free code; a dictionary code first.
    EXPECT_EQ(expand({0x41, 0xC0, 0x12, 0xFF, 0x0F}, 100), -1);
    EXPECT_EQ(expand({0x00, 0xF1, 0xFF}, 100), -1);

    // Noise mostly fails at once; a damaged real stream gets deeper.
    std::mt19937 rng(4);
    for (int round = 0; round < 2000; ++round) {
        Bytes garbage = round % 2 ? random_bytes(rng() % 600, 256, rng()) : packed;
        for (int hit = 0; hit < 4 && round % 2 == 0; ++hit)
            garbage[rng() % garbage.size()] = rng();
        const int32_t result = expand(garbage, rng() % 4000);
        ASSERT_TRUE(result == 0 || result == -1);
    }
}

}  // namespace
