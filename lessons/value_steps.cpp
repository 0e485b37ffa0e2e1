#include <algorithm>
#include <cstdint>
#include <iterator>

#include "lessons/lessons.h"
#include "lessons/value_lists.h"
#include "sim/scene.h"
#include "sim/sim.h"

// The lesson's core question, how the wavelength and the slit spacing each
// change the pattern, needs them apart: "a" changes both and keeps their
// ratio, so the maxima never move. Each list runs in steps a class can see.
// Beyond the eight slits of "g", a grating's count runs along a list of its
// own, as far as its slits fit on the barrier.

namespace {

constexpr float WAVELENGTHS[] = {0.5f, 1.0f, 1.5f, 2.0f, 2.5f, 3.0f,  3.5f,  4.0f,  4.5f,  5.0f,
                                 5.5f, 6.0f, 7.0f, 8.0f, 9.0f, 10.0f, 12.5f, 15.0f, 20.0f, 25.0f};
constexpr int32_t SPACINGS[] = {2, 3, 4, 5, 6, 8, 10, 12, 15, 20, 25, 30, 40, 50, 60, 80, 100};
constexpr int32_t SLIT_COUNTS[] = {1, 2, 3, 4, 5, 6, 7, 8, 10, 12, 16, 20, 25, 32, 40, 50};
static_assert(SLIT_COUNTS[std::size(SLIT_COUNTS) - 1] <= SLIT_CAPACITY);

// The step of every list, as value_lists.h describes it.
template <typename T, size_t N>
const T* next_in_list(const T (&list)[N], T value, int32_t direction) {
    if (direction > 0) {
        for (const T& entry : list) {
            if (entry > value) return &entry;
        }
        return nullptr;
    }
    for (auto entry = std::rbegin(list); entry != std::rend(list); ++entry) {
        if (*entry < value) return &*entry;
    }
    return nullptr;
}

void set_slit_count(int32_t count) {
    model.slit_count = count;
    model.slit_amplitude =
        static_cast<float>(static_cast<double>(model.total_amplitude) / static_cast<double>(count));
}

}  // namespace

std::span<const float> wavelength_list() {
    return WAVELENGTHS;
}
std::span<const int32_t> spacing_list() {
    return SPACINGS;
}
std::span<const int32_t> slit_count_list() {
    return SLIT_COUNTS;
}

float wave_number_of(float wavelength, float two_pi) {
    return static_cast<float>(static_cast<double>(two_pi) / static_cast<double>(wavelength));
}

const float* next_listed_wavelength(float wavelength, int32_t direction) {
    return next_in_list(WAVELENGTHS, wavelength, direction);
}
const int32_t* next_listed_spacing(int32_t spacing, int32_t direction) {
    return next_in_list(SPACINGS, spacing, direction);
}

// Spread about the axis, the lower half reaches the bottom first.
int32_t most_slits_that_fit(int32_t spacing) {
    const int32_t half_span = std::min(AXIS_Y - BARRIER_TOP, BARRIER_BOTTOM - AXIS_Y);
    return std::max(MAX_SLITS, 1 + 2 * half_span / std::max(spacing, 1));
}

void step_wavelength(int32_t direction) {
    const float* next = next_listed_wavelength(model.wavelength, direction);
    if (next == nullptr) return;
    model.wavelength = *next;
    model.wave_number = wave_number_of(model.wavelength, model.two_pi);
    redraw_scene();
}

void step_spacing(int32_t direction) {
    const int32_t* next = next_listed_spacing(model.slit_spacing, direction);
    if (next == nullptr) return;
    model.slit_spacing = *next;
    fit_slits_to_spacing();
    redraw_scene();
}

void step_slit_count(int32_t direction) {
    const int32_t* next = next_in_list(SLIT_COUNTS, model.slit_count, direction);
    if (next == nullptr || *next > most_slits_that_fit(model.slit_spacing)) return;
    set_slit_count(*next);
    redraw_scene();
}

bool fit_slits_to_spacing() {
    const int32_t most = most_slits_that_fit(model.slit_spacing);
    if (model.slit_count <= most) return false;
    set_slit_count(most);
    return true;
}
