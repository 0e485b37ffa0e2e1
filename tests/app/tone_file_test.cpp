#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <cstdio>
#include <string>
#include <vector>

#include "app/tone_recording.h"
#include "gfx/present/tone.h"
#include "lessons/lessons.h"
#include "sim/layout.h"
#include "tests/lessons/lesson_fixture.h"

namespace {

constexpr double PI = 3.14159265358979323846;

// The light of point slits at the detector, from the geometry alone: each
// slit's wave over its exact path, the slits spread about the axis.
double point_slits(int32_t slits, double spacing, double wavelength, double distance,
                   double offset) {
    std::complex<double> sum = 0;
    for (int32_t i = 0; i < slits; ++i) {
        const double row = (i - (slits - 1) / 2.0) * spacing;
        const double path = std::hypot(distance, offset - row);
        sum += std::polar(1.0, 2 * PI * path / wavelength);
    }
    return std::abs(sum) / slits;
}

// A slit of width b seen from far away at angle theta: |sinc|.
double far_slit(double width, double wavelength, double theta) {
    const double beta = PI * width * std::sin(theta) / wavelength;
    return beta == 0 ? 1 : std::abs(std::sin(beta) / beta);
}

double frame_rms(const std::vector<int16_t>& samples, size_t frame) {
    double sum = 0;
    for (int32_t i = 0; i < TONE_FRAME_SAMPLES; ++i) {
        const double s = samples[frame * TONE_FRAME_SAMPLES + i] / 32767.0;
        sum += s * s;
    }
    return std::sqrt(sum / TONE_FRAME_SAMPLES);
}

// The largest a frame can be: all phasors in line.
const double LOUDEST = TONE_FULL_SCALE / std::sqrt(2.0);

double glide(double a, double b) {
    return LOUDEST * std::sqrt((a * a + a * b + b * b) / 3);
}

class ToneFileTest : public LessonTest {
protected:
    void SetUp() override {
        LessonTest::SetUp();
        start_tone_recording();
    }
    void TearDown() override {
        gfx_use_sound_driver(nullptr);
        LessonTest::TearDown();
    }
    // One frame with the detector at the offset, recorded.
    static void frame_at(int32_t offset) {
        model.detector_offset = offset;
        run_frame();
        record_tone_frame();
    }
};

TEST_F(ToneFileTest, EachFrameIsTheGlideBetweenTheResultantsAndSilentAtTheFirstMinimum) {
    // The start: two slits 20 apart, wavelength 5, the detector 535 away.
    press_each("l");
    const double distance = model.detector_distance;
    std::vector<double> expected;
    int32_t minimum = 0;
    for (int32_t offset = 0; offset <= 90; ++offset) {
        if (point_slits(2, 20, 5, distance, offset) < point_slits(2, 20, 5, distance, minimum)) {
            minimum = offset;
        }
    }
    const int32_t offsets[] = {0, 0, 10, 30, 30, 50, minimum, minimum, 30, -30, 0};
    for (const int32_t offset : offsets) {
        frame_at(offset);
        expected.push_back(point_slits(2, 20, 5, distance, offset));
    }
    const std::vector<int16_t>& samples = recorded_tone();
    ASSERT_EQ(samples.size(), std::size(offsets) * TONE_FRAME_SAMPLES);
    // Before the first frame the tone was silent.
    double last = 0;
    for (size_t f = 0; f < expected.size(); ++f) {
        EXPECT_NEAR(frame_rms(samples, f), glide(last, expected[f]), 0.05 * LOUDEST)
            << "frame " << f << " at offset " << offsets[f];
        last = expected[f];
    }
    EXPECT_LT(frame_rms(samples, 7), 0.02 * LOUDEST) << "the first minimum at " << minimum;
    EXPECT_NEAR(frame_rms(samples, 4), 0.76 * LOUDEST, 0.01 * LOUDEST) << "30 rows up";
}

TEST_F(ToneFileTest, TheSingleSlitFallsSilentAtItsFirstMinimumInTheFarField) {
    // One slit 20 wide, the screen at infinity: the first minimum where
    // sin(theta) = wavelength / width.
    press_each("k");
    press_each("bbbbbbbbbbb");  // 1 to 6, 8, 10, 12, 15, 20
    press_each("t");
    ASSERT_EQ(optics_model.slit_width, 20);
    ASSERT_TRUE(optics_model.far_field);
    press_each("l");
    const double distance = model.detector_distance;
    const auto minimum =
        static_cast<int32_t>(std::lround(distance * std::tan(std::asin(5.0 / 20.0))));
    const int32_t offsets[] = {0, 0, minimum / 2, minimum, minimum};
    for (const int32_t offset : offsets)
        frame_at(offset);
    const std::vector<int16_t>& samples = recorded_tone();
    EXPECT_NEAR(frame_rms(samples, 1), LOUDEST, 0.01 * LOUDEST);
    const double half = far_slit(20, 5, std::atan(minimum / 2 / distance));
    EXPECT_NEAR(frame_rms(samples, 2), glide(1, half), 0.05 * LOUDEST);
    EXPECT_LT(frame_rms(samples, 4), 0.02 * LOUDEST);
}

TEST_F(ToneFileTest, TheFileIsPcmOfOneFramePeriodAFrame) {
    frame_at(0);
    frame_at(0);
    const std::string path = testing::TempDir() + "tone_file_test.wav";
    ASSERT_EQ(write_tone_wav(path, recorded_tone()), "");
    std::FILE* file = std::fopen(path.c_str(), "rb");
    ASSERT_NE(file, nullptr);
    unsigned char header[44];
    ASSERT_EQ(std::fread(header, 1, 44, file), 44u);
    std::fseek(file, 0, SEEK_END);
    const long size = std::ftell(file);
    std::fclose(file);
    std::remove(path.c_str());
    auto le = [&](int at, int bytes) {
        uint32_t v = 0;
        for (int i = bytes - 1; i >= 0; --i)
            v = v << 8 | header[at + i];
        return v;
    };
    EXPECT_EQ(std::string(reinterpret_cast<char*>(header), 4), "RIFF");
    EXPECT_EQ(std::string(reinterpret_cast<char*>(header) + 8, 8), "WAVEfmt ");
    EXPECT_EQ(le(20, 2), 1u);      // PCM
    EXPECT_EQ(le(22, 2), 1u);      // mono
    EXPECT_EQ(le(24, 4), 48000u);  // samples a second
    EXPECT_EQ(le(34, 2), 16u);     // bits
    EXPECT_EQ(le(40, 4), 2u * 2 * 2400);
    EXPECT_EQ(size, 44 + 2 * 2 * 2400);
    // The tone off: silence.
    for (const int16_t s : recorded_tone())
        ASSERT_EQ(s, 0);
}

}  // namespace
