#include "runtime/runtime.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>

namespace {

constexpr int64_t MAX_LENGTH = std::numeric_limits<int32_t>::max();

// An argument resolved to its bytes, plus the temporary it came in, if any,
// which the operation releases once the bytes have been used.
struct Argument {
    StringBytes bytes;
    const StringDescriptor* temporary = nullptr;
};

Argument resolve(const void* s, int32_t size) {
    Argument argument;
    argument.bytes = string_bytes(s, size);
    if (s != nullptr && size == STRING_DESCRIPTOR) {
        const auto* descriptor = static_cast<const StringDescriptor*>(s);
        if (descriptor->temporary) argument.temporary = descriptor;
    }
    return argument;
}

// A buffer for length bytes and the terminating 0, or nullptr.
uint8_t* allocate_bytes(int64_t length) {
    return static_cast<uint8_t*>(std::malloc(static_cast<size_t>(length) + 1));
}

void free_bytes(StringDescriptor& s) {
    if (s.owns_data) std::free(s.data);
    s.data = nullptr;
    s.length = 0;
    s.capacity = 0;
    s.owns_data = false;
}

// Room for at least length bytes in a buffer the variable owns; the variable's
// own bytes stay where they are if the room is already there.
bool has_room(const StringDescriptor& s, int64_t length) {
    return s.owns_data && s.data != nullptr && s.capacity >= length;
}

void take_buffer(StringDescriptor& destination, StringDescriptor* source) {
    free_bytes(destination);
    destination.data = source->data;
    destination.length = source->length;
    destination.capacity = source->capacity;
    destination.owns_data = true;
    delete source;
}

}  // namespace

StringBytes string_bytes(const void* s, int32_t size) {
    StringBytes bytes;
    if (s == nullptr) return bytes;
    if (size == STRING_DESCRIPTOR) {
        const auto* descriptor = static_cast<const StringDescriptor*>(s);
        if (descriptor->data != nullptr && descriptor->length > 0) {
            bytes.data = descriptor->data;
            bytes.length = descriptor->length;
        }
        return bytes;
    }
    if (size <= 0) return bytes;
    bytes.data = static_cast<const uint8_t*>(s);
    const void* zero = std::memchr(s, 0, static_cast<size_t>(size));
    bytes.length = zero == nullptr
                       ? size
                       : static_cast<int32_t>(static_cast<const uint8_t*>(zero) - bytes.data);
    return bytes;
}

void string_assign(StringDescriptor& destination, const void* source, int32_t source_size) {
    const Argument argument = resolve(source, source_size);
    const StringBytes bytes = argument.bytes;
    // A temporary assigned to itself must not be released under the caller.
    const bool release = argument.temporary != nullptr && argument.temporary != &destination;

    if (bytes.length == 0) {
        free_bytes(destination);
    } else if (release && argument.temporary->owns_data) {
        // A converted result already sits in a buffer of its own: hand it over.
        take_buffer(destination, const_cast<StringDescriptor*>(argument.temporary));
        return;
    } else if (has_room(destination, bytes.length)) {
        // The source may be a view into these very bytes.
        std::memmove(destination.data, bytes.data, static_cast<size_t>(bytes.length));
        destination.data[bytes.length] = 0;
        destination.length = bytes.length;
    } else {
        uint8_t* buffer = allocate_bytes(bytes.length);
        if (buffer != nullptr) {
            std::memcpy(buffer, bytes.data, static_cast<size_t>(bytes.length));
            buffer[bytes.length] = 0;
        }
        free_bytes(destination);
        if (buffer != nullptr) {
            destination.data = buffer;
            destination.length = bytes.length;
            destination.capacity = bytes.length;
            destination.owns_data = true;
        }
    }
    if (release) string_release_temp(argument.temporary);
}

void string_concat(StringDescriptor& destination, const void* source, int32_t source_size) {
    const Argument argument = resolve(source, source_size);
    const StringBytes bytes = argument.bytes;
    const int64_t old_length =
        destination.data != nullptr && destination.length > 0 ? destination.length : 0;
    const int64_t new_length = old_length + bytes.length;

    if (bytes.length > 0 && new_length <= MAX_LENGTH) {
        if (has_room(destination, new_length)) {
            std::memmove(destination.data + old_length, bytes.data,
                         static_cast<size_t>(bytes.length));
            destination.data[new_length] = 0;
            destination.length = static_cast<int32_t>(new_length);
        } else {
            // Grow by half again so that a loop of appends does not copy each
            // time; if that much cannot be had, the exact size may still be.
            int64_t capacity = std::min(MAX_LENGTH, std::max(new_length, old_length * 3 / 2));
            uint8_t* buffer = allocate_bytes(capacity);
            if (buffer == nullptr && capacity > new_length) {
                capacity = new_length;
                buffer = allocate_bytes(capacity);
            }
            // Without the memory the variable stays as it was rather than
            // losing what it held.
            if (buffer != nullptr) {
                if (old_length > 0) {
                    std::memcpy(buffer, destination.data, static_cast<size_t>(old_length));
                }
                // Copied before the old buffer goes: the source may lie in it.
                std::memcpy(buffer + old_length, bytes.data, static_cast<size_t>(bytes.length));
                buffer[new_length] = 0;
                free_bytes(destination);
                destination.data = buffer;
                destination.length = static_cast<int32_t>(new_length);
                destination.capacity = static_cast<int32_t>(capacity);
                destination.owns_data = true;
            }
        }
    }
    if (argument.temporary != nullptr && argument.temporary != &destination) {
        string_release_temp(argument.temporary);
    }
}

int32_t string_compare(const void* a, int32_t a_size, const void* b, int32_t b_size) {
    const Argument first = resolve(a, a_size);
    const Argument second = resolve(b, b_size);
    const int32_t common = std::min(first.bytes.length, second.bytes.length);
    int32_t answer = 0;
    const int difference =
        common > 0 ? std::memcmp(first.bytes.data, second.bytes.data, static_cast<size_t>(common))
                   : 0;
    if (difference != 0) {
        answer = difference < 0 ? -1 : 1;
    } else if (first.bytes.length != second.bytes.length) {
        answer = first.bytes.length < second.bytes.length ? -1 : 1;
    }
    string_release_temp(first.temporary);
    if (second.temporary != first.temporary) string_release_temp(second.temporary);
    return answer;
}

int32_t string_length(const void* s, int32_t size) {
    const Argument argument = resolve(s, size);
    string_release_temp(argument.temporary);
    return argument.bytes.length;
}

StringDescriptor* string_temp(const void* bytes, int32_t length) {
    auto* view = new (std::nothrow) StringDescriptor;
    if (view == nullptr) return nullptr;
    view->temporary = true;
    if (bytes != nullptr && length > 0) {
        // A view is never written through: only buffers it owned could be.
        view->data = const_cast<uint8_t*>(static_cast<const uint8_t*>(bytes));
        view->length = length;
        view->capacity = length;
    }
    return view;
}

void string_erase(StringDescriptor& s) {
    free_bytes(s);
}

void string_release_temp(const StringDescriptor* s) {
    if (s == nullptr || !s->temporary) return;
    if (s->owns_data) std::free(s->data);
    delete s;
}

StringDescriptor* string_new_temp(const char* bytes, int32_t length) {
    auto* result = new (std::nothrow) StringDescriptor;
    if (result == nullptr) return nullptr;
    result->temporary = true;
    if (bytes == nullptr || length <= 0) return result;
    uint8_t* buffer = allocate_bytes(length);
    if (buffer == nullptr) return result;
    std::memcpy(buffer, bytes, static_cast<size_t>(length));
    buffer[length] = 0;
    result->data = buffer;
    result->length = length;
    result->capacity = length;
    result->owns_data = true;
    return result;
}
