#include "lessons/prepared_settings.h"

#include <cstdint>
#include <iterator>
#include <string>

#include "lessons/lessons_internal.h"
#include "sim/texts.h"

// The experiments of the lesson as settings, so that a class reaches each
// one's start with one key rather than a dozen in the right order.

namespace {

// TRANSLATORS: the foot line names the experiment "v" opened; 37 glyphs at
// most.
constexpr Experiment EXPERIMENTS[] = {
    {N_("Versuch 1: die Wellenlänge"), "v1,line=480,curve=on"},
    {N_("Versuch 2: der Spaltabstand"), "v1,line=480,curve=on,readouts=on"},
    {N_("Versuch 3: 2, 3, 5 und 8 Spalte"), "v1,line=480,curve=on"},
    {N_("Versuch 4: das Minimum"), "v1,detector=67"},
    {N_("Versuch 5: breite Spalte"), "v1,slits=1,width=20,line=480,curve=on"},
    {N_("Versuch 6: das Wellenbild"), "v1,view=waves"},
    {N_("Versuch 7: Interferenz hören"), "v1,slits=1,width=20,field=far,line=480,curve=on"},
};

// Lines longer than a setting's text may be are refused unread.
constexpr size_t LINE_LIMIT = SETTING_TEXT_LIMIT + 2;

bool blank(std::string_view line) {
    return line.find_first_not_of(" \t") == std::string_view::npos;
}

}  // namespace

std::span<const Experiment> lesson_experiments() {
    return EXPERIMENTS;
}

SettingList read_setting_list(std::string_view contents) {
    SettingList list;
    int32_t number = 0;
    while (!contents.empty()) {
        const size_t end = contents.find('\n');
        std::string_view line = contents.substr(0, end);
        contents = end == std::string_view::npos ? std::string_view{} : contents.substr(end + 1);
        ++number;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (blank(line) || line.front() == '#') continue;
        if (line.size() > LINE_LIMIT) {
            list.error = "line " + std::to_string(number) + ": longer than a setting's text may be";
            list.settings.clear();
            return list;
        }
        ParsedSetting read = parse_setting(line);
        if (!read.error.empty()) {
            list.error = "line " + std::to_string(number) + ": " + read.error;
            list.settings.clear();
            return list;
        }
        list.settings.push_back(read.setting);
    }
    if (list.settings.empty()) list.error = "no setting in it";
    return list;
}

void use_own_settings(LessonState& lessons, std::span<const Setting> settings) {
    lessons.prepared.own = settings.data();
    lessons.prepared.own_count = static_cast<int32_t>(settings.size());
    lessons.prepared.next = 0;
}

void open_next_prepared(LessonState& lessons) {
    PreparedSettings& prepared = lessons.prepared;
    const bool own = prepared.own != nullptr && prepared.own_count > 0;
    const int32_t count = own ? prepared.own_count : static_cast<int32_t>(std::size(EXPERIMENTS));
    const int32_t at = prepared.next % count;
    prepared.next = (at + 1) % count;
    std::string name;
    if (own) {
        open_setting(lessons, prepared.own[at]);
        name = fill_in(screen_text(N_("Einstellung %s von %s")),
                       {std::to_string(at + 1), std::to_string(count)});
    } else {
        // The experiments' texts are the program's own, read as any other.
        open_setting(lessons, parse_setting(EXPERIMENTS[at].text).setting);
        name = std::string(screen_text(EXPERIMENTS[at].name));
    }
    show_foot_line(lessons, name);
}
