#include <gtest/gtest.h>

#include <string>

#include "gfx/input/input.h"
#include "lesson_fixture.h"
#include "lessons/lessons.h"
#include "sim/sim.h"

namespace {

class ExtraKeysHelp : public LessonTest {
protected:
    static void press(const std::string& keys) {
        for (const char c : keys) {
            key_push(static_cast<uint8_t>(c));
            handle_key();
        }
    }
    static bool lines_shown() {
        const std::string lines[] = {
            "[+]/[-] -> Wellenl\x84nge gr\x94\xE1"
            "er / kleiner",
            "[Bild auf]/[Bild ab] -> Spaltabstand gr\x94\xE1"
            "er / kleiner",
            "[r] -> Messwerte ein / aus",
            "[c] -> Kurven behalten ein / aus",
            "[p] -> Projektorfarben ein / aus",
            "[h] -> Zusatztasten aus, [x] -> Einstellung als Text",
        };
        int32_t y = 285;  // six lines of 15 right above the menu at 375
        for (const std::string& line : lines) {
            if (!text_at(30, y, line)) return false;
            y += 15;
        }
        return true;
    }
};

TEST_F(ExtraKeysHelp, HTogglesTheLinesAboveTheMenuAsMDoesTheMenu) {
    press("h");
    EXPECT_TRUE(lines_shown());
    press("m");
    EXPECT_TRUE(lines_shown());
    EXPECT_TRUE(text_at(30, 450, "[e] -> Ende"));
    press("h");
    EXPECT_FALSE(lessons.extra_keys_shown);
    EXPECT_FALSE(row_has(290, 30, 400, COLOUR_BLACK));
    EXPECT_FALSE(row_has(455, 30, 110, COLOUR_BLACK));  // the redraw took the menu too
    // A redraw takes them away and "h" then redraws, as "m" does.
    press("hg");
    EXPECT_FALSE(row_has(290, 30, 400, COLOUR_BLACK));
    EXPECT_TRUE(lessons.extra_keys_shown);
    press("h");
    EXPECT_FALSE(lessons.extra_keys_shown);
}

}  // namespace
