#include "sim/sim.h"

// Zero-filled at process start; simulation_start gives it its initial values.
SlitModel model;
OpticsModel optics_model;

SlitSetting setting_of(const SlitModel& state, const OpticsModel& optics) {
    return SlitSetting{
        .slit_count = state.slit_count,
        .slit_spacing = state.slit_spacing,
        .axis_y = state.axis_y,
        .detector_distance = state.detector_distance,
        .detector_offset = state.detector_offset,
        .wave_number = state.wave_number,
        .slit_amplitude = state.slit_amplitude,
        .slit_width = static_cast<float>(optics.slit_width),
        .far_field = optics.far_field,
        .lab = optics.lab,
        .lab_setting = optics.lab_setting,
        .lab_scale_mm = optics.lab_scale_mm,
    };
}
