#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gfx/present/present.h"
#include "tests/support/gfx_state.h"

namespace {

using DriverChoice = test_support::GfxTest;

// Drivers that refuse or accept as a test wants and log every attempt.
std::vector<std::string> g_log;
std::string g_accepting;

template <char Name>
int32_t fake_init(const PresentSource*, const char*, int32_t, int32_t, int32_t, int32_t rate,
                  int32_t flags) {
    g_log.push_back(std::string(1, Name) + ":" + std::to_string(rate) + ":" +
                    std::to_string(flags));
    return g_accepting.find(Name) != std::string::npos ? 0 : -1;
}
template <char Name>
void fake_exit() {
    g_log.push_back(std::string(1, Name) + ":exit");
}

WindowDriver make_driver(const char* name, decltype(WindowDriver::init) init,
                         decltype(WindowDriver::exit) exit) {
    WindowDriver d = null_driver;
    d.name = name;
    d.init = init;
    d.exit = exit;
    return d;
}

const WindowDriver kA = make_driver("Alpha", fake_init<'A'>, fake_exit<'A'>);
const WindowDriver kB = make_driver("Beta", fake_init<'B'>, fake_exit<'B'>);
const WindowDriver* const kDrivers[] = {&kA, &kB};

const WindowDriver* open(const char* setting, int32_t flags) {
    g_log.clear();
    return open_window_driver(kDrivers, nullptr, setting, "t", 640, 480, 8, 60, flags);
}

std::string joined() {
    std::string all;
    for (const auto& s : g_log)
        all += s + " ";
    return all;
}

TEST_F(DriverChoice, WithoutSettingEveryDriverThenTheOtherForm) {
    g_accepting = "";
    EXPECT_EQ(open(nullptr, 0), nullptr);
    EXPECT_EQ(joined(),
              "A:60:0 A:exit A:0:0 A:exit B:60:0 B:exit B:0:0 B:exit "
              "A:60:1 A:exit A:0:1 A:exit B:60:1 B:exit B:0:1 B:exit ");
    g_accepting = "B";
    EXPECT_EQ(open(nullptr, 0), &kB);
    EXPECT_EQ(joined(), "A:60:0 A:exit A:0:0 A:exit B:60:0 ");
}

TEST_F(DriverChoice, NamedDriverFirstIgnoringCase) {
    g_accepting = "AB";
    EXPECT_EQ(open("bEtA", 0), &kB);
    EXPECT_EQ(joined(), "B:60:0 ");
    g_accepting = "";
    EXPECT_EQ(open("beta", 1), nullptr);
    EXPECT_EQ(joined(),
              "B:60:1 B:exit B:0:1 B:exit "                               // named
              "A:60:1 A:exit A:0:1 A:exit B:60:1 B:exit B:0:1 B:exit "    // all
              "B:60:1 B:exit B:0:1 B:exit "                               // named
              "A:60:0 A:exit A:0:0 A:exit B:60:0 B:exit B:0:0 B:exit ");  // other form
}

TEST_F(DriverChoice, NullWhenAskedFor) {
    g_accepting = "AB";
    EXPECT_EQ(open("NULL", 0), &null_driver);
    EXPECT_EQ(open(nullptr, -1), &null_driver);
    EXPECT_EQ(open("Alpha", -1), &null_driver);
    EXPECT_TRUE(g_log.empty());
    // An unknown name still ends with whatever driver accepts.
    g_accepting = "A";
    EXPECT_EQ(open("nonesuch", 0), &kA);
}

}  // namespace
