#pragma once

#include "optics/optics.h"

// point_slits.cpp: the light of point slits in the near field, the rule the
// picture has always been drawn with.
PhasorSet point_slit_phasors(const SlitSetting& setting, float phase);
