#pragma once

// The simulation's seams: one table of routines through which the core
// calls whatever is built above it (the lesson tools), filled where the
// program is put together: the phases of a run, a frame and a key, and the
// layer's keys. Each routine, the keys' included, receives the context the
// table was installed with (the layer's state, which the program owns). The
// core alone installs none and is the program as it has always been. Every
// slot may be empty.
//
//   static MyState state;
//   static const SimHooks hooks = {.context = &state, .scene_cleared = my_scene_cleared,
//                                  .keys = MY_KEYS};
//   install_sim_hooks(&hooks);   // before simulation_start

#include <cstdint>
#include <span>

#include "sim/keys.h"

struct SimHooks {
    // Handed to every routine below (not a routine slot).
    void* context = nullptr;
    // simulation_start begins a run: the layer forgets everything.
    void (*reset)(void* context) = nullptr;
    // The scene was cleared and its static parts drawn again.
    void (*scene_cleared)(void* context) = nullptr;
    // The frame loop (or a drag) drew an intensity sample at row y.
    void (*sample_drawn)(void* context, int32_t y) = nullptr;
    // Before the frame's figures move, and once they all stand again
    // (before the phase advances): drawing under and over them.
    void (*frame_begun)(void* context) = nullptr;
    void (*frame_drawn)(void* context) = nullptr;
    // Once per handle_key, after the key's command: what follows the pointer
    // and what shows the values of the moment.
    void (*after_key)(void* context) = nullptr;
    // What the curve shows at row y, where the detector point's intensity
    // there is the given one; empty: that intensity, sampled at the point.
    float (*curve_intensity)(void* context, int32_t y, float intensity) = nullptr;
    // The layer's keys, dispatched after the core's own.
    std::span<const KeyCommand> keys = {};
};

// nullptr removes them. The table must outlive its use.
void install_sim_hooks(const SimHooks* hooks);

// The installed table, or an empty one.
const SimHooks& sim_hooks();
