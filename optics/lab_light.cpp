#include "optics/lab_light.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "optics/optics_internal.h"
#include "optics/segment_rule.h"

// Lengths in millimetres. A source u millimetres above the axis lies
// r(u) = sqrt(L^2 + (x - u)^2) from the place x on the wall; its path less
// the middle's, r(u) - r(0), is taken as (u^2 - 2 x u) / (r(u) + r(0)),
// which keeps every digit where the two distances agree to nine of them.

namespace {

constexpr double TWO_PI = 2.0 * std::numbers::pi;
constexpr double TOTAL_AMPLITUDE = 80.0;
constexpr int32_t MOST_SEGMENTS = 256;

struct Wall {
    double distance;  // L
    double place;     // x
    double middle;    // r(0)
};

Wall wall_of(const LabSetting& lab, double place_mm) {
    const double distance = lab.wall_m * 1000.0;
    return Wall{distance, place_mm, std::hypot(distance, place_mm)};
}

double path_beyond_middle(const Wall& wall, double u) {
    const double r = std::hypot(wall.distance, wall.place - u);
    return (u * u - 2.0 * wall.place * u) / (r + wall.middle);
}

double wave_number_per_mm(const LabSetting& lab) {
    return TWO_PI / (lab.wavelength_nm * 1e-6);
}

double slit_height_mm(const LabSetting& lab, int32_t slit) {
    return (static_cast<double>(slit) - (lab.slit_count + 1) / 2.0) * lab.spacing_mm;
}

// The mean of e^{-i k (r(u) - r(0))} over the opening around u0, by the
// program's one segment rule; a point slit's is its own term.
void opening_mean(const LabSetting& lab, const Wall& wall, double u0, double& re, double& im) {
    const double k = wave_number_per_mm(lab);
    if (lab.width_mm <= 0.0) {
        const double angle = std::remainder(k * path_beyond_middle(wall, u0), TWO_PI);
        re = std::cos(angle);
        im = -std::sin(angle);
        return;
    }
    const double half = lab.width_mm / 2.0;
    const double nearest =
        std::hypot(wall.distance, std::max(0.0, std::abs(wall.place - u0) - half));
    const double most =
        longest_segment(near_field_bending(k, wall.distance, nearest), PHASE_TOLERANCE);
    const auto segments = static_cast<int32_t>(
        std::clamp(std::ceil(lab.width_mm / most), 1.0, static_cast<double>(MOST_SEGMENTS)));
    const double h = lab.width_mm / segments;
    re = 0.0;
    im = 0.0;
    for (int32_t j = 0; j < segments; ++j) {
        const double start = u0 - half + j * h;
        const double path_start = path_beyond_middle(wall, start);
        const double path_end = path_beyond_middle(wall, start + h);
        const double path_middle = path_beyond_middle(wall, start + h / 2.0);
        const double weight = secant_weight(k, path_start, path_end) / segments;
        const double angle = std::remainder(k * path_middle, TWO_PI);
        re += weight * std::cos(angle);
        im -= weight * std::sin(angle);
    }
}

}  // namespace

LabLight lab_light(const LabSetting& lab, double place_mm, double phase) {
    LabLight light;
    const int32_t count = std::clamp(lab.slit_count, 0, SLIT_CAPACITY);
    if (count == 0) return light;
    const Wall wall = wall_of(lab, place_mm);
    const double amplitude = TOTAL_AMPLITUDE / count;
    const double turn = std::remainder(phase, TWO_PI);
    const double c = std::cos(turn), s = std::sin(turn);
    for (int32_t i = 1; i <= count; ++i) {
        double re = 0.0, im = 0.0;
        opening_mean(lab, wall, slit_height_mm(lab, i), re, im);
        // e^{i phase} times the mean, drawn y-down.
        const double x = amplitude * (c * re - s * im);
        const double y = amplitude * (s * re + c * im);
        light.phasor_x[i] = x;
        light.phasor_y[i] = -y;
        light.sum_x += x;
        light.sum_y -= y;
    }
    light.intensity = (light.sum_x * light.sum_x + light.sum_y * light.sum_y) / 100.0;
    return light;
}

double lab_angle(const LabSetting& lab, double place_mm) {
    return std::atan2(place_mm, lab.wall_m * 1000.0);
}

double order_place_mm(const LabSetting& lab, int32_t order) {
    const double sine = order * lab.wavelength_nm * 1e-6 / lab.spacing_mm;
    if (!(std::abs(sine) < 1.0)) return std::nan("");
    return lab.wall_m * 1000.0 * std::tan(std::asin(sine));
}

double lab_path_difference_nm(const LabSetting& lab, double place_mm) {
    const Wall wall = wall_of(lab, place_mm);
    double upper = lab.width_mm / 2.0, lower = -upper;
    if (lab.slit_count > 1) {
        const int32_t middle = (lab.slit_count + 1) / 2;
        lower = slit_height_mm(lab, middle);
        upper = lower + lab.spacing_mm;
    }
    return (path_beyond_middle(wall, lower) - path_beyond_middle(wall, upper)) * 1e6;
}

double lab_fresnel_number(const LabSetting& lab) {
    const double a = ((lab.slit_count - 1) * lab.spacing_mm + lab.width_mm) / 2.0;
    return a * a / (lab.wavelength_nm * 1e-6 * lab.wall_m * 1000.0);
}

PhasorSet lab_phasor_set(const SlitSetting& setting, float phase, double detector_y,
                         ArcChords* chords) {
    const double place = (setting.axis_y - detector_y) * setting.lab_scale_mm;
    const LabLight light = lab_light(setting.lab_setting, place, phase);
    PhasorSet set;
    slit_path_lengths(setting, set.path_length);  // the sketch's
    const int32_t count = std::clamp(setting.lab_setting.slit_count, 0, SLIT_CAPACITY);
    for (int32_t i = 1; i <= count; ++i) {
        set.phasor_x[i] = static_cast<float>(light.phasor_x[i]);
        set.phasor_y[i] = static_cast<float>(light.phasor_y[i]);
        if (chords != nullptr) {
            chords->count[i] = 1;
            chords->dx[i][0] = set.phasor_x[i];
            chords->dy[i][0] = set.phasor_y[i];
        }
    }
    if (chords != nullptr) {
        for (int32_t i = count + 1; i <= SLIT_CAPACITY; ++i)
            chords->count[i] = 0;
    }
    set.sum_x = static_cast<float>(light.sum_x);
    set.sum_y = static_cast<float>(light.sum_y);
    return set;
}
