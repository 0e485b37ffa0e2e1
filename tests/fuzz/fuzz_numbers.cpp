// Numbers and strings from raw bits: every number's text parses back to the
// number (to the digits it keeps), and the string operations agree with a
// plain model of byte strings.

#include <cmath>
#include <cstdlib>
#include <string>

#include "runtime/runtime.h"
#include "tests/fuzz/fuzz_input.h"

namespace {

std::string take_text(StringDescriptor* s) {
    std::string text;
    if (s != nullptr) text.assign(reinterpret_cast<const char*>(s->data), s->length);
    string_release_temp(s);
    return text;
}

void check_real(const std::string& text, double value, double digits_error) {
    if (std::isnan(value)) {
        FUZZ_CHECK(text == "nan");
        return;
    }
    if (std::isinf(value)) {
        FUZZ_CHECK(text == (value > 0 ? "inf" : "-inf"));
        return;
    }
    char* end = nullptr;
    // Read back wider than a double: the largest doubles round up past it.
    const long double parsed = std::strtold(text.c_str(), &end);
    FUZZ_CHECK(end == text.c_str() + text.size());
    if (!(std::fabs(parsed - static_cast<long double>(value)) <=
          std::fabs(static_cast<long double>(value)) * digits_error))
        std::fprintf(stderr, "%s for %.17g\n", text.c_str(), value);
    FUZZ_CHECK(std::fabs(parsed - static_cast<long double>(value)) <=
               std::fabs(static_cast<long double>(value)) * digits_error);
    const size_t exponent = text.find('e');
    if (exponent != std::string::npos) FUZZ_CHECK(text.size() - exponent >= 5);  // e+ddd
}

int32_t sign(int32_t v) {
    return (v > 0) - (v < 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in{data, size};
    while (input_left(in)) {
        switch (take_u8(in) % 5) {
            case 0: {
                const int32_t v = take_i32(in);
                FUZZ_CHECK(take_text(int_to_text(v)) == std::to_string(v));
                break;
            }
            case 1: {
                const uint32_t v = take_bits(in, 4);
                FUZZ_CHECK(take_text(uint_to_text(v)) == std::to_string(v));
                break;
            }
            case 2: {
                const uint32_t bits = take_bits(in, 4);
                float v;
                std::memcpy(&v, &bits, sizeof(v));
                check_real(take_text(single_to_text(v)), v, 5.01e-7);
                break;
            }
            case 3: {
                const uint64_t bits = take_bits(in, 4) | uint64_t{take_bits(in, 4)} << 32;
                double v;
                std::memcpy(&v, &bits, sizeof(v));
                // Half a unit of the 16th digit.
                check_real(take_text(double_to_text(v)), v, 5.01e-16 + 1e-18);
                break;
            }
            default: {
                // Two byte arrays of any content: assign, append, compare.
                const size_t left = in.size - in.position;
                const int32_t a_size =
                    take_range(in, 0, static_cast<int32_t>(std::min<size_t>(left, 40)));
                const std::string a(reinterpret_cast<const char*>(in.data + in.position),
                                    std::min<size_t>(a_size, in.size - in.position));
                in.position += a.size();
                const std::string b = std::to_string(take_i32(in));
                StringDescriptor s{};
                string_assign(s, a.data(), static_cast<int32_t>(a.size()));
                string_concat(s, b.data(), static_cast<int32_t>(b.size()));
                // A plain byte array ends at its first 0 byte.
                const std::string a_text = a.substr(0, a.find('\0'));
                const std::string model = a_text + b;
                FUZZ_CHECK(string_length(&s, STRING_DESCRIPTOR) ==
                           static_cast<int32_t>(model.size()));
                FUZZ_CHECK(model.empty() || std::memcmp(s.data, model.data(), model.size()) == 0);
                FUZZ_CHECK(string_compare(&s, STRING_DESCRIPTOR, a.data(),
                                          static_cast<int32_t>(a.size())) ==
                           sign(model.compare(a_text)));
                string_erase(s);
            }
        }
    }
    return 0;
}
