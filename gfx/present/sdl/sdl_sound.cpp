#include <SDL.h>

#include <atomic>
#include <cstdint>
#include <cstring>
#include <string>

#include "gfx/present/sdl/sdl.h"
#include "gfx/present/tone.h"

// The tone through SDL's audio, apart from the window: its own subsystem,
// which outlives the window's video, and its own thread, in which SDL asks
// for samples. The program's thread hands each frame's amplitude over in
// one atomic word and counts ticks in another; the audio thread takes no
// lock and allocates nothing. A lost device shows in its status, so the
// program notices it without the window thread's events.

namespace {

SDL_AudioDeviceID device = 0;
// The audio thread's alone while the device is open.
ToneVoice voice;
uint32_t frames_seen = 0;
uint32_t ticks_seen = 0;
// The program's thread writes, the audio thread reads: the frame's count in
// the high word, the amplitude's bits in the low one.
std::atomic<uint64_t> latest_frame{0};
std::atomic<uint32_t> tick_count{0};
uint32_t frame_count = 0;  // the program's thread's
std::string failure;

void SDLCALL fill(void*, Uint8* stream, int length) {
    const uint64_t frame = latest_frame.load(std::memory_order_acquire);
    const uint32_t ticks = tick_count.load(std::memory_order_acquire);
    if (static_cast<uint32_t>(frame >> 32) != frames_seen || ticks != ticks_seen) {
        float amplitude = 0;
        const uint32_t bits = static_cast<uint32_t>(frame);
        std::memcpy(&amplitude, &bits, sizeof amplitude);
        tone_next_frame(voice, amplitude, ticks != ticks_seen);
        frames_seen = static_cast<uint32_t>(frame >> 32);
        ticks_seen = ticks;
    }
    tone_render(voice, reinterpret_cast<int16_t*>(stream), length / 2);
}

const char* open_sound() {
    if (device != 0) return nullptr;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        failure = SDL_GetError();
        return failure.c_str();
    }
    voice = ToneVoice{};
    frames_seen = 0;
    ticks_seen = 0;
    frame_count = 0;
    latest_frame.store(0, std::memory_order_release);
    tick_count.store(0, std::memory_order_release);
    SDL_AudioSpec wanted{};
    wanted.freq = TONE_RATE;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 1;
    wanted.samples = 1024;  // about 21 ms: well within a frame period
    wanted.callback = fill;
    // SDL converts to whatever the device takes.
    device = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
    if (device == 0) {
        failure = SDL_GetError();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return failure.c_str();
    }
    SDL_PauseAudioDevice(device, 0);
    return nullptr;
}

void sound_frame(float amplitude, bool tick) {
    if (device == 0) return;
    uint32_t bits = 0;
    std::memcpy(&bits, &amplitude, sizeof bits);
    ++frame_count;
    if (tick) tick_count.fetch_add(1, std::memory_order_acq_rel);
    latest_frame.store(static_cast<uint64_t>(frame_count) << 32 | bits, std::memory_order_release);
}

bool sound_playing() {
    return device != 0 && SDL_GetAudioDeviceStatus(device) == SDL_AUDIO_PLAYING;
}

void close_sound() {
    if (device == 0) return;
    SDL_CloseAudioDevice(device);
    device = 0;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

}  // namespace

const SoundDriver sdl_sound_driver = {
    .name = "SDL audio",
    .open = open_sound,
    .frame = sound_frame,
    .playing = sound_playing,
    .close = close_sound,
};
