#pragma once

// The light of slits that have a width, in the exact geometry (the near
// field) or with the screen at infinity (the far field of the textbooks).
// An opening of width b is a continuum of sources from b/2 above to b/2
// below the slit's row; its phasor is the slit's amplitude times the mean of
// e^{i(phase - k r)} over the opening, so openings all in phase still sum to
// the total amplitude. Point slits in the near field are the core's physics,
// unchanged. wide_slit_phasors fits the core's physics slot (SimHooks).
//
//   SlitSetting setting = setting_of(model);
//   setting.slit_width = 15;
//   const PhasorSet light = wide_slit_phasors(setting, model.phase);
//   float dx[MAX_SLIT_CHORDS], dy[MAX_SLIT_CHORDS];
//   const int32_t chords = slit_chords(setting, model.phase, 1, dx, dy);

#include <cstdint>
#include <span>

#include "sim/physics.h"

// The most chords a slit's arc is drawn with; spans of this size get the
// very parts the slit's phasor was summed from.
constexpr int32_t MAX_SLIT_CHORDS = 64;

PhasorSet wide_slit_phasors(const SlitSetting& setting, float phase);

// The same light at a detector point on any row, a fraction of a row
// included (the detector_offset of the setting is not used); at a whole row
// it is wide_slit_phasors' light.
PhasorSet wide_slit_phasors_at(const SlitSetting& setting, float phase, double row);

// The arc of slit's phasor as a polyline: the opening split into equal parts
// from its top row down, each chord (dx[j], dy[j]) the exact contribution of
// its part, in the picture's y-down convention, so that the chords end where
// the slit's phasor ends. Answers how many were written: at least eight
// while the slit's amplitude is above eight pixels (the spans allowing),
// more as the arc turns further, none shorter than a pixel's worth of
// amplitude; one for a point slit; none for a slit that does not exist.
int32_t slit_chords(const SlitSetting& setting, float phase, int32_t slit, std::span<float> dx,
                    std::span<float> dy);
