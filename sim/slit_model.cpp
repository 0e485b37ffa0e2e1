#include "sim/sim.h"

// Zero-filled at process start; simulation_start gives it its initial values.
SlitModel model;

SlitSetting setting_of(const SlitModel& state) {
    return SlitSetting{
        .slit_count = state.slit_count,
        .slit_spacing = state.slit_spacing,
        .axis_y = state.axis_y,
        .detector_distance = state.detector_distance,
        .detector_offset = state.detector_offset,
        .wave_number = state.wave_number,
        .slit_amplitude = state.slit_amplitude,
    };
}
