#include "optics/lab_light.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "optics/lab_internal.h"
#include "optics/optics_internal.h"
#include "optics/segment_rule.h"

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
        lab_opening_mean(lab, wall, slit_height_mm(lab, i), re, im);
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

double lab_period_mean(const LabSetting& lab, double place_mm) {
    const int32_t count = std::clamp(lab.slit_count, 0, SLIT_CAPACITY);
    if (count == 0) return 0.0;
    const double amplitude = TOTAL_AMPLITUDE / count;
    if (lab.width_mm <= 0.0) return count * amplitude * amplitude / 100.0;
    const Wall wall = wall_of(lab, place_mm);
    double sum = 0.0;
    for (int32_t i = 1; i <= count; ++i) {
        double re = 0.0, im = 0.0;
        lab_opening_mean(lab, wall, slit_height_mm(lab, i), re, im);
        sum += re * re + im * im;
    }
    return amplitude * amplitude * sum / 100.0;
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

double lab_fringe_period_mm(const LabSetting& lab, double place_mm) {
    const double across = lab.slit_count > 1 ? lab.spacing_mm : lab.width_mm;
    if (!(across > 0.0)) return std::numeric_limits<double>::infinity();
    const double c = std::cos(lab_angle(lab, place_mm));
    return lab.wavelength_nm * 1e-6 * lab.wall_m * 1000.0 / (across * c * c * c);
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
    const LabSetting& lab = setting.lab_setting;
    const int32_t count = std::clamp(lab.slit_count, 0, SLIT_CAPACITY);
    for (int32_t i = 1; i <= count; ++i) {
        set.phasor_x[i] = static_cast<float>(light.phasor_x[i]);
        set.phasor_y[i] = static_cast<float>(light.phasor_y[i]);
        if (chords == nullptr) continue;
        if (lab.width_mm <= 0.0) {
            chords->count[i] = 1;
            chords->dx[i][0] = set.phasor_x[i];
            chords->dy[i][0] = set.phasor_y[i];
            continue;
        }
        // A wide opening's arc: its parts' shares, turned to the phase
        // as the phasor is, y down.
        const Wall wall = wall_of(lab, place);
        const double amplitude = TOTAL_AMPLITUDE / count;
        const double u0 = slit_height_mm(lab, i);
        double part_re[MAX_SLIT_CHORDS], part_im[MAX_SLIT_CHORDS];
        const int32_t parts =
            arc_chord_count(lab_opening_turn(lab, wall, u0), amplitude, MAX_SLIT_CHORDS);
        double re = 0.0, im = 0.0;
        lab_opening_mean(lab, wall, u0, re, im, OpeningParts{parts, part_re, part_im});
        const double turn = std::remainder(static_cast<double>(phase), TWO_PI);
        const double c = std::cos(turn), s = std::sin(turn);
        chords->count[i] = parts;
        for (int32_t j = 0; j < parts; ++j) {
            chords->dx[i][j] = static_cast<float>(amplitude * (c * part_re[j] - s * part_im[j]));
            chords->dy[i][j] = static_cast<float>(-amplitude * (s * part_re[j] + c * part_im[j]));
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
