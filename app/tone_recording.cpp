#include "app/tone_recording.h"

#include "app/output_file.h"
#include "gfx/gfx.h"

namespace {

std::vector<int16_t> samples;

void put_le(std::FILE* file, uint32_t value, int32_t bytes) {
    for (int32_t i = 0; i < bytes; ++i)
        std::fputc(static_cast<int>((value >> (8 * i)) & 0xFF), file);
}

}  // namespace

void start_tone_recording() {
    samples.clear();
    gfx_record_tone();
}

void record_tone_frame() {
    const size_t start = samples.size();
    samples.resize(start + GFX_TONE_FRAME_SAMPLES);
    gfx_recorded_tone_frame(samples.data() + start);
}

const std::vector<int16_t>& recorded_tone() {
    return samples;
}

std::string write_tone_wav(const std::string& path, const std::vector<int16_t>& tone) {
    PendingFile pending;
    if (std::string problem = open_pending(path, &pending); !problem.empty()) return problem;
    const auto data_bytes = static_cast<uint32_t>(tone.size() * sizeof(int16_t));
    std::FILE* file = pending.file;
    std::fputs("RIFF", file);
    put_le(file, 36 + data_bytes, 4);
    std::fputs("WAVEfmt ", file);
    put_le(file, 16, 4);                 // the format chunk's size
    put_le(file, 1, 2);                  // PCM
    put_le(file, 1, 2);                  // mono
    put_le(file, GFX_TONE_RATE, 4);      // samples a second
    put_le(file, GFX_TONE_RATE * 2, 4);  // bytes a second
    put_le(file, 2, 2);                  // bytes a sample
    put_le(file, 16, 2);                 // bits a sample
    std::fputs("data", file);
    put_le(file, data_bytes, 4);
    for (const int16_t sample : tone)
        put_le(file, static_cast<uint16_t>(sample), 2);
    return commit_pending(&pending);
}
