#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "gfx/gfx.h"
#include "gfx/present/sdl/sdl.h"
#include "gfx/present/tone.h"

#include <SDL2/SDL.h>

// The tone's audio thread against the program's: SDL's disk driver asks for
// samples from a thread of its own while frames are handed over, opened and
// closed again; the thread sanitizer's build checks what they share. Every
// check waits for a condition, never for a period.

namespace {

long file_size(const std::string& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 ? static_cast<long>(status.st_size) : -1;
}

class SdlSound : public testing::Test {
protected:
    void SetUp() override {
        // A file of the test's own: ctest runs the tests of a program side by side.
        path = testing::TempDir() + "sound_test_" +
               testing::UnitTest::GetInstance()->current_test_info()->name() + "_" +
               std::to_string(getpid()) + ".raw";
        std::remove(path.c_str());
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", path.c_str(), 1);
        setenv("SDL_DISKAUDIODELAY", "1", 1);  // as fast as the test can take it
        gfx_reset();
    }
    void TearDown() override {
        gfx_reset();
        unsetenv("SDL_AUDIODRIVER");
        unsetenv("SDL_DISKAUDIOFILE");
        unsetenv("SDL_DISKAUDIODELAY");
        std::remove(path.c_str());
    }
    // Frames handed over until the device has written the bytes.
    bool frames_until(long bytes) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        for (int32_t frame = 0; file_size(path) < bytes; ++frame) {
            if (std::chrono::steady_clock::now() > deadline || !gfx_sound_playing()) return false;
            gfx_sound_frame(static_cast<float>(frame % 20) / 20, frame % 7 == 0);
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return true;
    }
    std::string path;
};

TEST_F(SdlSound, FramesReachTheAudioThreadWhileItPlaysOpenedAgainAndAgain) {
    for (int round = 0; round < 3; ++round) {
        ASSERT_EQ(gfx_sound_open(), nullptr) << SDL_GetError();
        EXPECT_TRUE(gfx_sound_playing());
        // The device starts its file afresh each time it opens.
        EXPECT_TRUE(frames_until(4L * TONE_FRAME_SAMPLES * 2)) << "round " << round;
        gfx_sound_close();
        EXPECT_FALSE(gfx_sound_playing());
    }
}

TEST_F(SdlSound, AFailingDeviceIsNoticedByItsStatus) {
    setenv("SDL_DISKAUDIOFILE", "/dev/full", 1);
    ASSERT_EQ(gfx_sound_open(), nullptr);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (gfx_sound_playing() && std::chrono::steady_clock::now() < deadline) {
        gfx_sound_frame(0.5f, false);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_FALSE(gfx_sound_playing());
    gfx_sound_close();
}

}  // namespace
