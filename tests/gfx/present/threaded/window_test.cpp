#include <SDL2/SDL.h>
#include <X11/keysym.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <random>
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

// Once a program has present points the window shows them and nothing in
// between: a figure erased after a point stays on the window, whatever the
// thread's passes, until the next point; so does a colour changed.
TEST_F(Window, ShowsThePresentPointNotTheDrawingAfterIt) {
    // The thread has run a whole pass since the call: the title it carries
    // out in a pass, twice, so that the first pass's upload is done too.
    int32_t titles = 0;
    auto passes_done = [&] {
        for (int i = 0; i < 2; ++i) {
            const std::string title = "pass " + std::to_string(++titles);
            gfx_set_title(title.c_str());
            if (!eventually([&] {
                    char* name = nullptr;
                    const bool seen =
                        XFetchName(x_, window_, &name) != 0 && name != nullptr && title == name;
                    if (name != nullptr) XFree(name);
                    return seen;
                })) {
                return false;
            }
        }
        return true;
    };
    gfx_line(nullptr, 100, 100, 200, 150, 14, LINE_FILLED_BOX, STYLE_SOLID, 0);
    gfx_present_point();
    ASSERT_TRUE(shows(150, 120, 255, 255, 85));
    for (int32_t frame = 0; frame < 3; ++frame) {
        // Erased, as a key erases a figure that the next frame draws again.
        gfx_line(nullptr, 100, 100, 200, 150, 0, LINE_FILLED_BOX, STYLE_SOLID, 0);
        ASSERT_TRUE(passes_done());
        EXPECT_TRUE(shows(150, 120, 255, 255, 85)) << "frame " << frame;
        gfx_line(nullptr, 100, 100, 200, 150, 14, LINE_FILLED_BOX, STYLE_SOLID, 0);
        gfx_present_point();
    }
    gfx_line(nullptr, 300, 300, 310, 310, 12, LINE_FILLED_BOX, STYLE_SOLID, 0);
    set_palette_entry(14, 0x3F0000);  // 6-bit blue 63
    ASSERT_TRUE(passes_done());
    EXPECT_TRUE(shows(150, 120, 255, 255, 85));
    EXPECT_TRUE(shows(305, 305, 0, 0, 0));
    gfx_present_point();
    EXPECT_TRUE(shows(150, 120, 0, 0, 255));
    EXPECT_TRUE(shows(305, 305, 255, 85, 85));
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

// What the window must show at width x height: the framebuffer through the
// palette, scaled to the largest rectangle of its shape (each window pixel
// the framebuffer pixel under its centre), black around it.
std::vector<uint32_t> expected_window(int32_t width, int32_t height) {
    const ScreenContext& s = *active_screen();
    int32_t shown_w = width, shown_h = height;
    if (int64_t{width} * s.height > int64_t{height} * s.width) {
        shown_w = static_cast<int32_t>(int64_t{height} * s.width / s.height);
    } else {
        shown_h = static_cast<int32_t>(int64_t{width} * s.height / s.width);
    }
    const int32_t left = (width - shown_w) / 2, top = (height - shown_h) / 2;
    std::vector<uint32_t> rgb(static_cast<size_t>(width) * height, 0);
    for (int32_t y = top; y < top + shown_h; ++y) {
        const int32_t row = nearest_source(y - top, s.height, shown_h);
        for (int32_t x = left; x < left + shown_w; ++x) {
            const uint8_t a =
                s.framebuffer[row * s.pitch + nearest_source(x - left, s.width, shown_w)];
            const uint32_t c = s.palette[a];  // 0x00BBGGRR
            rgb[static_cast<size_t>(y) * width + x] =
                (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF);
        }
    }
    return rgb;
}

// Drawing, palette changes and exposes in any order: once the window has
// caught up it shows the framebuffer pixel for pixel, at the picture's size
// and scaled; a pass that skipped a changed pixel, or showed one too many
// of an old copy, would leave a difference for good.
TEST_F(Window, ShowsTheFramebufferPixelForPixel) {
    std::mt19937 random(20261209);
    auto pick = [&](int32_t n) {
        return static_cast<int32_t>(random() % static_cast<uint32_t>(n));
    };
    const int32_t sizes[][2] = {{640, 480}, {1001, 613}};
    for (const auto& size : sizes) {
        const int32_t width = size[0], height = size[1];
        if (width != 640) {
            // All of it on the display, where the server has its pixels.
            ASSERT_TRUE(xdotool("windowmove " + std::to_string(window_) + " 0 0 windowsize " +
                                std::to_string(window_) + " " + std::to_string(width) + " " +
                                std::to_string(height)));
        }
        for (int32_t round = 0; round < 6; ++round) {
            SCOPED_TRACE(::testing::Message() << width << " x " << height << ", round " << round);
            for (int32_t i = 0; i < 30; ++i) {
                const auto x0 = static_cast<float>(pick(700) - 30),
                           y0 = static_cast<float>(pick(540) - 30);
                const auto x1 = static_cast<float>(pick(700) - 30),
                           y1 = static_cast<float>(pick(540) - 30);
                const auto colour = static_cast<uint32_t>(pick(16));
                if (i % 10 == 9) {
                    gfx_line(nullptr, x0, y0, x0 + pick(40), y0 + pick(40), colour, LINE_FILLED_BOX,
                             STYLE_SOLID, 0);
                } else if (i % 3 == 0) {
                    gfx_pset(nullptr, x0, y0, colour, 0, 0);
                } else {
                    gfx_line(nullptr, x0, y0, x1, y1, colour, LINE_PLAIN, STYLE_SOLID, 0);
                }
            }
            if (round == 2) set_palette_entry(pick(16), static_cast<uint32_t>(random()) & 0x3F3F3F);
            if (round == 4) {
                // Another client paints over the window, then the server
                // asks for the picture again.
                GC gc = XCreateGC(x_, window_, 0, nullptr);
                XSetForeground(x_, gc, 0x123456);
                XFillRectangle(x_, window_, gc, 0, 0, 300, 200);
                XFreeGC(x_, gc);
                XClearArea(x_, window_, 0, 0, 0, 0, True);
                XFlush(x_);
            }
            std::vector<uint32_t> shown;
            const std::vector<uint32_t> expected = expected_window(width, height);
            EXPECT_TRUE(eventually([&] {
                return x_test::window_image(x_, window_, width, height, shown) && shown == expected;
            }));
        }
    }
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

// A finger is the left button at its place, scaled like the pointer; a tap
// shorter than a frame is still seen once; a second finger does not move it.
TEST_F(Window, ATouchIsTheLeftButton) {
    ASSERT_TRUE(xdotool("mousemove --window " + std::to_string(window_) + " 10 10"));
    auto finger = [](Uint32 type, SDL_FingerID id, float x, float y) {
        SDL_Event event{};
        event.tfinger.type = type;
        event.tfinger.touchId = 1;
        event.tfinger.fingerId = id;
        event.tfinger.x = x;
        event.tfinger.y = y;
        event.tfinger.pressure = 1.0f;
        return SDL_PushEvent(&event) == 1;
    };
    int32_t x = 0, y = 0, wheel = 0, buttons = 0, confined = 0;
    auto mouse_is = [&](int32_t want_x, int32_t want_y, int32_t want_buttons) {
        const bool seen = eventually([&] {
            return screen_get_mouse(&x, &y, &wheel, &buttons, &confined) == 0 && x == want_x &&
                   y == want_y && buttons == want_buttons;
        });
        if (!seen) std::fprintf(stderr, "mouse %d %d %d\n", x, y, buttons);
        return seen;
    };
    // The pointer's own move must have arrived, or it would come after the
    // finger and take the place back.
    ASSERT_TRUE(mouse_is(10, 10, 0));
    ASSERT_TRUE(finger(SDL_FINGERDOWN, 7, 0.5f, 0.25f));
    EXPECT_TRUE(mouse_is(320, 120, 1));
    ASSERT_TRUE(finger(SDL_FINGERDOWN, 8, 0.9f, 0.9f));  // a second finger
    ASSERT_TRUE(finger(SDL_FINGERMOTION, 7, 0.25f, 0.5f));
    EXPECT_TRUE(mouse_is(160, 240, 1));
    ASSERT_TRUE(finger(SDL_FINGERUP, 7, 0.25f, 0.5f));
    EXPECT_TRUE(mouse_is(160, 240, 0));
    // Down and up before anyone looks: one read sees the button, the next not.
    ASSERT_TRUE(finger(SDL_FINGERDOWN, 9, 0.75f, 0.75f));
    ASSERT_TRUE(finger(SDL_FINGERUP, 9, 0.75f, 0.75f));
    EXPECT_TRUE(mouse_is(480, 360, 1));
    EXPECT_TRUE(mouse_is(480, 360, 0));
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
