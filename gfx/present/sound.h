#pragma once

// The contract between the program's tone and a sound device: a SoundDriver
// record of routines, filled by name. The window's driver brings one (SDL's
// audio on the desktop, Web Audio on the page); a program may put its own in
// its place (the snapshot tool records the tone into a file). Every routine
// is called from the program's thread; a driver renders the tone
// (gfx/present/tone.h) wherever its device wants samples.
//
// Usage:
//   static const SoundDriver my_sound = {
//       .name = "Mine",
//       .open = [] { return static_cast<const char*>(nullptr); },  // nullptr: it plays
//       .frame = [](float amplitude, bool tick) {},
//       .playing = [] { return true; },
//       .close = [] {},
//   };

struct SoundDriver {
    const char* name = nullptr;
    // Opens the device with the tone silent: nullptr when it plays, else why
    // not, in a few words of the sound library's (valid until the next call).
    const char* (*open)() = nullptr;
    // A frame's amplitude (0..1) and whether a tick sounds: the tone glides
    // there across one frame period.
    void (*frame)(float amplitude, bool tick) = nullptr;
    // False once the device is lost (nothing plays any longer).
    bool (*playing)() = nullptr;
    void (*close)() = nullptr;
};
