// lzw_expand on any bytes: it stays within its input and its output, answers
// 0 or -1, and expands what our encoder made of the same bytes back to them.

#include <vector>

#include "gfx/screen/screen.h"
#include "tests/fuzz/fuzz_input.h"
#include "tools/lzw_compress.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Exact-size buffers, so that any read or write past them is a finding.
    std::vector<uint8_t> input(data, data + size);
    const size_t capacity = size == 0 ? 0 : data[0] * 64u;
    std::vector<uint8_t> output(capacity);
    size_t written = 0;
    const int32_t result =
        lzw_expand(input.data(), input.size(), output.data(), capacity, &written);
    FUZZ_CHECK(result == 0 || result == -1);
    FUZZ_CHECK(written <= capacity);

    // The encoder clears a 2 MB table per call: the round trip on every
    // eighth input keeps the decoder's runs fast.
    if (size == 0 || data[0] % 8 != 0) return 0;
    const std::vector<uint8_t> packed = lzw_compress(data, size);
    std::vector<uint8_t> unpacked(size);
    size_t length = 0;
    FUZZ_CHECK(lzw_expand(packed.data(), packed.size(), unpacked.data(), size, &length) == 0);
    FUZZ_CHECK(length == size && unpacked == input);
    return 0;
}
