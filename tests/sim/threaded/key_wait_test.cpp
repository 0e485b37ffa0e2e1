#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>

#include "gfx/input/input.h"
#include "gfx/present/present.h"
#include "runtime/runtime.h"
#include "sim/sim.h"
#include "tests/sim/sim_fixture.h"

// The waits for a key with real time: they block until a thread in the
// window thread's place pushes the key, with the screen lock held as that
// thread holds it. The pusher waits until the waiting thread sleeps, so that
// the push has a sleeper to wake; a wait that missed it would hang until the
// test's time-out.

namespace {

std::mutex g_window_lock;

// The Null driver with the lock a window driver has.
const WindowDriver LOCKED_DRIVER = {
    .name = "Locked",
    .lock = [] { g_window_lock.lock(); },
    .unlock = [](bool) { g_window_lock.unlock(); },
};

// Until the thread sleeps (state S in /proc) after at least `switches`
// voluntary switches, for at most ten seconds; answers its count of them.
long until_asleep(pid_t thread, long switches = 0) {
    const std::string task = "/proc/self/task/" + std::to_string(thread);
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < give_up) {
        std::ifstream status(task + "/status");
        std::string line;
        bool sleeping = false;
        long count = -1;
        while (std::getline(status, line)) {
            // "State:\tS (sleeping)"
            if (line.rfind("State:", 0) == 0) sleeping = line.find("\tS") == 6;
            if (line.rfind("voluntary_ctxt_switches:", 0) == 0) count = std::stol(line.substr(24));
        }
        if (sleeping && count >= switches) return count;
        std::this_thread::yield();
    }
    return -1;
}

pid_t g_waiter = 0;

void push_locked(int32_t code) {
    const std::lock_guard<std::mutex> hold(g_window_lock);
    key_push(code);
}

// In the window thread's place: acts once the calling thread sleeps.
std::thread when_asleep(void (*act)()) {
    g_waiter = gettid();
    return std::thread([act] {
        until_asleep(g_waiter);
        act();
    });
}

class KeyWaits : public SimulationTest {
protected:
    void SetUp() override {
        SimulationTest::SetUp();
        set_time_seam({});  // real sleeps, real wake-ups
        active_screen()->driver = &LOCKED_DRIVER;
        model.stepping = false;
    }
};

TEST_F(KeyWaits, AKeyPushedWhileTheWaitSleepsEndsIt) {
    struct Case {
        const char* wait;
        bool (*waits)();  // true when it ended as it should
        void (*act)();    // the window thread's part
    };
    const auto push_x = [] { push_locked('x'); };
    const Case cases[] = {
        {"key_wait", [] { return key_wait(-1) && gfx_inkey() == "x"; }, push_x},
        {"sleep_ms(-1)",
         [] {
             sleep_ms(-1);
             return gfx_inkey() == "x";
         },
         push_x},
        // An hour, unless the key ends it.
        {"a long pause",
         [] {
             sleep_ms(3'600'000);
             return gfx_inkey() == "x";
         },
         push_x},
        {"gfx_getkey", [] { return gfx_getkey() == 'x'; }, push_x},
        // A wake-up that brings no key sends the wait back to sleep, and the
        // key after it ends the wait.
        {"sleep_ms(-1) woken without a key",
         [] {
             sleep_ms(-1);
             return gfx_inkey() == "x";
         },
         [] {
             const long switches = until_asleep(g_waiter);
             key_wake_signal();
             until_asleep(g_waiter, switches + 1);
             push_locked('x');
         }},
        // The key that ends the wait acts too: "2" moves the detector down.
        {"the single-step wait",
         [] {
             const int32_t offset = model.detector_offset;
             model.stepping = true;
             handle_key();
             return model.stepping && model.detector_offset == offset - 1;
         },
         [] { push_locked('2'); }},
    };
    for (const Case& c : cases) {
        std::thread window = when_asleep(c.act);
        EXPECT_TRUE(c.waits()) << c.wait;
        window.join();
        key_buffer_clear();
    }
}

TEST_F(KeyWaits, TheCloseRequestEndsTheSingleStepWaitAndTheProgram) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            key_push('s');
            std::thread window = when_asleep([] {
                const std::lock_guard<std::mutex> hold(g_window_lock);
                key_close_request();
            });
            window.detach();
            handle_key();
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(KeyWaits, TheTextConsolesWaitEndsOnItsKey) {
    ASSERT_EQ(gfx_screen(0, 0, 0, 0, 0), 0);
    std::thread console = when_asleep(text_console_key_arrived);
    sleep_ms(-1);
    console.join();
}

}  // namespace
