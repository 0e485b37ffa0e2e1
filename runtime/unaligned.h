#pragma once

#include <cstdint>
#include <cstring>

// Values at any byte address. Image blocks lie anywhere in caller memory,
// their rows start wherever the pitch puts them, and page buffers are byte
// arrays, so every wider read or write goes through a copy, which compilers
// turn into one plain load or store.

template <typename T>
inline T load_unaligned(const uint8_t* address) {
    T value;
    std::memcpy(&value, address, sizeof(T));
    return value;
}

template <typename T>
inline void store_unaligned(uint8_t* address, T value) {
    std::memcpy(address, &value, sizeof(T));
}
