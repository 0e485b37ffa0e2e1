#include "runtime/runtime.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// A double's exact decimal expansion has at most 767 significant digits, so
// printing this many leaves nothing for printf to round: the digit that
// decides our own rounding is the true one.
constexpr int EXACT_DIGITS = 767;

constexpr int SINGLE_DIGITS = 7;
constexpr int DOUBLE_DIGITS = 16;

// Long enough for the longest text: blank, sign, 17 digits, point and an
// exponent such as "e-308".
struct Text {
    std::array<char, 40> bytes{};
    int length = 0;

    void put(char c) { bytes[length++] = c; }
    void put(const char* s) {
        while (*s != 0)
            put(*s++);
    }
    void put(const char* s, int count) {
        for (int i = 0; i < count; ++i)
            put(s[i]);
    }
};

StringDescriptor* to_string(const Text& text) {
    return string_new_temp(text.bytes.data(), text.length);
}

bool wants_blank() {
    return number_text_mode() == 2;
}

// The first `significant` digits of the magnitude, rounded half up on the next
// digit. Returns the count of digits, significant + 1 when 9s carried into a
// new leading 1, and the decimal exponent of the first digit before rounding.
int rounded_digits(double magnitude, int significant, char* digits, int& exponent) {
    std::array<char, EXACT_DIGITS + 16> expansion{};
    std::snprintf(expansion.data(), expansion.size(), "%.*e", EXACT_DIGITS, magnitude);
    // "d.ddd...e+xx": the first digit, the point, then the others.
    digits[0] = expansion[0];
    std::memcpy(digits + 1, expansion.data() + 2, static_cast<size_t>(significant - 1));
    exponent = std::atoi(std::strchr(expansion.data(), 'e') + 1);
    if (expansion[static_cast<size_t>(significant) + 1] < '5') return significant;

    int i = significant - 1;
    while (i >= 0 && digits[i] == '9')
        digits[i--] = '0';
    if (i >= 0) {
        ++digits[i];
        return significant;
    }
    digits[0] = '1';
    std::memset(digits + 1, '0', static_cast<size_t>(significant));
    return significant + 1;
}

// Without trailing zeros; nothing at all when only zeros remain.
int trimmed_length(const char* digits, int count) {
    while (count > 0 && digits[count - 1] == '0')
        --count;
    return count;
}

// Fixed form starts at 0.1, so the digits never need zeros between the point
// and the first of them: at most all of them follow a leading "0.".
void put_fixed(Text& text, const char* digits, int count, int decimals) {
    const int whole = count - decimals;
    if (whole == 0) {
        text.put('0');
    } else {
        text.put(digits, whole);
    }
    const int fraction = trimmed_length(digits + whole, decimals);
    if (fraction > 0) {
        text.put('.');
        text.put(digits + whole, fraction);
    }
}

void put_exponent_form(Text& text, const char* digits, int count, int exponent) {
    text.put(digits[0]);
    const int rest = trimmed_length(digits + 1, count - 1);
    if (rest > 0) {
        text.put('.');
        text.put(digits + 1, rest);
    }
    std::array<char, 8> tail{};
    const int n = std::snprintf(tail.data(), tail.size(), "e%c%03d", exponent < 0 ? '-' : '+',
                                std::abs(exponent));
    text.put(tail.data(), n);
}

StringDescriptor* real_to_text(double value, int significant) {
    Text text;
    // NaN compares false, so it gets no blank.
    if (wants_blank() && value >= 0) text.put(' ');
    if (std::isnan(value)) {
        text.put("nan");
        return to_string(text);
    }
    if (value < 0) text.put('-');
    const double magnitude = std::fabs(value);
    if (std::isinf(magnitude)) {
        text.put("inf");
    } else if (magnitude == 0) {
        text.put('0');
    } else {
        std::array<char, DOUBLE_DIGITS + 2> digits{};
        int exponent = 0;
        const int count = rounded_digits(magnitude, significant, digits.data(), exponent);
        if (exponent >= -1 && exponent <= significant - 1) {
            put_fixed(text, digits.data(), count, significant - 1 - exponent);
        } else {
            // A carry into a new leading 1 moves the exponent up instead.
            put_exponent_form(text, digits.data(), count, exponent + (count - significant));
        }
    }
    return to_string(text);
}

template <typename Integer>
StringDescriptor* integer_to_text(Integer value, bool blank) {
    Text text;
    if (blank) text.put(' ');
    char* first = text.bytes.data() + text.length;
    const auto result = std::to_chars(first, text.bytes.data() + text.bytes.size(), value);
    text.length += static_cast<int>(result.ptr - first);
    return to_string(text);
}

}  // namespace

StringDescriptor* int_to_text(int32_t value) {
    return integer_to_text(value, wants_blank() && value >= 0);
}

StringDescriptor* uint_to_text(uint32_t value) {
    return integer_to_text(value, wants_blank());
}

StringDescriptor* single_to_text(float value) {
    return real_to_text(static_cast<double>(value), SINGLE_DIGITS);
}

StringDescriptor* double_to_text(double value) {
    return real_to_text(value, DOUBLE_DIGITS);
}
