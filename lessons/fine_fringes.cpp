#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

#include "lessons/lessons.h"
#include "lessons/lessons_internal.h"
#include "optics/optics.h"
#include "sim/sim.h"

// A curve that does not alias. The curve samples the detector line once per
// row; fringes closer than a few rows (spacing 100 at wavelength 0.5: 2.3
// rows) would show a slow beat that is not there. Where the setting is not
// one of the program's own, such a row shows the mean intensity over one
// local fringe, as an eye sees fine fringes: the envelope. The program's
// own settings keep their point samples, aliasing or not.
//
// The local fringe: the path difference of neighbouring slits (or of one
// opening's edges) grows by a wavelength. Its rate along the detector line
// is the difference of the outer sources' sin theta, shared among the
// slits; in the far field the textbooks' span D^2 / r0^3.

namespace {

// The mean over a fringe is taken at this many points at least; a fringe of
// N slits has N - 1 zeros, and the midpoint rule is exact over a period for
// harmonics below its count of points.
constexpr int32_t FEWEST_POINTS = 16;
constexpr int32_t MOST_POINTS = 128;

double sin_from(double row, double source, double distance) {
    const double dy = row - source;
    const double r = std::sqrt(dy * dy + distance * distance);
    return r > 0 ? dy / r : 0.0;
}

}  // namespace

double local_fringe_period(const SlitSetting& setting, double row) {
    const int32_t count = std::clamp(setting.slit_count, 1, SLIT_CAPACITY);
    double top = slit_row(setting, 1);
    double bottom = slit_row(setting, count);
    int32_t gaps = count - 1;
    if (count == 1) {
        if (!(setting.slit_width > 0)) return INFINITY;
        top -= static_cast<double>(setting.slit_width) / 2.0;
        bottom += static_cast<double>(setting.slit_width) / 2.0;
        gaps = 1;
    }
    const double distance = setting.detector_distance;
    double rate = 0;
    if (setting.far_field) {
        const double height = (top + bottom) / 2.0 - row;
        const double r0 = std::sqrt(height * height + distance * distance);
        rate = r0 > 0 ? (bottom - top) * distance * distance / (r0 * r0 * r0) : 0.0;
    } else {
        rate = std::fabs(sin_from(row, top, distance) - sin_from(row, bottom, distance));
    }
    rate /= gaps;
    const double wavelength =
        2.0 * std::numbers::pi / std::fabs(static_cast<double>(setting.wave_number));
    if (!(rate > 0) || !std::isfinite(wavelength)) return INFINITY;
    return wavelength / rate;
}

bool curve_averaged_at(int32_t y) {
    if (specified_setting()) return false;
    return local_fringe_period(setting_of(model), y) < FINEST_FRINGES;
}

float lesson_curve_intensity(void* context, int32_t y, float intensity) {
    // The lab view draws its curve from its wall's rows.
    if (specified_setting() || lesson_state(context).lab.on) return intensity;
    const SlitSetting setting = setting_of(model);
    const double period = local_fringe_period(setting, y);
    if (!(period < FINEST_FRINGES)) return intensity;
    const int32_t points =
        std::clamp(2 * setting.slit_count + FEWEST_POINTS, FEWEST_POINTS, MOST_POINTS);
    double sum = 0;
    for (int32_t j = 0; j < points; ++j) {
        const double row = y + period * ((j + 0.5) / points - 0.5);
        const PhasorSet light = light_at_row(setting, model.phase, row);
        sum += intensity_of(light.sum_x, light.sum_y);
    }
    return static_cast<float>(sum / points);
}
