#pragma once

#include <cstdint>

// A byte string. data is nullptr for the empty string; otherwise the bytes are
// followed by a 0 byte that length does not count. capacity is the room in the
// buffer, the 0 byte not counted.
struct StringDescriptor {
    uint8_t* data = nullptr;
    int32_t length = 0;
    int32_t capacity = 0;
    // A result of a conversion or of string_temp: the operation that consumes
    // it releases it (a view made by string_temp owns no bytes).
    bool temporary = false;
    bool owns_data = false;
};

// The size argument that marks a string argument as a descriptor; any other
// size is the declared size of a plain byte array (a literal's size counts its
// terminating 0).
constexpr int32_t STRING_DESCRIPTOR = -1;
