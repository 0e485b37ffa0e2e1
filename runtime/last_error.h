#pragma once

#include <cstdint>

#include "runtime/runtime_state.h"

// Process-wide error number of the last service that can fail.
// 0 none, 1 illegal argument, 4 out of memory.
inline int32_t& last_error = runtime_state.last_error;

constexpr int32_t ERROR_NONE = 0;
constexpr int32_t ERROR_ILLEGAL_ARGUMENT = 1;
constexpr int32_t ERROR_OUT_OF_MEMORY = 4;
