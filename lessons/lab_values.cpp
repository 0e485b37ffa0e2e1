#include "lessons/lab_values.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numbers>

namespace {

constexpr double WAVELENGTHS[] = {405, 450, 532, 589, 632.8, 650};
// Gratings of 600, 300 and 100 lines per millimetre, then double slits.
constexpr double SPACINGS[] = {1.0 / 600, 1.0 / 300, 1.0 / 100, 0.10, 0.15,
                               0.20,      0.25,      0.30,      0.40, 0.50};
constexpr double GRATING_LINES[LAB_GRATINGS] = {600, 300, 100};
constexpr double WIDTHS[] = {0, 0.02, 0.05, 0.08, 0.10};
constexpr double SLIT_COUNTS[] = {1, 2, 3, 4, 5, 6, 7, 8, 10, 12, 16, 20, 25, 32, 40, 50};
constexpr double WALLS[] = {0.5, 1, 1.5, 2, 3, 4, 5};
constexpr double SCALES[] = {0.01, 0.02, 0.05, 0.1, 0.2, 0.5, 1, 2, 5, 10};

constexpr double TWO_LINES[] = {532, 650};
constexpr double THREE_LINES[] = {405, 532, 650};
constexpr int32_t WHITE_BANDS = 31;
constexpr double WHITE_FOLLOWED = 550;

int32_t& place_of(LabValues& values, LabList list) {
    switch (list) {
        case LabList::wavelength:
            return values.wavelength;
        case LabList::spacing:
            return values.spacing;
        case LabList::width:
            return values.width;
        case LabList::slit_count:
            return values.slit_count;
        case LabList::wall:
            return values.wall;
        case LabList::scale:
            break;
    }
    return values.scale;
}

int32_t last_of(LabList list) {
    return static_cast<int32_t>(lab_list(list).size()) - 1;
}

std::span<const double> lit_lines(LabLines lines) {
    if (lines == LabLines::two) return TWO_LINES;
    return THREE_LINES;
}

// The widest width entry below the spacing.
int32_t widest_below(double spacing) {
    int32_t widest = 0;
    for (int32_t i = 0; i <= last_of(LabList::width); ++i)
        if (WIDTHS[i] < spacing) widest = i;
    return widest;
}

}  // namespace

std::span<const double> lab_list(LabList list) {
    switch (list) {
        case LabList::wavelength:
            return WAVELENGTHS;
        case LabList::spacing:
            return SPACINGS;
        case LabList::width:
            return WIDTHS;
        case LabList::slit_count:
            return SLIT_COUNTS;
        case LabList::wall:
            return WALLS;
        case LabList::scale:
            break;
    }
    return SCALES;
}

bool lab_grating(const LabValues& values) {
    return values.spacing < LAB_GRATINGS;
}

LabStep step_lab_value(LabValues& values, LabList list, int32_t direction) {
    if (list == LabList::wavelength && values.lines != LabLines::one) {
        if (values.lines == LabLines::white) return LabStep::at_end;
        const auto lines = static_cast<int32_t>(lit_lines(values.lines).size());
        const int32_t next = values.followed + direction;
        if (next < 0 || next >= lines) return LabStep::at_end;
        values.followed = next;
        return LabStep::moved;
    }
    if (list == LabList::width && lab_grating(values) && direction > 0) {
        return LabStep::no_width_with_grating;
    }
    int32_t& place = place_of(values, list);
    const int32_t next = place + direction;
    if (next < 0 || next > last_of(list)) return LabStep::at_end;
    if (list == LabList::width && WIDTHS[next] >= SPACINGS[values.spacing]) {
        return LabStep::at_end;  // not below the spacing: as at the list's end
    }
    place = next;
    // Gratings have no entry below them but 0.
    if (list == LabList::spacing)
        values.width = std::min(values.width, widest_below(SPACINGS[next]));
    return LabStep::moved;
}

LabStep step_lab_slits_by_one(LabValues& values, int32_t direction) {
    constexpr int32_t EIGHT = 7;  // the place of 8 in the list
    if (direction < 0 && values.slit_count > EIGHT) {
        values.slit_count = EIGHT;
        return LabStep::moved;
    }
    const int32_t next = values.slit_count + direction;
    if (next < 0 || next > EIGHT) return LabStep::at_end;
    values.slit_count = next;
    return LabStep::moved;
}

void step_lab_lines(LabValues& values) {
    switch (values.lines) {
        case LabLines::one:
            values.lines = LabLines::two;
            break;
        case LabLines::two:
            values.lines = LabLines::three;
            break;
        case LabLines::three:
            values.lines = LabLines::white;
            break;
        case LabLines::white:
            values.lines = LabLines::one;
            break;
    }
    // 532 nm, in the middle of the list, is the line followed first.
    values.followed = values.lines == LabLines::three ? 1 : 0;
}

LabWavelengths lab_wavelengths(const LabValues& values) {
    LabWavelengths light;
    if (values.lines == LabLines::white) {
        light.count = WHITE_BANDS;
        for (int32_t i = 0; i < WHITE_BANDS; ++i)
            light.nanometres[i] = 400.0 + 10.0 * i;
        light.followed = static_cast<int32_t>((WHITE_FOLLOWED - 400.0) / 10.0);
        return light;
    }
    if (values.lines == LabLines::one) {
        light.count = 1;
        light.nanometres[0] = WAVELENGTHS[values.wavelength];
        return light;
    }
    const std::span<const double> lines = lit_lines(values.lines);
    light.count = static_cast<int32_t>(lines.size());
    std::copy(lines.begin(), lines.end(), light.nanometres);
    light.followed = values.followed;
    return light;
}

LabSetting lab_setting_of(const LabValues& values) {
    const LabWavelengths light = lab_wavelengths(values);
    return LabSetting{
        .slit_count = static_cast<int32_t>(SLIT_COUNTS[values.slit_count]),
        .wavelength_nm = light.nanometres[light.followed],
        .spacing_mm = SPACINGS[values.spacing],
        .width_mm = WIDTHS[values.width],
        .wall_m = WALLS[values.wall],
    };
}

double lab_scale_mm(const LabValues& values) {
    return SCALES[values.scale];
}

std::string lab_number_text(double value) {
    // The shortest of up to four decimals that prints the value.
    char text[32];
    for (int32_t decimals = 0; decimals <= 4; ++decimals) {
        std::snprintf(text, sizeof text, "%.*f", decimals, value);
        if (std::abs(std::strtod(text, nullptr) - value) < 1e-9) break;
    }
    return text;
}

std::string lab_spacing_text(const LabValues& values) {
    char text[32];
    if (lab_grating(values)) {
        std::snprintf(text, sizeof text, "%.0f", GRATING_LINES[values.spacing]);
    } else {
        std::snprintf(text, sizeof text, "%.2f", SPACINGS[values.spacing]);
    }
    return text;
}

std::string lab_angle_text(double radians) {
    const double degrees = radians * 180.0 / std::numbers::pi;
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", std::abs(degrees) < 1.0 ? 4 : 2, degrees);
    return text;
}

// Within a row of a principal maximum: its order, else none.
bool lab_order_at(const LabSetting& setting, double place, double scale, int32_t& order) {
    if (setting.slit_count < 2) return false;
    const double sine = std::sin(std::atan2(place, setting.wall_m * 1000.0));
    const auto m = static_cast<int32_t>(
        std::lround(sine * setting.spacing_mm / (setting.wavelength_nm * 1e-6)));
    const double at = order_place_mm(setting, m);
    if (std::isnan(at) || std::abs(at - place) > scale) return false;
    order = m;
    return true;
}
