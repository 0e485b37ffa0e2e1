// Calls the light function for one setting at every detector row in turn
// (the detector line where "i" puts it), and with "chords" also with every
// slit's chords as a frame that draws the arcs does, so that an instruction
// counter such as callgrind can divide what one frame's light costs.
//
//   physics_count SLITS SPACING WAVELENGTH WIDTH near|far phasors|chords ROUNDS
//   (one round is 480 calls, one per row)

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "optics/optics.h"

int main(int argc, char** argv) {
    if (argc != 8) {
        std::fprintf(stderr,
                     "usage: physics_count SLITS SPACING WAVELENGTH WIDTH near|far "
                     "phasors|chords ROUNDS\n");
        return 1;
    }
    const int32_t slits = static_cast<int32_t>(std::strtol(argv[1], nullptr, 10));
    const double wavelength = std::strtod(argv[3], nullptr);
    const long rounds = std::strtol(argv[7], nullptr, 10);
    if (slits < 1 || slits > SLIT_CAPACITY || !(wavelength > 0) || rounds < 1) {
        std::fprintf(stderr, "physics_count: 1 to %d slits, a wavelength, rounds\n", SLIT_CAPACITY);
        return 1;
    }
    // The wave number and the slits' share of the amplitude as the program
    // stores them.
    SlitSetting setting{.slit_count = slits,
                        .slit_spacing = static_cast<int32_t>(std::strtol(argv[2], nullptr, 10)),
                        .axis_y = 248,
                        .detector_distance = 455,
                        .detector_offset = 0,
                        .wave_number = static_cast<float>(
                            static_cast<double>(static_cast<float>(6.28318)) / wavelength),
                        .slit_amplitude = static_cast<float>(80.0 / slits),
                        .slit_width = static_cast<float>(std::strtod(argv[4], nullptr)),
                        .far_field = std::strcmp(argv[5], "far") == 0};
    const bool chords = std::strcmp(argv[6], "chords") == 0;
    static ArcChords arcs;
    // Every result feeds the checksum, so that no call can be left out.
    double checksum = 0;
    for (long round = 0; round < rounds; ++round) {
        for (int32_t row = 0; row < 480; ++row) {
            setting.detector_offset = 248 - row;
            const PhasorSet light =
                light_of(setting, static_cast<float>(round), chords ? &arcs : nullptr);
            checksum += light.sum_x;
            if (!chords) continue;
            for (int32_t i = 1; i <= slits; ++i)
                checksum += arcs.dx[i][arcs.count[i] - 1];
        }
    }
    std::printf("%ld rounds, checksum %g\n", rounds, checksum);
    return 0;
}
