#pragma once

// The values "a" steps a setting to, as a pure function: the key applies it
// to the model, and the lesson tools ask it which settings the keys reach.
//
//   const WaveValues next = next_spacing_values({20, 5.0f, 1.2566f}, STORED_TWO_PI);

#include <cstdint>

// 2 pi as the model has always stored it: five digits, in single precision.
inline const float STORED_TWO_PI = static_cast<float>(6.28318);

// The values "a" changes together.
struct WaveValues {
    int32_t spacing = 0;
    float wavelength = 0;
    float wave_number = 0;
    bool operator==(const WaveValues&) const = default;
};

// One step of the cycle 20/5 -> 100/25 -> 2/0.5 -> 20/5, scaling the wave
// number with the wavelength; any other spacing goes back to 20/5, its wave
// number 2 pi / 5 from two_pi.
WaveValues next_spacing_values(const WaveValues& now, float two_pi);
