#include "lessons/lab_wall.h"

#include <algorithm>
#include <cmath>

namespace {

// The six hues white light is split among: the middle wavelength of each,
// and where each ends.
constexpr double HUES[6] = {420, 470, 500, 530, 580, 640};
constexpr double HUE_ENDS[5] = {450, 490, 515, 560, 610};
constexpr int32_t WHITE_SLOT = 6;

int32_t hue_of(double nanometres) {
    int32_t hue = 0;
    while (hue < 5 && nanometres >= HUE_ENDS[hue])
        ++hue;
    return hue;
}

// A 4 x 4 ordered dither's thresholds, in sixteenths.
constexpr int32_t BAYER[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};

}  // namespace

Rgb spectral_colour(double nanometres) {
    // A common piecewise-linear approximation of the spectral colours
    // (D. Bruton, "Color Science", 1996): red, green and blue ramps between
    // the wavelengths where the hues change, dimmed towards the ends of
    // vision, with a gamma of 0.8.
    const double w = nanometres;
    double r = 0, g = 0, b = 0;
    if (w >= 380 && w < 440) {
        r = (440 - w) / 60;
        b = 1;
    } else if (w >= 440 && w < 490) {
        g = (w - 440) / 50;
        b = 1;
    } else if (w >= 490 && w < 510) {
        g = 1;
        b = (510 - w) / 20;
    } else if (w >= 510 && w < 580) {
        r = (w - 510) / 70;
        g = 1;
    } else if (w >= 580 && w < 645) {
        r = 1;
        g = (645 - w) / 65;
    } else if (w >= 645 && w <= 780) {
        r = 1;
    }
    double dim = 0;
    if (w >= 380 && w < 420) {
        dim = 0.3 + 0.7 * (w - 380) / 40;
    } else if (w >= 420 && w <= 700) {
        dim = 1;
    } else if (w > 700 && w <= 780) {
        dim = 0.3 + 0.7 * (780 - w) / 80;
    }
    const auto level = [dim](double c) {
        return static_cast<uint8_t>(std::lround(c <= 0 ? 0 : 255 * std::pow(c * dim, 0.8)));
    };
    return Rgb{level(r), level(g), level(b)};
}

WallColours wall_colours(const LabValues& values) {
    WallColours colours;
    const LabWavelengths light = lab_wavelengths(values);
    if (values.lines == LabLines::white) {
        colours.count = WALL_SLOTS;
        for (int32_t i = 0; i < 6; ++i)
            colours.colour[i] = spectral_colour(HUES[i]);
        colours.colour[WHITE_SLOT] = Rgb{255, 255, 255};
        return colours;
    }
    colours.count = light.count;
    for (int32_t i = 0; i < light.count; ++i)
        colours.colour[i] = spectral_colour(light.nanometres[i]);
    return colours;
}

WallRow wall_row(const LabValues& values, double place_mm, double span_mm, int32_t samples) {
    WallRow row;
    const LabWavelengths light = lab_wavelengths(values);
    const LabSetting setting = lab_setting_of(values);
    double each[31] = {};
    if (span_mm > 0.0 && setting.slit_count > 1) {
        LabSetting line = setting;
        for (int32_t i = 0; i < light.count; ++i) {
            line.wavelength_nm = light.nanometres[i];
            each[i] = lab_period_mean(line, place_mm);
        }
    } else {
        samples = std::max(samples, 1);
        for (int32_t n = 0; n < samples; ++n) {
            const double place = place_mm + span_mm * ((n + 0.5) / samples - 0.5);
            double at[31] = {};
            lab_intensities(setting, place, light.nanometres, light.count, at);
            for (int32_t i = 0; i < light.count; ++i)
                each[i] += at[i] / samples;
        }
    }
    double total = 0;
    for (int32_t i = 0; i < light.count; ++i)
        total += each[i];
    row.intensity = total / light.count;
    row.followed = each[light.followed];
    if (total <= 0) return row;
    const double lit = std::min(1.0, std::sqrt(row.intensity / 64.0));
    if (values.lines != LabLines::white) {
        for (int32_t i = 0; i < light.count; ++i)
            row.share[i] = lit * each[i] / total;
        return row;
    }
    const double mean = row.intensity;
    const bool even = std::all_of(each, each + light.count,
                                  [mean](double i) { return std::abs(i - mean) <= mean / 4; });
    if (even) {
        row.share[WHITE_SLOT] = lit;
        return row;
    }
    for (int32_t i = 0; i < light.count; ++i)
        row.share[hue_of(light.nanometres[i])] += lit * each[i] / total;
    return row;
}

int32_t wall_slot_at(const WallRow& row, int32_t x, int32_t y) {
    const double threshold = (BAYER[y & 3][x & 3] + 0.5) / 16.0;
    double reached = 0;
    for (int32_t slot = 0; slot < WALL_SLOTS; ++slot) {
        reached += row.share[slot];
        if (threshold < reached) return slot;
    }
    return -1;
}
