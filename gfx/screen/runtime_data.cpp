#include "gfx/screen/runtime_data.h"

void expand_runtime_data() {}
