#pragma once


// The static parts of the picture: barrier with its openings, rays and axis.

// Sets slit_y[1..slit_count], spread symmetrically about the axis.
void place_slits();

// The barrier with one opening of five rows per slit.
void draw_barrier();

// Every ray from a slit to the detector point, and the axis line.
void draw_rays();

// Recomputes the slit positions, cleans every opening and erases every ray.
void erase_rays();

// Clears the screen and draws the whole static scene.
void redraw_scene();
