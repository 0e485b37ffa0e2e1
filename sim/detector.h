#pragma once

// The detector: its line, where the curve is taken, and its point on that
// line, where the chain stands. Every move, by key or by pointer, goes
// through these, so the picture a move leaves is the same whichever way it
// came.

#include <cstdint>

// The detector line over its rows, in its colour or erased.
void draw_detector_line();
void erase_detector_line();

// The phase one step back: a command that moves the detector holds the
// phase for the frame.
void step_phase_back();

// What a move does between taking the new column and the new offset:
// called with the offsets from and to (a drag samples the rows passed).
using DetectorPassing = void (*)(int32_t from, int32_t to);

// The line's keys: the line and the axis erased with the rays and the
// resultant, the line drawn again at the column; the rays are left to the
// next frame.
void move_detector_line(int32_t column);

// The point's keys: the rays and the resultant erased, the point at the
// offset above the axis, the rays drawn again at once.
void move_detector_point(int32_t offset);

// Takes the detector to a column and an offset as those keys would: as the
// line's keys where the column changes, as the point's where it does not.
void move_detector_to(int32_t column, int32_t offset, DetectorPassing passing = nullptr);

// Puts the detector point on a fixed row, on a scene drawn anew; the next
// frame draws the rest.
void place_detector_point(int32_t offset);
