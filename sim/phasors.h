#pragma once

// The phasor display at the detector point: one arrow per slit, drawn head to
// tail (the chain), their sum (the resultant) and the intensity it implies.
// The frame loop runs the steps below in this order: slit arrows, chain erase,
// phasors and sum, resultant, [detector line, rays], chain, intensity sample.

#include <cstdint>

// Fills path_length[1..slit_count] from the current geometry.
void compute_path_lengths();

// Erases the resultant as last drawn, at the current detector point.
void erase_resultant();

// Turns the arrow at every slit opening from the previous phase to the
// current one and repairs the barrier that the erase cut.
void draw_slit_arrows();

// Retraces the chain the previous frame drew, in the background colour.
void erase_chain();
// A new run: no arcs of an earlier one to retrace.
void forget_drawn_chain();

// The phasor of every slit at the detector point, their sum, and the chords
// of the openings' arcs, from one integration.
void compute_phasors();

// Replaces the drawn resultant by the current sum.
void draw_resultant();

// Draws the chain from the detector point and remembers its first phasor;
// openings with a width as their arcs, from the chords compute_phasors left.
void draw_chain();

// One intensity sample at the right edge, at the detector's height.
void draw_intensity_sample();

// A sample at row y where the detector point's intensity is the given one:
// its line (as curve_intensity says), its record, and the layer's
// sample_drawn hook.
void draw_sample(int32_t y, float intensity);
