#pragma once

// The lists the lesson keys step along, and their steps as pure functions
// of the values: the keys apply them to the model, and a setting given as
// text is checked against them (setting_text.h).

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "sim/spacing_cycle.h"

// "+" and "-", Page Up and Page Down, "G" and "K", "b" and "B".
std::span<const float> wavelength_list();
std::span<const int32_t> spacing_list();
std::span<const int32_t> slit_count_list();
std::span<const int32_t> slit_width_list();

// The wave number "+" and "-" give a wavelength: 2 pi over it.
float wave_number_of(float wavelength, float two_pi);

// The list's next value beyond value in the direction, or nullptr past its
// end. A value between two entries (after "a" from a stepped setting) goes to
// the next one beyond it.
const float* next_listed_wavelength(float wavelength, int32_t direction);
const int32_t* next_listed_spacing(int32_t spacing, int32_t direction);

// The most slits beyond eight whose openings lie on the barrier's rows at
// the spacing; up to eight slits count as fitting, as "g" has them.
int32_t most_slits_that_fit(int32_t spacing);

// Whether the wavelength and wave number (with any spacing of the list) are
// ones the keys "a", "+", "-", Page Up and Page Down make from the start:
// the listed wavelengths with 2 pi over them, and what "a" makes of those in
// up to A_RUNS_REACHED runs since the wavelength was last stepped, a run
// being "a" pressed as often as one likes, the spacing stepped between the
// runs. Each run rounds anew, so that beyond a bound the keys make ever
// more wave numbers, which no list can hold.
constexpr int32_t A_RUNS_REACHED = 3;
bool keys_make(float wavelength, float wave_number);
// The wave numbers the keys make with the wavelength, smallest first; none
// where they do not make the wavelength.
std::vector<float> wave_numbers_made(float wavelength);

// The keys that lead from the start to the values, each as gfx_inkey
// answers it ("a", "+", "-", KEY_PAGE_UP, KEY_PAGE_DOWN); empty where the
// start has them or the keys do not make them (keys_make says which).
std::vector<std::string_view> keys_to_values(const WaveValues& values);
