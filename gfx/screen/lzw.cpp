#include "gfx/screen/screen.h"

namespace {

struct Entry {
    uint16_t prefix;
    uint8_t suffix;
};

// Code number k of the stream, or -1 when its bytes are not all in the input.
int32_t read_code(const uint8_t* input, size_t length, size_t k) {
    const size_t at = k / 2 * 3;
    if (k % 2 == 0) {
        if (length < 2 || at > length - 2) return -1;
        return input[at] | (input[at + 1] & 0x0F) << 8;
    }
    if (length < 3 || at > length - 3) return -1;
    return input[at + 1] >> 4 | input[at + 2] << 4;
}

}  // namespace

int32_t lzw_expand(const uint8_t* input, size_t input_length, uint8_t* output, size_t capacity,
                   size_t* output_length) {
    size_t written = 0;
    const auto finish = [&](int32_t result) {
        if (output_length != nullptr) *output_length = written;
        return result;
    };

    const int32_t first = read_code(input, input_length, 0);
    if (first == static_cast<int32_t>(LZW_END_CODE)) return finish(0);
    // Nothing is defined before the first code, so only a literal can open
    // the stream.
    if (first < 0 || first >= static_cast<int32_t>(LZW_FIRST_ENTRY)) return finish(-1);
    if (capacity == 0) return finish(-1);
    output[written++] = static_cast<uint8_t>(first);

    // Only entries below next_free are ever read, so the table needs no
    // clearing, and every prefix is smaller than its own code.
    Entry dictionary[LZW_LAST_ENTRY + 1];
    uint32_t next_free = LZW_FIRST_ENTRY;
    uint32_t previous = static_cast<uint32_t>(first);
    uint8_t first_char = static_cast<uint8_t>(first);

    for (size_t k = 1;; ++k) {
        const int32_t read = read_code(input, input_length, k);
        if (read < 0) return finish(-1);
        const uint32_t code = static_cast<uint32_t>(read);
        if (code == LZW_END_CODE) return finish(0);

        // A code one past the dictionary is the string just decoded plus its
        // own first byte; anything further names nothing and would send the
        // walk below into entries that were never written.
        uint32_t walk_from = code;
        size_t tail = 0;
        if (code >= next_free) {
            if (code != next_free) return finish(-1);
            walk_from = previous;
            tail = 1;
        }

        size_t length = 1;
        uint32_t c = walk_from;
        while (c >= LZW_FIRST_ENTRY) {
            if (length > LZW_LAST_ENTRY) return finish(-1);
            c = dictionary[c].prefix;
            ++length;
        }
        if (length + tail > capacity - written) return finish(-1);

        uint8_t* p = output + written + length;
        if (tail != 0) *p = first_char;
        for (c = walk_from; c >= LZW_FIRST_ENTRY; c = dictionary[c].prefix) {
            *--p = dictionary[c].suffix;
        }
        *--p = static_cast<uint8_t>(c);
        written += length + tail;
        first_char = static_cast<uint8_t>(c);

        if (next_free <= LZW_LAST_ENTRY) {
            dictionary[next_free] = Entry{static_cast<uint16_t>(previous), first_char};
            ++next_free;
        }
        previous = code;
    }
}
