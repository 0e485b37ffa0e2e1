#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// The fuzzer's bytes read front to back as the values a target needs. Once
// they run out every value reads as 0, so any prefix is a complete input.
struct FuzzInput {
    const uint8_t* data;
    size_t size;
    size_t position = 0;
};

inline bool input_left(const FuzzInput& in) {
    return in.position < in.size;
}

inline uint32_t take_bits(FuzzInput& in, int bytes) {
    uint32_t value = 0;
    for (int i = 0; i < bytes; ++i) {
        const uint32_t byte = input_left(in) ? in.data[in.position++] : 0;
        value |= byte << (8 * i);
    }
    return value;
}

inline uint8_t take_u8(FuzzInput& in) {
    return static_cast<uint8_t>(take_bits(in, 1));
}

inline int32_t take_i32(FuzzInput& in) {
    return static_cast<int32_t>(take_bits(in, 4));
}

// A number in lo..hi.
inline int32_t take_range(FuzzInput& in, int32_t lo, int32_t hi) {
    const uint32_t span = static_cast<uint32_t>(hi - lo) + 1;
    return lo + static_cast<int32_t>(take_bits(in, span > 256 ? 2 : 1) % span);
}

// Mostly small coordinates near a small screen, sometimes any bit pattern
// (NaN, infinities, huge and tiny values).
inline float take_coordinate(FuzzInput& in) {
    const uint8_t kind = take_u8(in);
    if (kind < 0x30) {
        const uint32_t bits = take_bits(in, 4);
        float value;
        std::memcpy(&value, &bits, sizeof(value));
        return value;
    }
    const int16_t whole = static_cast<int16_t>(take_bits(in, 2));
    return static_cast<float>(whole % 400) + (kind & 3) * 0.25f;
}

// Stops the fuzzer with the input that broke a rule the target checks.
#define FUZZ_CHECK(condition)                                                                  \
    do {                                                                                       \
        if (!(condition)) {                                                                    \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                      \
        }                                                                                      \
    } while (0)
