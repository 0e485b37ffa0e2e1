#pragma once

// The simulation's seams: one table of routines through which the core
// calls whatever is built above it (the lesson tools), filled where the
// program is put together. The core alone installs none and is the program
// as it has always been. Every slot may be empty.
//
//   static const SimHooks hooks = {.scene_cleared = my_scene_cleared, .keys = MY_KEYS};
//   install_sim_hooks(&hooks);   // before simulation_start

#include <cstdint>
#include <span>

#include "sim/keys.h"
#include "sim/physics.h"

struct SimHooks {
    // simulation_start begins a run: the layer forgets everything.
    void (*reset)() = nullptr;
    // The scene was cleared and its static parts drawn again.
    void (*scene_cleared)() = nullptr;
    // The frame loop (or a drag) drew an intensity sample at row y.
    void (*sample_drawn)(int32_t y) = nullptr;
    // Before the frame's figures move, and once they all stand again
    // (before the phase advances): drawing under and over them.
    void (*frame_begun)() = nullptr;
    void (*frame_drawn)() = nullptr;
    // Once per handle_key, after the key's command: what follows the pointer
    // and what shows the values of the moment.
    void (*after_key)() = nullptr;
    // The light of a setting, where the layer knows more than point slits;
    // empty: slit_phasors.
    PhasorSet (*physics)(const SlitSetting& setting, float phase) = nullptr;
    // The chain drawn by the layer: erase (true) retraces what it drew last,
    // otherwise it draws the chain of the phasors now. Answers false to leave
    // the chain to the core (point slits).
    bool (*chain)(bool erase) = nullptr;
    // Rows of each barrier opening above and below its slit's row; the
    // core's openings have two.
    int32_t (*opening_rows)() = nullptr;
    // The row where slit's ray meets the detector line; the core's rays all
    // meet at the detector point.
    int32_t (*ray_end_row)(int32_t slit) = nullptr;
    // What the curve shows at row y, where the detector point's intensity
    // there is the given one; empty: that intensity, sampled at the point.
    float (*curve_intensity)(int32_t y, float intensity) = nullptr;
    // The layer's keys, dispatched after the core's own.
    std::span<const KeyCommand> keys = {};
};

// nullptr removes them. The table must outlive its use.
void install_sim_hooks(const SimHooks* hooks);

// The installed table, or an empty one.
const SimHooks& sim_hooks();

// The light of a setting, through the installed physics if there is one.
PhasorSet setting_phasors(const SlitSetting& setting, float phase);
