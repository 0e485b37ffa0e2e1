#pragma once

#include <cstdint>
#include <random>

#include "lessons/setting_text.h"
#include "lessons/value_lists.h"

// A setting the keys reach, drawn at random, at the start's phase: the
// wavelength, wave number and spacing from a walk along their keys' pure
// steps, the rest from the lists and ranges the keys allow.
inline Setting random_setting(std::mt19937& random) {
    const auto pick = [&random](auto list) {
        return list[std::uniform_int_distribution<size_t>(0, list.size() - 1)(random)];
    };
    const auto chance = [&random] { return std::bernoulli_distribution(0.5)(random); };
    Setting s = start_setting();
    WaveValues v{s.slit_spacing, s.wavelength, s.wave_number};
    int32_t runs = 0;  // of "a", as value_lists.h counts them
    bool after_a = false;
    const int32_t steps = std::uniform_int_distribution<int32_t>(0, 40)(random);
    for (int32_t i = 0; i < steps; ++i) {
        const int32_t key = std::uniform_int_distribution<int32_t>(0, 4)(random);
        const int32_t direction = key % 2 == 0 ? 1 : -1;
        if (key < 2) {
            if (const float* next = next_listed_wavelength(v.wavelength, direction)) {
                v = {v.spacing, *next, wave_number_of(*next, STORED_TWO_PI)};
                runs = 0;
                after_a = false;
            }
        } else if (key < 4) {
            if (const int32_t* next = next_listed_spacing(v.spacing, direction)) {
                v.spacing = *next;
                after_a = false;
            }
        } else if (const int32_t run = after_a ? runs : runs + 1; run <= A_RUNS_REACHED) {
            v = next_spacing_values(v, STORED_TWO_PI);
            runs = run;
            after_a = true;
        }
    }
    s.slit_spacing = v.spacing;
    s.wavelength = v.wavelength;
    s.wave_number = v.wave_number;
    do {
        s.slit_count = pick(slit_count_list());
    } while (s.slit_count > most_slits_that_fit(s.slit_spacing));
    do {
        s.slit_width = pick(slit_width_list());
    } while (s.slit_count > 1 && s.slit_width >= s.slit_spacing);
    s.far_field = chance();
    s.detector_x = std::uniform_int_distribution<int32_t>(BARRIER_X, LAST_COLUMN)(random);
    s.detector_offset = std::uniform_int_distribution<int32_t>(OFFSET_BOTTOM, OFFSET_TOP)(random);
    s.curve = chance();
    s.readouts = chance();
    s.view = static_cast<WaveView>(std::uniform_int_distribution<int32_t>(0, 2)(random));
    s.projector = chance();
    s.menu = chance();
    s.help = chance();
    return s;
}
