#include "gfx/present/window_size.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Kind = WindowSizeEventKind;

// A 1280 x 1024 screen; the window starts 640 x 480, centred.
constexpr PresentRect START{320, 272, 640, 480};
constexpr PresentRect SCREEN{0, 0, 1280, 1024};

WindowSizeEvent size(uint64_t now, PresentRect rect) {
    return WindowSizeEvent{
        .kind = Kind::client_size, .rect = rect, .places_itself = false, .now = now};
}
WindowSizeEvent state(uint64_t now, Kind kind, PresentRect rect = {}) {
    return WindowSizeEvent{.kind = kind, .rect = rect, .places_itself = false, .now = now};
}
WindowSizeEvent bare_fullscreen(uint64_t now) {
    return WindowSizeEvent{
        .kind = Kind::fullscreen_on, .rect = START, .places_itself = true, .now = now};
}

struct Case {
    const char* name;
    std::vector<WindowSizeEvent> events;  // after the start size at 0 ms
    PresentRect remembered;               // the size (and place) to return to at the end
    int32_t requests;                     // size requests made
    PresentRect last_request;             // the last of them
    bool placed;                          // ... with the place
};

constexpr uint64_t LATE = WINDOW_RESTORE_PATIENCE_MS;

const Case CASES[] = {
    {"openbox: maximise in one go, its size before its state",
     {size(2000, {0, 24, 1280, 1000}), state(2010, Kind::maximised, {0, 24, 1280, 1000}),
      state(2020, Kind::fullscreen_on, {0, 24, 1280, 1000}), size(2030, SCREEN),
      state(3000, Kind::fullscreen_off, SCREEN), size(3010, START)},
     START,
     1,
     START,
     false},
    {"fluxbox: both steps of the maximise before its state",
     {size(2000, {0, 19, 640, 980}), size(2005, {0, 19, 1280, 980}),
      state(2010, Kind::maximised, {0, 19, 1280, 980}),
      state(2020, Kind::fullscreen_on, {0, 19, 1280, 980}), size(2030, SCREEN),
      state(3000, Kind::fullscreen_off, SCREEN), size(3010, START)},
     START,
     1,
     START,
     false},
    {"fluxbox: the first step before the state, the second after",
     {size(2000, {0, 19, 640, 980}), state(2400, Kind::maximised, {0, 19, 640, 980}),
      size(2410, {0, 19, 1280, 980}), state(2420, Kind::fullscreen_on, {0, 19, 1280, 980}),
      state(3000, Kind::fullscreen_off, SCREEN), state(3005, Kind::unmaximised),
      size(3010, {320, 272, 640, 980})},
     START,
     2,
     START,
     false},
    {"fluxbox: the height's step, then the state a title bar's height off it",
     {size(2402, {320, 20, 640, 980}), state(2483, Kind::maximised, {0, 19, 1280, 982}),
      state(2503, Kind::fullscreen_on, {0, 19, 1280, 982}), size(2503, SCREEN),
      state(2774, Kind::fullscreen_off, SCREEN), state(2785, Kind::unmaximised),
      size(2785, {320, 272, 640, 980})},
     START,
     2,
     START,
     false},
    {"fluxbox: the state before the steps, left a little taller",
     {state(2000, Kind::maximised, START), size(2005, {0, 19, 640, 980}),
      size(2010, {0, 19, 1280, 980}), state(2020, Kind::fullscreen_on, {0, 19, 1280, 980}),
      state(2030, Kind::unmaximised), state(3000, Kind::fullscreen_off, SCREEN), size(3010, START),
      size(3300, {320, 272, 640, 498}), size(3400, START)},
     START,
     2,
     START,
     false},
    {"bare server: the program places the window, and places it back",
     {bare_fullscreen(2000), size(2010, SCREEN), state(3000, Kind::fullscreen_off, SCREEN),
      size(3010, SCREEN), size(3020, START)},
     START,
     2,
     START,
     true},
    {"late answers after leaving full screen, the window manager's state lingering",
     {state(2000, Kind::fullscreen_on, START), size(2005, {0, 19, 640, 980}),
      state(2010, Kind::maximised, SCREEN), state(3000, Kind::fullscreen_off, SCREEN),
      size(3010, SCREEN), state(3000 + 3 * LATE, Kind::unmaximised),
      size(3010 + 3 * LATE, {320, 272, 640, 980}), size(3020 + 3 * LATE, START)},
     START,
     2,
     START,
     false},
    {"a window manager's state held past the limit: the size after it is the user's",
     {state(2000, Kind::fullscreen_on, START), state(2010, Kind::maximised, SCREEN),
      state(3000, Kind::fullscreen_off, SCREEN), size(3010, SCREEN),
      size(3001 + WINDOW_RESTORE_LIMIT_MS, SCREEN),
      state(3002 + WINDOW_RESTORE_LIMIT_MS, Kind::unmaximised),
      size(3003 + WINDOW_RESTORE_LIMIT_MS, {320, 272, 640, 980})},
     {320, 272, 640, 980},
     1,
     START,
     false},
    {"a user's resize after the late answers' time wins",
     {state(2000, Kind::fullscreen_on, START), state(3000, Kind::fullscreen_off, SCREEN),
      size(3010, START), size(3011 + LATE, {100, 100, 800, 600})},
     {100, 100, 800, 600},
     1,
     START,
     false},
    {"a user's resize right after leaving full screen, to a size never held, wins at once",
     {state(2000, Kind::fullscreen_on, START), size(2010, SCREEN),
      state(3000, Kind::fullscreen_off, SCREEN), size(3010, START), size(3100, {1, 20, 1280, 1000}),
      size(3200, {1, 20, 1280, 1000})},
     {1, 20, 1280, 1000},
     1,
     START,
     false},
    {"a window manager insisting on its size wins after three corrections",
     {state(2000, Kind::fullscreen_on, START), state(3000, Kind::fullscreen_off, SCREEN),
      size(3010, {320, 272, 640, 500}), size(3020, {320, 272, 640, 500}),
      size(3030, {320, 272, 640, 500}), size(3040, {320, 272, 640, 500})},
     {320, 272, 640, 500},
     4,
     START,
     false},
    {"a full-height size the user chose long before a maximise stays",
     {size(2000, {320, 19, 640, 980}),
      state(2000 + 5 * WINDOW_MAXIMISE_LEAD_MS, Kind::maximised, {0, 19, 1280, 980})},
     {320, 19, 640, 980},
     0,
     {},
     false},
    {"a window the user shrank just before a maximise whose state came first",
     {size(2000, {140, 162, 1000, 700}), size(2500, START), state(2600, Kind::maximised, START)},
     START,
     0,
     {},
     false},
    {"Wayland: no place is known, only the size comes back",
     {size(10, {0, 0, 640, 480}), state(2000, Kind::fullscreen_on, {0, 0, 640, 480}),
      size(2010, {0, 0, 1280, 1024}), state(3000, Kind::fullscreen_off, {0, 0, 1280, 1024}),
      size(3010, {0, 0, 1280, 1024}), size(3020, {0, 0, 640, 480})},
     {0, 0, 640, 480},
     2,
     {0, 0, 640, 480},
     false},
};

class WindowSizeTest : public ::testing::TestWithParam<Case> {};

bool same(const PresentRect& a, const PresentRect& b) {
    return a.x == b.x && a.y == b.y && a.w == b.w && a.h == b.h;
}

TEST_P(WindowSizeTest, ReturnsToTheSizeFromBefore) {
    const Case& c = GetParam();
    WindowSizeState s = window_size_step(WindowSizeState{}, size(0, START)).state;
    int32_t requests = 0;
    WindowSizeDecision last;
    for (const WindowSizeEvent& event : c.events) {
        const WindowSizeStep step = window_size_step(s, event);
        s = step.state;
        if (step.decision.request_size || step.decision.request_place) {
            ++requests;
            last = step.decision;
        }
    }
    EXPECT_TRUE(same(s.remembered, c.remembered))
        << c.name << ": remembers " << s.remembered.x << " " << s.remembered.y << " "
        << s.remembered.w << " " << s.remembered.h;
    EXPECT_EQ(requests, c.requests) << c.name;
    EXPECT_TRUE(same(last.rect, c.last_request))
        << c.name << ": last asked for " << last.rect.w << " x " << last.rect.h;
    EXPECT_EQ(last.request_place, c.placed) << c.name;
    EXPECT_FALSE(s.fullscreen) << c.name;
}

INSTANTIATE_TEST_SUITE_P(EventOrders, WindowSizeTest, ::testing::ValuesIn(CASES));

}  // namespace
