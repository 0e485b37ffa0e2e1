#include <cmath>
#include <cstdint>

#include "lessons/lessons.h"
#include "sim/sim.h"

// Where the pattern is not the textbooks' grating, and whether to say so.
// The detector line stands a few hundred pixels from the barrier, so a
// grating wider than about sqrt(lambda D) shows its near field: principal
// maxima fainter, stray peaks. The Fresnel number measures it.

namespace {

struct SpacingAndWavelength {
    int32_t spacing;
    float wavelength;
};
// The pairs of "a"'s cycle, each exact in single precision.
constexpr SpacingAndWavelength CYCLE[] = {{20, 5.0f}, {100, 25.0f}, {2, 0.5f}};

// Above this the principal maximum has lost a tenth or more of its far
// field height.
constexpr double NEAR_FIELD_FRESNEL = 0.3;

}  // namespace

double fresnel_number() {
    const double a = ((model.slit_count - 1) * static_cast<double>(model.slit_spacing) +
                      optics_model.slit_width) /
                     2.0;
    const double lambda_d =
        static_cast<double>(model.wavelength) * static_cast<double>(model.detector_distance);
    if (!(std::fabs(lambda_d) > 0)) return a == 0 ? 0.0 : INFINITY;
    return a * a / std::fabs(lambda_d);
}

bool specified_setting() {
    if (optics_model.slit_width != 0 || optics_model.far_field || model.slit_count < 1 ||
        model.slit_count > MAX_SLITS) {
        return false;
    }
    for (const SpacingAndWavelength& pair : CYCLE) {
        if (model.slit_spacing == pair.spacing && model.wavelength == pair.wavelength) return true;
    }
    return false;
}

bool near_field_noted() {
    return !specified_setting() && !optics_model.far_field && fresnel_number() > NEAR_FIELD_FRESNEL;
}
