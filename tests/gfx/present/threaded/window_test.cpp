#include <X11/keysym.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "gfx/draw/draw.h"
#include "gfx/gfx.h"
#include "gfx/input/input.h"
#include "gfx/present/present.h"
#include "gfx/screen/screen.h"
#include "tests/support/x_display.h"

// The SDL window on an Xvfb server of the test's own: the presentation
// thread shows what the program thread draws, and X input reaches the key
// buffer. Every check waits for a condition, never for a period.

namespace {

constexpr auto PATIENCE = std::chrono::seconds(10);
constexpr const char* TITLE = "window_tests";  // the program file's name

bool eventually(const std::function<bool()>& condition) {
    const auto deadline = std::chrono::steady_clock::now() + PATIENCE;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

class Window : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!x_test::xvfb_available()) {
            skip_reason_ = "no Xvfb binary on the PATH; install the xvfb package";
            return;
        }
        std::string error;
        if (!x_test::start_xvfb(server_, error)) skip_reason_ = "Xvfb did not start: " + error;
    }
    static void TearDownTestSuite() { x_test::stop_xvfb(server_); }

    void SetUp() override {
        if (!skip_reason_.empty()) GTEST_SKIP() << skip_reason_;
        setenv("DISPLAY", server_.display.c_str(), 1);
        unsetenv("QXGFX");
        unsetenv("SDL_VIDEODRIVER");
        key_buffer_clear();
        ASSERT_EQ(gfx_screen(12, 8, 0, 0, 0), 0) << window_failure_reason();
        x_ = XOpenDisplay(server_.display.c_str());
        ASSERT_NE(x_, nullptr);
        ASSERT_TRUE(eventually([&] { return (window_ = x_test::find_window(x_, TITLE)) != 0; }));
    }

    void TearDown() override {
        gfx_screen(0, 0, 0, 0, 0);
        key_buffer_clear();
        unsetenv("DISPLAY");
        if (x_ != nullptr) XCloseDisplay(x_);
    }

    bool shows(int x, int y, uint8_t r, uint8_t g, uint8_t b) {
        return eventually([&] {
            uint8_t rgb[3];
            return x_test::window_pixel(x_, window_, x, y, rgb) && rgb[0] == r && rgb[1] == g &&
                   rgb[2] == b;
        });
    }

    // Runs xdotool against the window after giving it the keyboard focus.
    bool xdotool(const std::string& arguments) {
        const std::string command = "DISPLAY=" + server_.display + " xdotool windowfocus --sync " +
                                    std::to_string(window_) + " " + arguments;
        return std::system(command.c_str()) == 0;
    }

    std::vector<int32_t> codes(size_t count) {
        std::vector<int32_t> got;
        eventually([&] {
            while (const int32_t code = key_pop())
                got.push_back(code);
            return got.size() >= count;
        });
        return got;
    }

    static inline x_test::Xvfb server_;
    static inline std::string skip_reason_;
    Display* x_ = nullptr;
    ::Window window_ = 0;
};

TEST_F(Window, DrawnPixelsAppearInTheirPaletteColours) {
    // Lines drawn while the thread presents, the last in light yellow (14).
    for (int32_t i = 0; i < 200; ++i) {
        gfx_line(nullptr, 0, static_cast<float>(i), 639, static_cast<float>(479 - i),
                 static_cast<uint32_t>(i & 15), LINE_PLAIN, STYLE_SOLID, 0);
    }
    gfx_line(nullptr, 10, 300, 600, 300, 14, LINE_PLAIN, STYLE_SOLID, 0);
    EXPECT_TRUE(shows(300, 300, 255, 255, 85));
    EXPECT_TRUE(shows(639, 479, 0, 0, 0));  // untouched: attribute 0, black
}

TEST_F(Window, PaletteChangeRepaintsEveryPixelOfTheAttribute) {
    gfx_line(nullptr, 100, 100, 200, 150, 14, LINE_FILLED_BOX, STYLE_SOLID, 0);
    ASSERT_TRUE(shows(150, 120, 255, 255, 85));
    // Unlike gfx_palette this marks no rows: the window repaints by itself.
    set_palette_entry(14, 0x3F0000);  // 6-bit blue 63
    EXPECT_TRUE(shows(150, 120, 0, 0, 255));
    EXPECT_TRUE(shows(100, 150, 0, 0, 255));
}

TEST_F(Window, KeysArriveAsCodes) {
    ASSERT_TRUE(x_test::bind_keysym(x_, XK_adiaeresis));
    ASSERT_TRUE(xdotool("key Up F1 F10 shift+Tab a adiaeresis Return"));
    EXPECT_EQ(codes(7), (std::vector<int32_t>{0x48FF, 0x3BFF, 0x0FFF, 9, 'a', 0x84, 13}));
    // Held keys show in the key states while the window has the focus.
    ASSERT_TRUE(xdotool("keydown g"));
    EXPECT_TRUE(eventually([] { return gfx_multikey(0x22) == -1; }));
    ASSERT_TRUE(xdotool("keyup g"));
    EXPECT_TRUE(eventually([] { return gfx_multikey(0x22) == 0; }));
}

TEST_F(Window, CloseRequestIsOneKeyAndTheWindowStays) {
    ASSERT_TRUE(x_test::send_close_request(x_, window_));
    EXPECT_EQ(codes(1), (std::vector<int32_t>{CLOSE_KEY}));
    // A key typed afterwards comes next: no second close code in between.
    ASSERT_TRUE(xdotool("key b"));
    EXPECT_EQ(codes(1), (std::vector<int32_t>{'b'}));
    EXPECT_EQ(x_test::find_window(x_, TITLE), window_);
}

// Full screen gives the window the display's size (that needs a window
// manager, which Xvfb lacks; resizing from outside takes the same path): the
// picture is scaled into it, aspect kept, between black bars.
TEST_F(Window, LargerWindowShowsThePictureScaledBetweenBars) {
    gfx_line(nullptr, 0, 0, 639, 479, 14, LINE_FILLED_BOX, STYLE_SOLID, 0);
    gfx_line(nullptr, 0, 0, 9, 9, 4, LINE_FILLED_BOX, STYLE_SOLID, 0);
    ASSERT_TRUE(shows(0, 0, 170, 0, 0));
    ASSERT_TRUE(xdotool("windowsize " + std::to_string(window_) + " 1000 480"));
    EXPECT_TRUE(shows(179, 0, 0, 0, 0));  // left bar
    EXPECT_TRUE(shows(180, 0, 170, 0, 0));
    EXPECT_TRUE(shows(819, 479, 255, 255, 85));
    EXPECT_TRUE(shows(820, 479, 0, 0, 0));  // right bar
    // Later drawing is scaled too.
    gfx_line(nullptr, 630, 0, 639, 9, 4, LINE_FILLED_BOX, STYLE_SOLID, 0);
    EXPECT_TRUE(shows(819, 0, 170, 0, 0));
}

TEST_F(Window, MouseInWindowPixels) {
    ASSERT_TRUE(xdotool("mousemove --window " + std::to_string(window_) + " 100 50 mousedown 1"));
    int32_t x = 0, y = 0, wheel = 0, buttons = 0, confined = 0;
    EXPECT_TRUE(eventually([&] {
        return screen_get_mouse(&x, &y, &wheel, &buttons, &confined) == 0 && buttons == 1;
    }));
    EXPECT_EQ(x, 100);
    EXPECT_EQ(y, 50);
    EXPECT_EQ(confined, 0);
    ASSERT_TRUE(xdotool("mouseup 1 mousemove 2000 2000"));  // off the window
    EXPECT_TRUE(
        eventually([&] { return screen_get_mouse(&x, &y, &wheel, &buttons, &confined) == 1; }));
    EXPECT_EQ(buttons, -1);
}

// A process whose display goes away ends with one line on stderr and status
// 1, instead of crashing or hanging in its exit handlers.
TEST(DisplayLost, EndsTheProcessWithOneLine) {
    if (!x_test::xvfb_available()) GTEST_SKIP() << "no Xvfb binary on the PATH";
    x_test::Xvfb doomed;
    std::string error;
    ASSERT_TRUE(x_test::start_xvfb(doomed, error)) << error;
    int ready[2], messages[2];
    ASSERT_EQ(pipe(ready), 0);
    ASSERT_EQ(pipe(messages), 0);
    const pid_t child = fork();
    // Should an assertion end the test early, the child goes too.
    struct Reaper {
        pid_t pid;
        ~Reaper() {
            if (pid > 0 && waitpid(pid, nullptr, WNOHANG) == 0) {
                kill(pid, SIGKILL);
                waitpid(pid, nullptr, 0);
            }
        }
    } reaper{child};
    if (child == 0) {
        dup2(messages[1], STDERR_FILENO);
        setenv("DISPLAY", doomed.display.c_str(), 1);
        unsetenv("QXGFX");
        alarm(30);  // a hang ends by SIGALRM, which the test reports
        if (gfx_screen(12, 8, 0, 0, 0) != 0) _exit(3);
        (void)!write(ready[1], "r", 1);
        for (int32_t i = 0;; ++i) {
            gfx_line(nullptr, 0, 0, 639, static_cast<float>(i % 480), static_cast<uint32_t>(i & 15),
                     LINE_PLAIN, STYLE_SOLID, 0);
            usleep(1000);
        }
    }
    close(ready[1]);
    close(messages[1]);
    char c = 0;
    ASSERT_EQ(read(ready[0], &c, 1), 1) << "the window did not open";
    x_test::stop_xvfb(doomed);
    std::string said;
    char buffer[256];
    for (ssize_t n = 0; (n = read(messages[0], buffer, sizeof buffer)) > 0;)
        said.append(buffer, static_cast<size_t>(n));
    close(ready[0]);
    close(messages[0]);
    int status = 0;
    waitpid(child, &status, 0);
    reaper.pid = -1;
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_EQ(said, "window_tests: lost the connection to the X display\n");
}

}  // namespace
