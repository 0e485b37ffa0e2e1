#pragma once

// Prepared settings ("v"): the lesson's experiments (docs/teaching.md), each
// the setting it starts from, or a teacher's own list of settings, which
// "v" steps through instead. Each opens as the keys would leave it, the kept
// curves forgotten, and the foot line names it.
//
//   const SettingList list = read_setting_list("v1,slits=3\n# Gitter\nv1,slits=8\n");
//   if (list.error.empty()) use_own_settings(lessons, list.settings);
//   open_next_prepared(lessons);  // "v"

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "lessons/lessons.h"
#include "lessons/setting_text.h"

// An experiment: its name (German, translated where it is shown) and the
// text of the setting it starts from.
struct Experiment {
    const char* name;
    const char* text;
};
std::span<const Experiment> lesson_experiments();

// A teacher's list as text: one setting a line; blank lines and lines
// starting with "#" are skipped. error (not empty) names the first line
// refused, by its number, and why; a list without any setting is refused.
struct SettingList {
    std::vector<Setting> settings;
    std::string error;
};
SettingList read_setting_list(std::string_view contents);

// "v" steps through these settings from now on; they must outlive the
// program's runs (the program keeps them).
void use_own_settings(LessonState& lessons, std::span<const Setting> settings);

// "v": the next prepared setting, after the last one the first again.
void open_next_prepared(LessonState& lessons);
