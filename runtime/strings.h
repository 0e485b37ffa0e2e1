#pragma once

#include <cstdint>

#include "runtime/string_descriptor.h"

// String arguments are (pointer, size) pairs: size STRING_DESCRIPTOR means the
// pointer is a StringDescriptor*, any other size is the declared size of a plain
// byte array. A null pointer, or a size below STRING_DESCRIPTOR, is the empty
// string. A temporary descriptor passed as an argument is released by the
// operation that takes it; a nullptr result of a conversion is the empty string.

// The bytes an argument stands for; does not release anything.
struct StringBytes {
    const uint8_t* data = nullptr;
    int32_t length = 0;
};
StringBytes string_bytes(const void* s, int32_t size);

// Copies the source into the variable (an empty source frees its bytes).
// Memory that cannot be had leaves the variable empty.
void string_assign(StringDescriptor& destination, const void* source, int32_t source_size);

// Appends the source to the variable. When the longer string cannot be had
// (no memory, or more than INT32_MAX bytes) the variable keeps its contents.
void string_concat(StringDescriptor& destination, const void* source, int32_t source_size);

// -1, 0 or 1 by unsigned bytes, a shorter prefix first.
int32_t string_compare(const void* a, int32_t a_size, const void* b, int32_t b_size);

int32_t string_length(const void* s, int32_t size);

// A temporary view of the bytes, which are not copied and never freed by it.
StringDescriptor* string_temp(const void* bytes, int32_t length);

// Frees the variable's bytes and leaves it empty.
void string_erase(StringDescriptor& s);

// Releases s if it is a temporary; a variable or nullptr is left alone.
void string_release_temp(const StringDescriptor* s);

// A new temporary holding a copy of the bytes; nullptr when memory cannot be
// had. For the number conversions.
StringDescriptor* string_new_temp(const char* bytes, int32_t length);
