#include "gfx/present/tone.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace {

// The RMS of a sine whose amplitude goes in a straight line from a to b,
// over whole cycles: the mean of the squared line, over two.
double glide_rms(double a, double b) {
    return TONE_FULL_SCALE * std::sqrt((a * a + a * b + b * b) / 3 / 2);
}

double rms(const int16_t* samples, int32_t count) {
    double sum = 0;
    for (int32_t i = 0; i < count; ++i)
        sum += static_cast<double>(samples[i]) * samples[i];
    return std::sqrt(sum / count) / 32767;
}

TEST(Tone, EachFrameGlidesFromTheLastAmplitudeToItsOwn) {
    const float amplitudes[] = {
        0.0f, 1.0f, 0.76f, 0.76f, 0.0f, 0.3f, 2.0f, -1.0f, std::numeric_limits<float>::quiet_NaN()};
    const double heard[] = {0.0, 1.0, 0.76, 0.76, 0.0, 0.3, 1.0, 0.0, 0.0};  // clamped
    ToneVoice voice;
    int16_t samples[TONE_FRAME_SAMPLES];
    double last = 0;
    for (size_t f = 0; f < std::size(amplitudes); ++f) {
        tone_next_frame(voice, amplitudes[f], false);
        tone_render(voice, samples, TONE_FRAME_SAMPLES);
        // 440 Hz: 22 whole cycles a frame period, so the RMS is the glide's.
        EXPECT_NEAR(rms(samples, TONE_FRAME_SAMPLES), glide_rms(last, heard[f]),
                    0.005 * TONE_FULL_SCALE)
            << "frame " << f;
        last = heard[f];
    }
}

TEST(Tone, NoSampleJumpsAcrossFramesOrANewFrameInTheMiddleOfAGlide) {
    ToneVoice voice;
    std::vector<int16_t> samples;
    const float amplitudes[] = {1.0f, 0.0f, 1.0f, 0.2f};
    for (const float amplitude : amplitudes) {
        tone_next_frame(voice, amplitude, false);
        // A device that asks in pieces unlike the frame period.
        int16_t piece[1000];
        tone_render(voice, piece, 1000);
        samples.insert(samples.end(), piece, piece + 1000);
    }
    // A 440 Hz sine at 30 % of full scale moves at most this far a sample.
    const double most_step = 2 * 3.14159265 * TONE_PITCH_HZ / TONE_RATE * TONE_FULL_SCALE * 32767;
    for (size_t i = 1; i < samples.size(); ++i) {
        ASSERT_LE(std::abs(samples[i] - samples[i - 1]), most_step + 2) << "sample " << i;
    }
}

TEST(Tone, HoldsOnceArrivedAndATickSoundsOnlyItsOwnLength) {
    ToneVoice voice;
    int16_t samples[TONE_FRAME_SAMPLES];
    tone_next_frame(voice, 0.5f, false);
    tone_render(voice, samples, TONE_FRAME_SAMPLES);
    // No new frame (single steps): the amplitude holds.
    tone_render(voice, samples, TONE_FRAME_SAMPLES);
    EXPECT_NEAR(rms(samples, TONE_FRAME_SAMPLES), glide_rms(0.5, 0.5), 0.005 * TONE_FULL_SCALE);

    // Silence with a tick: sound within its 12 ms, silence after.
    tone_next_frame(voice, 0.0f, false);
    tone_render(voice, samples, TONE_FRAME_SAMPLES);
    tone_next_frame(voice, 0.0f, true);
    tone_render(voice, samples, TONE_FRAME_SAMPLES);
    EXPECT_GT(rms(samples, TONE_TICK_SAMPLES), 0.02);
    EXPECT_LT(rms(samples, TONE_TICK_SAMPLES), TONE_FULL_SCALE / 2);  // soft
    EXPECT_EQ(rms(samples + TONE_TICK_SAMPLES, TONE_FRAME_SAMPLES - TONE_TICK_SAMPLES), 0.0);
}

}  // namespace
