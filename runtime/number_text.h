#pragma once

#include <cstdint>

#include "runtime/string_descriptor.h"

// Numbers as new temporary strings, released by the operation that consumes
// them; nullptr (the empty string) when memory cannot be had. In number text
// mode 2 a number of 0 or more gets a leading blank.

StringDescriptor* int_to_text(int32_t value);
StringDescriptor* uint_to_text(uint32_t value);

// 7 significant digits, rounded half up on the decimal digits of the exact
// value; fixed form for 0.1 <= |x| < 10^7, otherwise exponent form such as
// "1.234568e+010" (at least three exponent digits). Trailing fraction zeros
// and a point left at the end are dropped. NaN gives "nan", infinities "inf"
// and "-inf".
StringDescriptor* single_to_text(float value);

// The same with 16 significant digits and 0.1 <= |x| < 10^16 for fixed form.
StringDescriptor* double_to_text(double value);
