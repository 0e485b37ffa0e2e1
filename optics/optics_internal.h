#pragma once

#include "optics/optics.h"

// point_slits.cpp: the light of point slits in the near field, the rule the
// picture has always been drawn with.
PhasorSet point_slit_phasors(const SlitSetting& setting, float phase);

// lab_light.cpp: the light of the setting's lab view at the detector row, as
// the chain draws it.
PhasorSet lab_phasor_set(const SlitSetting& setting, float phase, double detector_y,
                         ArcChords* chords);
