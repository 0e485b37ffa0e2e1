#pragma once

// The detector's tone, apart from any sound device: a sine of fixed pitch
// whose amplitude glides in a straight line across each frame period, from
// the last frame's amplitude to this frame's, so that neither a frame's
// step nor a new frame in the middle of a glide clicks; and a short, soft
// tick where a frame asks for one. Pure: a voice's state and a frame's
// amplitude in, samples out. Sound drivers render with it in their own
// audio thread; the snapshot tool writes its samples to a file.
//
// Usage:
//   ToneVoice voice;
//   tone_next_frame(voice, 0.5f, false);   // this frame's amplitude, 0..1
//   int16_t samples[TONE_FRAME_SAMPLES];
//   tone_render(voice, samples, TONE_FRAME_SAMPLES);

#include <cstdint>

// Mono, 16-bit, at 48 kHz: one frame period (50 ms) is 2400 samples.
constexpr int32_t TONE_RATE = 48000;
constexpr int32_t TONE_FRAME_SAMPLES = TONE_RATE / 20;
// Concert A: pleasant, and far from every frame rate's harmonics.
constexpr double TONE_PITCH_HZ = 440.0;
// Amplitude 1 (all phasors in line) as a fraction of full scale: moderate,
// with room for a tick on top.
constexpr double TONE_FULL_SCALE = 0.3;
// A tick: an octave and a fifth above the tone, 12 ms, fading out.
constexpr double TONE_TICK_PITCH_HZ = 1320.0;
constexpr int32_t TONE_TICK_SAMPLES = TONE_RATE * 12 / 1000;
constexpr double TONE_TICK_SCALE = 0.12;

struct ToneVoice {
    double phase = 0;                       // of the sine, in cycles, 0 <= phase < 1
    double tick_phase = 0;                  // of the tick's sine
    float from = 0;                         // amplitude at the glide's start
    float to = 0;                           // ... and at its end
    int32_t position = TONE_FRAME_SAMPLES;  // samples into the glide
    int32_t tick_left = 0;                  // samples of a tick still to sound
};

// The amplitude the voice has now, on its glide.
float tone_amplitude(const ToneVoice& voice);

// A frame's amplitude (clamped to 0..1; not a number counts as 0): the glide
// to it starts from where the voice is now and takes one frame period; tick
// starts a tick.
void tone_next_frame(ToneVoice& voice, float amplitude, bool tick);

// Writes count samples and moves the voice on; once a glide has arrived the
// amplitude holds (single steps hold the frame shown).
void tone_render(ToneVoice& voice, int16_t* out, int32_t count);
