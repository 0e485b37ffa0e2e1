#pragma once

// The static scene: barrier with its openings, rays, axis, labels and the
// bottom line, and the two figures everything is drawn with.
//
//   model.slit_count = 3;
//   redraw_scene();   // the whole static scene for the new setting

#include <cstdint>

#include "sim/figures.h"
#include "sim/sim.h"

// Sets slit_y[1..slit_count], spread symmetrically about the axis.
void place_slits();

// Rows of each opening above and below its slit's row: two (five rows in
// all) for point slits, half the width for wider openings.
int32_t opening_rows();

// Where slit's ray meets the detector line: at the detector point in the
// near field, parallel to the others in the far field.
int32_t ray_end_row(int32_t slit);

// The barrier with one opening per slit; or only its rows first..last, the
// same pixels there.
void draw_barrier();
void draw_barrier_rows(int32_t first, int32_t last);

// Every ray from a slit to the detector point, and the axis line.
void draw_rays();

// Recomputes the slit positions, cleans every opening and erases every ray.
void erase_rays();

// Clears the screen and draws the whole static scene; then the layer above
// (its scene_cleared hook) adds what it keeps on the screen.
void redraw_scene();
