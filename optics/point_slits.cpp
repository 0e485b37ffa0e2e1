#include "optics/optics.h"
#include "optics/optics_internal.h"

#include <cmath>

// Point slits in the near field, as the picture has always been drawn. Every
// real is stored in single precision, but each expression that produces one
// is evaluated in double and rounded once, when stored; the picture depends
// on those roundings, so the widening below is deliberate.

namespace {

double wide(float value) {
    return static_cast<double>(value);
}
double wide(int32_t value) {
    return static_cast<double>(value);
}

}  // namespace

int32_t slit_row(const SlitSetting& setting, int32_t slit) {
    const int32_t span = (setting.slit_count - 1) * setting.slit_spacing;
    // span is always even, so the value is a whole number.
    const double y = setting.axis_y - span / 2.0 + (slit - 1) * setting.slit_spacing;
    return static_cast<int32_t>(std::lround(y));
}

Opening opening_of(const SlitSetting& setting, int32_t slit) {
    return Opening{slit_row(setting, slit), setting.slit_width, setting.slit_amplitude};
}

void slit_path_lengths(const SlitSetting& setting, float (&path_length)[SLIT_CAPACITY + 1]) {
    const double distance = wide(setting.detector_distance);
    const int32_t detector_y = setting.axis_y - setting.detector_offset;
    for (int32_t i = 1; i <= setting.slit_count && i <= SLIT_CAPACITY; ++i) {
        const int32_t dy = detector_y - slit_row(setting, i);
        // The distance is squared as a real, so a detector moved far away
        // cannot overflow an integer product.
        path_length[i] =
            static_cast<float>(std::sqrt(std::pow(wide(dy), 2.0) + distance * distance));
    }
}

PhasorSet point_slit_phasors(const SlitSetting& setting, float phase) {
    PhasorSet set;
    slit_path_lengths(setting, set.path_length);
    const double amplitude = wide(setting.slit_amplitude);
    for (int32_t i = 1; i <= setting.slit_count && i <= SLIT_CAPACITY; ++i) {
        const double angle = wide(phase) - wide(set.path_length[i]) * wide(setting.wave_number);
        set.phasor_x[i] = static_cast<float>(std::cos(angle) * amplitude);
        set.phasor_y[i] = static_cast<float>(-amplitude * std::sin(angle));
        set.sum_x = static_cast<float>(wide(set.phasor_x[i]) + wide(set.sum_x));
        set.sum_y = static_cast<float>(wide(set.phasor_y[i]) + wide(set.sum_y));
    }
    return set;
}

float intensity_of(float sum_x, float sum_y) {
    return static_cast<float>((wide(sum_x) * wide(sum_x) + wide(sum_y) * wide(sum_y)) / 100.0);
}
