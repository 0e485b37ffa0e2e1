#include "lessons/setting_text.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>

#include "lessons/value_lists.h"
#include "sim/layout.h"
#include "sim/spacing_cycle.h"

// The text is a version mark and fields "name=value" separated by commas:
// no spaces, nothing a link must escape. Every field is one row of a table
// that reads and writes it; the rules between fields come after the fields.

namespace {

// Frames hold the phase once it is this large: a step of 0.1 is less than
// half the distance between neighbouring single-precision numbers there.
constexpr float LARGEST_PHASE = 2097152.0f;

std::string number_text(int32_t value) {
    return std::to_string(value);
}

// The shortest text that reads back to the same bits (nine significant
// digits always do); without a "+" in the exponent, which a link would read
// as a space. Written and read in the C locale's notation, which the program
// keeps for numbers (only its messages follow the desktop's language); not
// by std::to_chars, which the browser build's library lacks for reals.
std::string number_text(float value) {
    char buffer[64];
    const auto reads_back = [&] { return std::strtof(buffer, nullptr) == value; };
    // The fewest significant digits, in the exponent form...
    for (int32_t digits = 1; digits <= 9; ++digits) {
        std::snprintf(buffer, sizeof buffer, "%.*e", digits - 1, static_cast<double>(value));
        if (reads_back()) break;
    }
    std::string text(buffer);
    // ...or, where it is no longer, plain (50 rather than 5e01).
    for (int32_t decimals = 0; decimals <= 12; ++decimals) {
        std::snprintf(buffer, sizeof buffer, "%.*f", decimals, static_cast<double>(value));
        if (!reads_back()) continue;
        std::string plain(buffer);
        std::erase(text, '+');
        if (plain.size() <= text.size()) return plain;
        break;
    }
    std::erase(text, '+');
    // The mantissa without trailing zeros after its point.
    if (const size_t e = text.find('e'); e != std::string::npos) {
        const size_t point = text.find('.');
        if (point != std::string::npos && point < e) {
            size_t end = e;
            while (end > point + 1 && text[end - 1] == '0')
                --end;
            if (end == point + 1) --end;
            text.erase(end, e - end);
        }
    }
    return text;
}

// A whole number, or a real in decimal notation with an optional exponent:
// no sign but a leading minus, no blanks, no hexadecimal, nothing out of
// range, nothing after it.
template <typename T>
bool read_number(std::string_view text, T& value) {
    if (text.empty()) return false;
    if constexpr (std::is_floating_point_v<T>) {
        if (text.find_first_not_of("0123456789.-eE+") != std::string_view::npos) return false;
        if (text.front() == '+') return false;
        const std::string copy(text);
        char* end = nullptr;
        errno = 0;
        const float read = std::strtof(copy.c_str(), &end);
        if (errno == ERANGE || end != copy.c_str() + copy.size() || !std::isfinite(read)) {
            return false;
        }
        value = read;
        return true;
    } else {
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        return error == std::errc{} && end == text.data() + text.size();
    }
}

template <typename T>
std::string list_text(std::span<const T> values) {
    std::string text;
    for (const T& value : values) {
        if (!text.empty()) text += ", ";
        text += number_text(value);
    }
    return text;
}

// A piece of the text as an error quotes it: never longer than a line needs.
std::string shortened(std::string_view piece) {
    constexpr size_t LONGEST = 40;
    return std::string(piece.substr(0, LONGEST)) + (piece.size() > LONGEST ? "..." : "");
}

std::string refusal(std::string_view name, std::string_view value, std::string_view takes) {
    return "setting: " + std::string(name) + "=" + shortened(value) + " is not one of " +
           std::string(takes);
}

template <typename T>
std::string read_listed(std::string_view name, std::string_view text, std::span<const T> list,
                        T& value) {
    T read{};
    if (!read_number(text, read) || std::find(list.begin(), list.end(), read) == list.end())
        return refusal(name, text, list_text(list));
    value = read;
    return {};
}

std::string read_range(std::string_view name, std::string_view text, int32_t low, int32_t high,
                       int32_t& value) {
    int32_t read = 0;
    if (!read_number(text, read) || read < low || read > high)
        return refusal(name, text, number_text(low) + " to " + number_text(high));
    value = read;
    return {};
}

std::string read_switch(std::string_view name, std::string_view text, bool& value) {
    if (text != "on" && text != "off") return refusal(name, text, "on, off");
    value = text == "on";
    return {};
}

std::string switch_text(bool on) {
    return on ? "on" : "off";
}

// What the reading of every field shares: the wave number may come only
// after the wavelength it belongs to is known, so it waits here.
struct Reading {
    Setting setting;
    bool wave_number_given = false;
    float wave_number = 0;
    bool spacing_given = false;  // as mm or as a grating
    float follow = 0;            // the line followed, once the light is known
};

struct Field {
    std::string_view name;
    // Takes the value into the reading; answers the error line, or nothing.
    std::string (*read)(std::string_view value, Reading& reading);
    std::string (*write)(const Setting& setting);
    // Whether the canonical text names it; nullptr: where it differs from
    // the start.
    bool (*named)(const Setting& setting) = nullptr;
};

constexpr std::string_view VIEW_NAMES[] = {"off", "waves", "intensity"};
constexpr std::string_view LIGHT_NAMES[] = {"one", "two", "three", "white"};

// A lab value: one of its list's, given as the list prints it; its place in
// the list, the first of the list's entries from `first` on.
std::string read_lab(std::string_view name, std::string_view text, LabList list, int32_t first,
                     int32_t last, int32_t& place, double scale = 1.0) {
    const std::span<const double> values = lab_list(list);
    std::string takes;
    for (int32_t i = first; i <= last; ++i)
        takes += (takes.empty() ? "" : ", ") + lab_number_text(values[i] * scale);
    float read = 0;
    if (read_number(text, read)) {
        for (int32_t i = first; i <= last; ++i) {
            if (std::abs(read - values[i] * scale) <= 1e-6 * values[i] * scale) {
                place = i;
                return {};
            }
        }
    }
    return refusal(name, text, takes);
}

int32_t last_of(LabList list) {
    return static_cast<int32_t>(lab_list(list).size()) - 1;
}

// A lab value that is any entry of its list, by the name NAME.
constexpr std::string_view NM_NAME = "nm";
constexpr std::string_view SLITMM_NAME = "slitmm";
constexpr std::string_view LABSLITS_NAME = "labslits";
constexpr std::string_view WALL_NAME = "wall";
constexpr std::string_view SCALE_NAME = "scale";
template <const std::string_view& NAME, LabList LIST, int32_t LabValues::*PLACE>
constexpr Field lab_list_field() {
    return Field{
        .name = NAME,
        .read =
            [](std::string_view v, Reading& r) {
                return read_lab(NAME, v, LIST, 0, last_of(LIST), r.setting.lab_values.*PLACE);
            },
        .write =
            [](const Setting& s) { return lab_number_text(lab_list(LIST)[s.lab_values.*PLACE]); },
    };
}

const Field FIELDS[] = {
    {.name = "slits",
     .read =
         [](std::string_view v, Reading& r) {
             return read_listed("slits", v, slit_count_list(), r.setting.slit_count);
         },
     .write = [](const Setting& s) { return number_text(s.slit_count); }},
    {.name = "spacing",
     .read =
         [](std::string_view v, Reading& r) {
             return read_listed("spacing", v, spacing_list(), r.setting.slit_spacing);
         },
     .write = [](const Setting& s) { return number_text(s.slit_spacing); }},
    {.name = "wavelength",
     .read =
         [](std::string_view v, Reading& r) {
             float read = 0;
             if (!read_number(v, read) || wave_numbers_made(read).empty()) {
                 return refusal("wavelength", v,
                                list_text(wavelength_list()) + " or a value \"a\" makes of them");
             }
             r.setting.wavelength = read;
             return std::string();
         },
     .write = [](const Setting& s) { return number_text(s.wavelength); }},
    {.name = "k",
     .read =
         [](std::string_view v, Reading& r) {
             // Checked against the wavelength once all fields are read.
             if (!read_number(v, r.wave_number) || !(r.wave_number > 0))
                 return refusal("k", v, "the wave numbers the keys make");
             r.wave_number_given = true;
             return std::string();
         },
     .write = [](const Setting& s) { return number_text(s.wave_number); },
     .named =
         [](const Setting& s) {
             return std::bit_cast<uint32_t>(s.wave_number) !=
                    std::bit_cast<uint32_t>(wave_number_of(s.wavelength, STORED_TWO_PI));
         }},
    {.name = "width",
     .read =
         [](std::string_view v, Reading& r) {
             return read_listed("width", v, slit_width_list(), r.setting.slit_width);
         },
     .write = [](const Setting& s) { return number_text(s.slit_width); }},
    {.name = "field",
     .read =
         [](std::string_view v, Reading& r) {
             if (v != "near" && v != "far") return refusal("field", v, "near, far");
             r.setting.far_field = v == "far";
             return std::string();
         },
     .write = [](const Setting& s) { return std::string(s.far_field ? "far" : "near"); }},
    {.name = "line",
     .read =
         [](std::string_view v, Reading& r) {
             return read_range("line", v, BARRIER_X, LAST_COLUMN, r.setting.detector_x);
         },
     .write = [](const Setting& s) { return number_text(s.detector_x); }},
    {.name = "detector",
     .read =
         [](std::string_view v, Reading& r) {
             return read_range("detector", v, OFFSET_BOTTOM, OFFSET_TOP, r.setting.detector_offset);
         },
     .write = [](const Setting& s) { return number_text(s.detector_offset); }},
    {.name = "curve",
     .read = [](std::string_view v,
                Reading& r) { return read_switch("curve", v, r.setting.curve); },
     .write = [](const Setting& s) { return switch_text(s.curve); }},
    {.name = "readouts",
     .read = [](std::string_view v,
                Reading& r) { return read_switch("readouts", v, r.setting.readouts); },
     .write = [](const Setting& s) { return switch_text(s.readouts); }},
    {.name = "view",
     .read =
         [](std::string_view v, Reading& r) {
             const auto found = std::find(std::begin(VIEW_NAMES), std::end(VIEW_NAMES), v);
             if (found == std::end(VIEW_NAMES)) return refusal("view", v, "off, waves, intensity");
             r.setting.view = static_cast<WaveView>(found - std::begin(VIEW_NAMES));
             return std::string();
         },
     .write =
         [](const Setting& s) { return std::string(VIEW_NAMES[static_cast<int32_t>(s.view)]); }},
    {.name = "projector",
     .read = [](std::string_view v,
                Reading& r) { return read_switch("projector", v, r.setting.projector); },
     .write = [](const Setting& s) { return switch_text(s.projector); }},
    {.name = "menu",
     .read = [](std::string_view v, Reading& r) { return read_switch("menu", v, r.setting.menu); },
     .write = [](const Setting& s) { return switch_text(s.menu); }},
    {.name = "help",
     .read = [](std::string_view v, Reading& r) { return read_switch("help", v, r.setting.help); },
     .write = [](const Setting& s) { return switch_text(s.help); }},
    {.name = "phase",
     .read =
         [](std::string_view v, Reading& r) {
             float read = 0;
             if (!read_number(v, read) || std::fabs(read) > LARGEST_PHASE) {
                 return refusal("phase", v,
                                "the numbers from " + number_text(-LARGEST_PHASE) + " to " +
                                    number_text(LARGEST_PHASE));
             }
             r.setting.phase = read;
             return std::string();
         },
     .write = [](const Setting& s) { return number_text(s.phase); },
     .named =
         [](const Setting& s) {
             return std::bit_cast<uint32_t>(s.phase) !=
                    std::bit_cast<uint32_t>(start_setting().phase);
         }},
    {.name = "lab",
     .read = [](std::string_view v, Reading& r) { return read_switch("lab", v, r.setting.lab); },
     .write = [](const Setting& s) { return switch_text(s.lab); }},
    lab_list_field<NM_NAME, LabList::wavelength, &LabValues::wavelength>(),
    {.name = "mm",
     .read =
         [](std::string_view v, Reading& r) {
             if (r.spacing_given) return std::string("setting: give mm or grating, not both");
             r.spacing_given = true;
             return read_lab("mm", v, LabList::spacing, LAB_GRATINGS, last_of(LabList::spacing),
                             r.setting.lab_values.spacing);
         },
     .write = [](const Setting& s) { return lab_spacing_text(s.lab_values); },
     .named =
         [](const Setting& s) {
             return !lab_grating(s.lab_values) && s.lab_values.spacing != LabValues{}.spacing;
         }},
    {.name = "grating",
     .read =
         [](std::string_view v, Reading& r) {
             if (r.spacing_given) return std::string("setting: give mm or grating, not both");
             r.spacing_given = true;
             // Lines per millimetre: the reciprocal of the spacing.
             float read = 0;
             for (int32_t i = 0; i < LAB_GRATINGS; ++i) {
                 const double lines = 1.0 / lab_list(LabList::spacing)[i];
                 if (read_number(v, read) && std::abs(read - lines) < 1e-3) {
                     r.setting.lab_values.spacing = i;
                     return std::string();
                 }
             }
             return refusal("grating", v, "600, 300, 100");
         },
     .write = [](const Setting& s) { return lab_spacing_text(s.lab_values); },
     .named = [](const Setting& s) { return lab_grating(s.lab_values); }},
    lab_list_field<SLITMM_NAME, LabList::width, &LabValues::width>(),
    lab_list_field<LABSLITS_NAME, LabList::slit_count, &LabValues::slit_count>(),
    lab_list_field<WALL_NAME, LabList::wall, &LabValues::wall>(),
    lab_list_field<SCALE_NAME, LabList::scale, &LabValues::scale>(),
    {.name = "light",
     .read =
         [](std::string_view v, Reading& r) {
             const auto found = std::find(std::begin(LIGHT_NAMES), std::end(LIGHT_NAMES), v);
             if (found == std::end(LIGHT_NAMES))
                 return refusal("light", v, "one, two, three, white");
             r.setting.lab_values.lines = static_cast<LabLines>(found - std::begin(LIGHT_NAMES));
             return std::string();
         },
     .write =
         [](const Setting& s) {
             return std::string(LIGHT_NAMES[static_cast<int32_t>(s.lab_values.lines)]);
         }},
    {.name = "follow",
     .read =
         [](std::string_view v, Reading& r) {
             // Checked against the light once all fields are read.
             if (!read_number(v, r.follow) || !(r.follow > 0))
                 return refusal("follow", v, "the wavelengths of the lines that shine");
             return std::string();
         },
     .write =
         [](const Setting& s) {
             const LabWavelengths light = lab_wavelengths(s.lab_values);
             return lab_number_text(light.nanometres[light.followed]);
         },
     .named =
         [](const Setting& s) {
             const LabLines lines = s.lab_values.lines;
             return (lines == LabLines::two || lines == LabLines::three) &&
                    s.lab_values.followed != (lines == LabLines::three ? 1 : 0);
         }},
    {.name = "labdetector",
     .read =
         [](std::string_view v, Reading& r) {
             return read_range("labdetector", v, OFFSET_BOTTOM, OFFSET_TOP, r.setting.lab_detector);
         },
     .write = [](const Setting& s) { return number_text(s.lab_detector); }},
};
constexpr size_t FIELD_COUNT = std::size(FIELDS);

std::string field_names() {
    std::string names;
    for (const Field& field : FIELDS) {
        if (!names.empty()) names += ", ";
        names += field.name;
    }
    return names;
}

std::string quoted(std::string_view piece) {
    return "\"" + shortened(piece) + "\"";
}

// Letters, digits and what numbers and the separators need; nothing a link
// must escape, no control byte, nothing beyond ASCII.
bool allowed_byte(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '=' ||
           c == ',' || c == '.' || c == '-' || c == '+';
}

// The rules between fields: what no sequence of keys makes.
std::string check_combination(Reading& reading) {
    Setting& s = reading.setting;
    const int32_t most = most_slits_that_fit(s.slit_spacing);
    if (s.slit_count > most) {
        std::string fitting;
        for (const int32_t count : slit_count_list()) {
            if (count > most) break;
            fitting += (fitting.empty() ? "" : ", ") + number_text(count);
        }
        return refusal("slits", number_text(s.slit_count),
                       fitting + " (no more fit on the barrier at spacing=" +
                           number_text(s.slit_spacing) + ")");
    }
    if (s.slit_count > 1 && s.slit_width >= s.slit_spacing) {
        std::string narrower;
        for (const int32_t width : slit_width_list()) {
            if (width >= s.slit_spacing) break;
            narrower += (narrower.empty() ? "" : ", ") + number_text(width);
        }
        return refusal("width", number_text(s.slit_width),
                       narrower + " (with several slits it stays below spacing=" +
                           number_text(s.slit_spacing) + ")");
    }
    LabValues& lab = s.lab_values;
    const double spacing_mm = lab_list(LabList::spacing)[lab.spacing];
    const double width_mm = lab_list(LabList::width)[lab.width];
    if (lab.width > 0 && (lab_grating(lab) || width_mm >= spacing_mm)) {
        return refusal("slitmm", lab_number_text(width_mm),
                       "a width below the spacing of " + lab_spacing_text(lab) +
                           (lab_grating(lab) ? " lines per mm (a grating has none)" : " mm"));
    }
    lab.followed = lab.lines == LabLines::three ? 1 : 0;
    if (reading.follow > 0) {
        const LabWavelengths light = lab_wavelengths(lab);
        bool found = false;
        for (int32_t i = 0;
             i < light.count && (lab.lines == LabLines::two || lab.lines == LabLines::three); ++i) {
            if (std::abs(light.nanometres[i] - reading.follow) < 1e-3) {
                lab.followed = i;
                found = true;
            }
        }
        if (!found)
            return refusal("follow", number_text(reading.follow), "a line of light=two or three");
    }
    s.wave_number = reading.wave_number_given ? reading.wave_number
                                              : wave_number_of(s.wavelength, STORED_TWO_PI);
    if (!keys_make(s.wavelength, s.wave_number)) {
        std::string made;
        for (const float k : wave_numbers_made(s.wavelength))
            made += (made.empty() ? "" : ", ") + number_text(k);
        return refusal("k", number_text(s.wave_number),
                       made + " (the wave numbers the keys make at wavelength=" +
                           number_text(s.wavelength) + ")");
    }
    return {};
}

}  // namespace

Setting start_setting() {
    Setting setting;
    setting.wave_number = wave_number_of(setting.wavelength, STORED_TWO_PI);
    return setting;
}

ParsedSetting parse_setting(std::string_view text) {
    const auto refused = [](std::string error) { return ParsedSetting{start_setting(), error}; };
    if (text.size() > SETTING_TEXT_LIMIT) {
        return refused("setting: the text is " + number_text(static_cast<int32_t>(text.size())) +
                       " bytes long, more than the " +
                       number_text(static_cast<int32_t>(SETTING_TEXT_LIMIT)) + " a setting takes");
    }
    for (size_t i = 0; i < text.size(); ++i) {
        if (allowed_byte(text[i])) continue;
        static const char HEX[] = "0123456789ABCDEF";
        const auto byte = static_cast<uint8_t>(text[i]);
        return refused(std::string("setting: byte 0x") + HEX[byte >> 4] + HEX[byte & 15] +
                       " at place " + number_text(static_cast<int32_t>(i + 1)) +
                       " is not one a setting holds (letters, digits and = , . - +)");
    }
    const size_t mark_end = std::min(text.find(','), text.size());
    const std::string_view mark = text.substr(0, mark_end);
    if (mark != SETTING_MARK) {
        return refused("setting: the text starts with its version, " + std::string(SETTING_MARK) +
                       ", not " + quoted(mark));
    }
    Reading reading{start_setting()};
    bool given[FIELD_COUNT] = {};
    size_t place = mark_end;
    int32_t number = 1;
    while (place < text.size()) {
        const size_t start = place + 1;
        const size_t end = std::min(text.find(',', start), text.size());
        const std::string_view item = text.substr(start, end - start);
        place = end;
        ++number;
        if (item.empty())
            return refused("setting: field " + number_text(number) + " is empty (name=value)");
        const size_t equals = item.find('=');
        const std::string_view name = item.substr(0, equals);
        const auto field = std::find_if(std::begin(FIELDS), std::end(FIELDS),
                                        [name](const Field& f) { return f.name == name; });
        if (field == std::end(FIELDS)) {
            return refused("setting: " + quoted(name) + " is not a field; the fields are " +
                           field_names());
        }
        const auto index = static_cast<size_t>(field - std::begin(FIELDS));
        if (given[index]) return refused("setting: " + std::string(name) + " is given twice");
        given[index] = true;
        if (equals == std::string_view::npos) {
            return refused("setting: " + std::string(name) + " has no value (" + std::string(name) +
                           "=...)");
        }
        std::string error = field->read(item.substr(equals + 1), reading);
        if (!error.empty()) return refused(error);
    }
    if (std::string error = check_combination(reading); !error.empty()) return refused(error);
    return {reading.setting, {}};
}

std::string setting_text(const Setting& setting) {
    const Setting start = start_setting();
    std::string text(SETTING_MARK);
    for (const Field& field : FIELDS) {
        const std::string value = field.write(setting);
        const bool named =
            field.named != nullptr ? field.named(setting) : value != field.write(start);
        if (named) text += "," + std::string(field.name) + "=" + value;
    }
    return text;
}
