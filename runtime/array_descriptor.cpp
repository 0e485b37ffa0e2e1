#include "runtime/runtime.h"

#include <cstdlib>
#include <limits>

namespace {

constexpr int64_t MAX_BYTES = std::numeric_limits<int32_t>::max();

void destroy_strings(const ArrayDescriptor& array) {
    if (array.element_size != static_cast<int32_t>(sizeof(StringDescriptor))) return;
    auto* strings = reinterpret_cast<StringDescriptor*>(array.data);
    const int32_t count = array.total_bytes / array.element_size;
    for (int32_t i = 0; i < count; ++i)
        string_erase(strings[i]);
}

void release(ArrayDescriptor& array, bool destroy) {
    if (array.data != nullptr) {
        if (destroy) destroy_strings(array);
        std::free(array.data);
    }
    array = ArrayDescriptor{};
}

int32_t fail(int32_t error) {
    last_error = error;
    return error;
}

}  // namespace

int32_t array_create(ArrayDescriptor& array, int32_t element_size, bool zero_fill, bool destroy_old,
                     int32_t dimension_count, std::span<const int32_t> bounds) {
    release(array, destroy_old);
    if (dimension_count < 1 || dimension_count > ARRAY_MAX_DIMENSIONS || element_size < 1 ||
        bounds.size() != static_cast<size_t>(dimension_count) * 2) {
        return fail(ERROR_ILLEGAL_ARGUMENT);
    }

    std::array<ArrayDimension, ARRAY_MAX_DIMENSIONS> dimensions{};
    for (int32_t d = 0; d < dimension_count; ++d) {
        const int32_t lower = bounds[static_cast<size_t>(d) * 2];
        const int32_t upper = bounds[static_cast<size_t>(d) * 2 + 1];
        if (upper < lower) return fail(ERROR_ILLEGAL_ARGUMENT);
        dimensions[d] = {0, lower, upper};
    }
    // The byte count is built up step by step so that an overflowing product
    // is caught as soon as it passes the limit (it then cannot be had).
    int64_t bytes = element_size;
    for (int32_t d = 0; d < dimension_count; ++d) {
        const int64_t count = int64_t{dimensions[d].upper} - dimensions[d].lower + 1;
        if (count > MAX_BYTES || bytes * count > MAX_BYTES) return fail(ERROR_OUT_OF_MEMORY);
        bytes *= count;
        dimensions[d].count = static_cast<int32_t>(count);
    }

    void* block = zero_fill ? std::calloc(static_cast<size_t>(bytes), 1)
                            : std::malloc(static_cast<size_t>(bytes));
    if (block == nullptr) return fail(ERROR_OUT_OF_MEMORY);

    // Linear index of the lower corner, in unsigned arithmetic: it wraps
    // exactly as the element addresses computed from the origin do.
    std::uintptr_t corner = 0;
    std::uintptr_t stride = 1;
    for (int32_t d = 0; d < dimension_count; ++d) {
        corner += static_cast<std::uintptr_t>(static_cast<intptr_t>(dimensions[d].lower)) * stride;
        stride *= static_cast<std::uintptr_t>(dimensions[d].count);
    }
    array.data = static_cast<uint8_t*>(block);
    array.origin = reinterpret_cast<std::uintptr_t>(block) -
                   corner * static_cast<std::uintptr_t>(element_size);
    array.total_bytes = static_cast<int32_t>(bytes);
    array.element_size = element_size;
    array.dimension_count = dimension_count;
    array.dimensions = dimensions;
    last_error = ERROR_NONE;
    return ERROR_NONE;
}

void array_erase(ArrayDescriptor& array, bool destroy) {
    release(array, destroy);
    last_error = ERROR_NONE;
}
