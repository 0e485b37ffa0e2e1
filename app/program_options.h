#pragma once

#include <cstdio>
#include <optional>

#include <string>

// The options of mehrfachspalt: --help and --version answer on `out` and
// the process ends with 0; --setting TEXT hands the text to take_setting,
// and the program runs, or (its answer not empty) the answer goes to `err`
// and the process ends with 2; any other argument is named on `err` with the
// usage, and the process ends with 2. Without arguments the answer is empty
// and the program runs.
// --settings FILE hands the file's name to take_settings in the same way:
// the list of settings "v" steps through.
using SettingTaker = std::string (*)(const char* text);
std::optional<int> answer_program_options(int argc, char** argv, std::FILE* out, std::FILE* err,
                                          SettingTaker take_setting,
                                          SettingTaker take_settings = nullptr);
