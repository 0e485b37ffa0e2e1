// The tone recorded instead of played: a sound driver of the composition's
// own that keeps the frame's amplitude and renders one frame period of
// samples when asked, for the snapshot tool's sound file.

#include "gfx/gfx.h"
#include "gfx/present/sound.h"
#include "gfx/present/tone.h"

static_assert(GFX_TONE_RATE == TONE_RATE && GFX_TONE_FRAME_SAMPLES == TONE_FRAME_SAMPLES);

namespace {

struct Recorder {
    ToneVoice voice;
    float amplitude = 0;  // the last one handed over; 0 while closed
    bool tick = false;
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

}  // namespace

void gfx_record_tone() {
    recorder = Recorder{};
    gfx_use_sound_driver(&RECORDER);
}

void gfx_recorded_tone_frame(int16_t* samples) {
    tone_next_frame(recorder.voice, recorder.amplitude, recorder.tick);
    recorder.tick = false;
    tone_render(recorder.voice, samples, TONE_FRAME_SAMPLES);
}
