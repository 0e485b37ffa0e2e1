#pragma once

// What only the simulation's own files share: the scene, the phasor chain,
// the line helper and the labels.

#include <cstdint>
#include <string>
#include <string_view>

#include "gfx/draw/draw.h"
#include "sim/sim.h"

// The two figures the scene is made of: solid plain lines and filled boxes on
// the screen. Coordinates are reals as the drawing services take them;
// relative is the coordinate-flags code (RELATIVE_NONE, _SECOND or _BOTH).

inline void scene_line(double x1, double y1, double x2, double y2, uint32_t colour,
                       int32_t relative = RELATIVE_NONE) {
    gfx_line(nullptr, static_cast<float>(x1), static_cast<float>(y1), static_cast<float>(x2),
             static_cast<float>(y2), colour, LINE_PLAIN, STYLE_SOLID, relative);
}

inline void scene_box(double x1, double y1, double x2, double y2, uint32_t colour,
                      int32_t relative = RELATIVE_NONE) {
    gfx_line(nullptr, static_cast<float>(x1), static_cast<float>(y1), static_cast<float>(x2),
             static_cast<float>(y2), colour, LINE_FILLED_BOX, STYLE_SOLID, relative);
}

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

// The phasor display at the detector point: one arrow per slit, drawn head to
// tail (the chain), their sum (the resultant) and the intensity it implies.
// The frame loop runs the steps below in this order: slit arrows, chain erase,
// phasors and sum, resultant, [detector line, rays], chain, intensity sample.

// Fills path_length[1..slit_count] from the current geometry.
void compute_path_lengths();

// Erases the resultant as last drawn, at the current detector point.
void erase_resultant();

// Turns the arrow at every slit opening from the previous phase to the
// current one and repairs the barrier that the erase cut.
void draw_slit_arrows();

// Retraces the chain the previous frame drew, in the background colour.
void erase_chain();

// The phasor of every slit at the detector point, and their sum.
void compute_phasors();

// Replaces the drawn resultant by the current sum.
void draw_resultant();

// Draws the chain from the detector point and remembers its first phasor.
void draw_chain();

// One intensity sample at the right edge, at the detector's height.
void draw_intensity_sample();

// Shows text (2 to 80 characters) black on white with its top-left corner at
// pixel (x, y), by way of the first text row; then prints the heading line
// there again.
void print_at_pixel(int32_t x, int32_t y, std::string_view text);

// The phase one step back: a command that moves the detector holds the
// phase for the frame.
void step_phase_back();

// While the left button (a finger, a pen) is down inside the picture, the
// detector goes where the pointer is, as the cursor keys would take it
// there; with the curve on, every row passed gets its sample.
void follow_pointer();

// The wavelength and the slit spacing each on their own, one step along a
// list of values (+1 larger, -1 smaller); at either end nothing happens.
void step_wavelength(int32_t direction);
void step_spacing(int32_t direction);

// The readouts at the detector: path difference, phase difference, angle and
// intensity. toggle_readouts turns them on (printed by the next
// update_readouts) or off (the scene redrawn without them).
void toggle_readouts();
// After every command and pointer move: prints them again if what they show
// changed or the screen lost them.
void update_readouts();
// Called when the scene is redrawn: the readouts are gone from the screen.
void readouts_scene_cleared();
// The texts of the readout lines as they are now; a line left out is empty.
void readout_texts(std::string (&lines)[READOUT_LINES]);

// The help lines of the keys beyond the help menu's, above its place; "h"
// again redraws the scene without them.
void toggle_extra_keys_help();

// Kept curves, as the frame, the scene and the legend meet them.

// Notes the sample just drawn at row y as the current curve's and draws the
// row's curves again, longest first.
void keep_curve_sample(int32_t y);

// Draws the curves of row y, longest first, from the right edge.
void draw_curve_row(int32_t y);

// After the screen was cleared: files the earlier setting's curve, takes back
// the current setting's, draws the legend and every curve.
void redraw_kept_curves();

// The legend above the credit, one line per kept curve; it is saved as
// drawn, so that a frame can put it back.
void draw_curve_legend();
void restore_curve_legend();

// An inclusive rectangle of pixels.
struct PixelBox {
    int32_t x0 = 0;
    int32_t y0 = 0;
    int32_t x1 = -1;
    int32_t y1 = -1;
};

// The legend's rectangle; empty while it has no line.
PixelBox curve_legend_box();

// The figures move and erase where they were: where that was over the
// legend or the curves, they are drawn again and the figures over them, so
// that nothing kept is lost. Once per frame, after its sample.
void repair_kept_curves();

// Remembers where the figures are now, as the screen was just drawn.
void note_figures_drawn();
