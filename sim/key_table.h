#pragma once

// The program's key table: the core's rows, then the installed layer's.
//
//   const KeyCommand* command = find_key(gfx_inkey());
//   if (command != nullptr && command->handle != nullptr) command->handle(nullptr);

#include <string_view>
#include <vector>

#include "sim/keys.h"

// Every row the program has, in the order --help lists them.
std::vector<const KeyCommand*> key_table();

// The row of a key, or nullptr; the core's rows first.
const KeyCommand* find_key(std::string_view key);
