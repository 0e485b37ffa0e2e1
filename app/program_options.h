#pragma once

#include <cstdio>
#include <optional>

// The options of mehrfachspalt: --help and --version answer on `out` and
// the process ends with 0; any other argument is named on `err` with the
// usage, and the process ends with 2. Without arguments the answer is
// empty and the program runs.
std::optional<int> answer_program_options(int argc, char** argv, std::FILE* out, std::FILE* err);
