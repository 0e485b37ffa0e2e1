#pragma once

// The lab view's values: the lists its keys step along, the steps as pure
// functions, the lab setting they make, and their numbers as a class writes
// them down. Each value is held as its place in its list, so that a step
// and a setting's text are exact.
//
// Usage:
//   LabValues values;                          // 532 nm, 0.20 mm, 2 slits, 1 m
//   step_lab_value(values, LabList::wavelength, 1);   // 589 nm
//   const LabSetting lab = lab_setting_of(values);

#include <cstdint>
#include <span>
#include <string>

#include "optics/lab_light.h"

// One list each: "+"/"-", Page Up/Page Down, "b"/"B", "g"/"k" and "G"/"K"
// (along one list), the arrows "6"/"4", "z"/"Z".
enum class LabList : int32_t { wavelength, spacing, width, slit_count, wall, scale };

// The light: one line, two (532 and 650 nm), three (405, 532 and 650 nm),
// or white light (400 to 700 nm in 31 bands 10 nm apart); "q" steps round.
enum class LabLines : int32_t { one, two, three, white };

struct LabValues {
    int32_t wavelength = 2;  // 532 nm
    int32_t spacing = 5;     // 0.20 mm
    int32_t width = 0;       // 0: point slits
    int32_t slit_count = 1;  // 2 slits
    int32_t wall = 1;        // 1 m
    int32_t scale = 3;       // 0.1 mm a row
    LabLines lines = LabLines::one;
    int32_t followed = 0;  // with two or three lines, the one the chain follows
    bool operator==(const LabValues&) const = default;
};

// The lists' values, smallest first. The spacing's first entries are
// gratings (600, 300 and 100 lines per millimetre), as spacings.
std::span<const double> lab_list(LabList list);
// How many entries of the spacing's list are gratings.
constexpr int32_t LAB_GRATINGS = 3;

// What a step did: moved, stood at the list's end, or was refused (a width
// with a grating, a width not below the spacing); refusals are said in one
// line.
enum class LabStep : int32_t { moved, at_end, no_width_with_grating };

// One step along the list in the direction (+1 larger, -1 smaller). A
// narrower spacing narrows the width to the widest entry below it, as the
// pixel view does. With two or three lines "+" and "-" choose the line the
// chain follows instead; with white light they stand.
LabStep step_lab_value(LabValues& values, LabList list, int32_t direction);
// "g"/"k": one slit more or fewer, 1 to 8 (from beyond 8, "k" goes to 8).
LabStep step_lab_slits_by_one(LabValues& values, int32_t direction);
// "q": the light one kind further round; one line again is the last one's
// wavelength.
void step_lab_lines(LabValues& values);

// The wavelengths of the light in nanometres, the one the chain follows
// among them marked by `followed`: for white light 550 nm.
struct LabWavelengths {
    int32_t count = 0;
    double nanometres[31] = {};
    int32_t followed = 0;
};
LabWavelengths lab_wavelengths(const LabValues& values);

// The lab setting of the values, at the wavelength the chain follows.
LabSetting lab_setting_of(const LabValues& values);
double lab_scale_mm(const LabValues& values);
bool lab_grating(const LabValues& values);

// Numbers as the labels and readouts print them: a wavelength as the list
// has it ("532", "632.8"); a spacing in millimetres with two decimals
// ("0.20") or a grating's lines per millimetre ("600"); a distance or scale
// as short as it is exact ("1", "1.5", "0.01"); an angle in degrees with
// four decimals below one degree, two from one degree on.
std::string lab_number_text(double value);
std::string lab_spacing_text(const LabValues& values);
std::string lab_angle_text(double radians);

// Whether the place lies within `scale` millimetres (a row) of a principal
// maximum, and which order; never with one slit.
bool lab_order_at(const LabSetting& setting, double place_mm, double scale, int32_t& order);
