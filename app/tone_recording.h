#pragma once

// The snapshot tool's sound device: the tone as the program hands it over,
// recorded one frame period of samples a frame, and written as a WAV file
// (48 kHz, 16-bit PCM, mono). While the tone is off the frames are silent.

#include <cstdint>
#include <string>
#include <vector>

// Puts the recorder in the place of the window's sound device.
void start_tone_recording();
// After each frame: its period of samples.
void record_tone_frame();
const std::vector<int16_t>& recorded_tone();
// Answers "" or what went wrong (one line, naming path).
std::string write_tone_wav(const std::string& path, const std::vector<int16_t>& samples);
