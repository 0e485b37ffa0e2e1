#include "gfx/present/tone.h"

#include <cmath>
#include <numbers>

namespace {

constexpr double PHASE_STEP = TONE_PITCH_HZ / TONE_RATE;
constexpr double TICK_PHASE_STEP = TONE_TICK_PITCH_HZ / TONE_RATE;

float clamped(float amplitude) {
    if (!(amplitude > 0)) return 0;  // not a number too
    return amplitude < 1 ? amplitude : 1;
}

}  // namespace

float tone_amplitude(const ToneVoice& voice) {
    if (voice.position >= TONE_FRAME_SAMPLES) return voice.to;
    const float t = static_cast<float>(voice.position) / TONE_FRAME_SAMPLES;
    return voice.from + (voice.to - voice.from) * t;
}

void tone_next_frame(ToneVoice& voice, float amplitude, bool tick) {
    voice.from = tone_amplitude(voice);
    voice.to = clamped(amplitude);
    voice.position = 0;
    if (tick) {
        voice.tick_left = TONE_TICK_SAMPLES;
        voice.tick_phase = 0;
    }
}

void tone_render(ToneVoice& voice, int16_t* out, int32_t count) {
    for (int32_t i = 0; i < count; ++i) {
        double value =
            TONE_FULL_SCALE * tone_amplitude(voice) * std::sin(2 * std::numbers::pi * voice.phase);
        if (voice.tick_left > 0) {
            // Fades out in a straight line: it starts at the tone's zero of
            // its own phase, and ends at nothing.
            const double fade = static_cast<double>(voice.tick_left) / TONE_TICK_SAMPLES;
            value += TONE_TICK_SCALE * fade * std::sin(2 * std::numbers::pi * voice.tick_phase);
            voice.tick_phase += TICK_PHASE_STEP;
            if (voice.tick_phase >= 1) voice.tick_phase -= 1;
            --voice.tick_left;
        }
        out[i] = static_cast<int16_t>(std::lround(value * 32767));
        voice.phase += PHASE_STEP;
        if (voice.phase >= 1) voice.phase -= 1;
        if (voice.position < TONE_FRAME_SAMPLES) ++voice.position;
    }
}
