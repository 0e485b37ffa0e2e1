#include "sim/spacing_cycle.h"

// The divisors are double constants, the factors single ones; each result is
// stored as single, as the key has always computed it.
WaveValues next_spacing_values(const WaveValues& now, float two_pi) {
    const double k = now.wave_number;
    const double lambda = now.wavelength;
    switch (now.spacing) {
        case 2:
            return {20, static_cast<float>(10.0f * lambda), static_cast<float>(k / 10.0)};
        case 20:
            return {100, static_cast<float>(5.0f * lambda), static_cast<float>(k / 5.0)};
        case 100:
            return {2, static_cast<float>(lambda / 50.0), static_cast<float>(50.0f * k)};
        default:
            // A spacing stepped on its own: back to the pair the program
            // starts with, where the cycle takes over again.
            return {20, 5.0f, static_cast<float>(static_cast<double>(two_pi) / 5.0)};
    }
}
