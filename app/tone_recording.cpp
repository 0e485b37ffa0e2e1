#include "app/tone_recording.h"

#include <array>

#include "app/output_file.h"
#include "gfx/gfx.h"
#include "gfx/present/sound.h"
#include "gfx/present/tone.h"

namespace {

struct Recorder {
    ToneVoice voice;
    float amplitude = 0;  // the last one handed over; 0 while closed
    bool tick = false;
    std::vector<int16_t> samples;
};

Recorder recorder;

const SoundDriver RECORDER = {
    .name = "recorder",
    .open = [] { return static_cast<const char*>(nullptr); },
    .frame =
        [](float amplitude, bool tick) {
            recorder.amplitude = amplitude;
            recorder.tick = recorder.tick || tick;
        },
    .playing = [] { return true; },
    .close = [] { recorder.amplitude = 0; },
};

void put_le(std::FILE* file, uint32_t value, int32_t bytes) {
    for (int32_t i = 0; i < bytes; ++i)
        std::fputc(static_cast<int>((value >> (8 * i)) & 0xFF), file);
}

}  // namespace

void start_tone_recording() {
    recorder = Recorder{};
    gfx_use_sound_driver(&RECORDER);
}

void record_tone_frame() {
    tone_next_frame(recorder.voice, recorder.amplitude, recorder.tick);
    recorder.tick = false;
    const size_t start = recorder.samples.size();
    recorder.samples.resize(start + TONE_FRAME_SAMPLES);
    tone_render(recorder.voice, recorder.samples.data() + start, TONE_FRAME_SAMPLES);
}

const std::vector<int16_t>& recorded_tone() {
    return recorder.samples;
}

std::string write_tone_wav(const std::string& path, const std::vector<int16_t>& samples) {
    PendingFile pending;
    if (std::string problem = open_pending(path, &pending); !problem.empty()) return problem;
    const auto data_bytes = static_cast<uint32_t>(samples.size() * sizeof(int16_t));
    std::FILE* file = pending.file;
    std::fputs("RIFF", file);
    put_le(file, 36 + data_bytes, 4);
    std::fputs("WAVEfmt ", file);
    put_le(file, 16, 4);             // the format chunk's size
    put_le(file, 1, 2);              // PCM
    put_le(file, 1, 2);              // mono
    put_le(file, TONE_RATE, 4);      // samples a second
    put_le(file, TONE_RATE * 2, 4);  // bytes a second
    put_le(file, 2, 2);              // bytes a sample
    put_le(file, 16, 2);             // bits a sample
    std::fputs("data", file);
    put_le(file, data_bytes, 4);
    for (const int16_t sample : samples)
        put_le(file, static_cast<uint16_t>(sample), 2);
    return commit_pending(&pending);
}
