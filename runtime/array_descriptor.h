#pragma once

#include <array>
#include <cstdint>
#include <span>

constexpr int32_t ARRAY_MAX_DIMENSIONS = 8;

struct ArrayDimension {
    int32_t count = 0;
    int32_t lower = 0;
    int32_t upper = 0;
};

// A dynamic array. The first subscript varies fastest: the element with
// subscripts (i1, i2, ...) has the linear index i1 + count1 * (i2 + count2 *
// (...)) and lies at origin + index * element_size.
struct ArrayDescriptor {
    // The address that linear index 0 would have. It usually lies outside the
    // block (before it, for positive lower bounds), so it is kept as an integer
    // and computed modulo the address width: adding index * element_size in
    // the same arithmetic lands on the element.
    std::uintptr_t origin = 0;
    uint8_t* data = nullptr;
    int32_t total_bytes = 0;
    int32_t element_size = 0;
    int32_t dimension_count = 0;
    std::array<ArrayDimension, ARRAY_MAX_DIMENSIONS> dimensions{};
};

// Replaces the array's contents by a new block of element_size bytes per
// element, with the bounds given as a lower and an upper bound per dimension.
// Returns and stores in last_error: 0; 1 for reversed bounds, a bound list that
// does not hold dimension_count pairs, no or more than ARRAY_MAX_DIMENSIONS
// dimensions, or an element size below 1; 4 when the memory cannot be had or
// the block would exceed INT32_MAX bytes. On failure the array is empty.
// destroy_old (and destroy in array_erase) says the elements are string
// variables (such an array is created zero-filled, so every element starts as
// the empty string), whose bytes are freed first; it is ignored for elements
// of any other size.
int32_t array_create(ArrayDescriptor& array, int32_t element_size, bool zero_fill, bool destroy_old,
                     int32_t dimension_count, std::span<const int32_t> bounds);

void array_erase(ArrayDescriptor& array, bool destroy);
