#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <regex>
#include <string>
#include <utility>
#include <vector>

#include <unistd.h>

#include "lesson_fixture.h"
#include "lessons/extra_keys_lines.h"
#include "lessons/lessons.h"
#include "sim/keys.h"
#include "sim/labels.h"
#include "sim/layout.h"
#include "sim/scene.h"
#include "sim/texts.h"

namespace {

constexpr const char* LANGUAGE_VARIABLES[] = {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG",
                                              "LOCPATH"};

// The environment's language as a desktop sets it; what is not named is unset.
struct Environment {
    const char* language = nullptr;
    const char* lc_all = nullptr;
    const char* lc_messages = nullptr;
    const char* lang = nullptr;
};

// The lesson tools with the language chosen by each test; the variables, the
// messages locale and German as the process had them afterwards.
class LanguageTest : public LessonTest {
protected:
    void SetUp() override {
        for (const char* name : LANGUAGE_VARIABLES) {
            const char* value = std::getenv(name);
            saved_.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
        }
        LessonTest::SetUp();
    }
    void TearDown() override {
        LessonTest::TearDown();
        for (const auto& [name, value] : saved_) {
            if (value) {
                setenv(name, value->c_str(), 1);
            } else {
                unsetenv(name);
            }
        }
        choose_language(nullptr);
        std::setlocale(LC_MESSAGES, "C");
    }

    // Chooses the language the environment names, with the build's
    // catalogues (or those in folder) and the tests' generated locales.
    static void choose(const Environment& environment, const char* folder = CATALOGUE_DIR) {
        const std::pair<const char*, const char*> values[] = {
            {"LANGUAGE", environment.language},
            {"LC_ALL", environment.lc_all},
            {"LC_MESSAGES", environment.lc_messages},
            {"LANG", environment.lang}};
        for (const auto& [name, value] : values) {
            if (value) {
                setenv(name, value, 1);
            } else {
                unsetenv(name);
            }
        }
        setenv("LOCPATH", TEST_LOCALE_DIR, 1);
        choose_language(folder);
    }
    static void speak(const char* language) { choose({.language = language, .lang = "C.UTF-8"}); }

private:
    std::vector<std::pair<const char*, std::optional<std::string>>> saved_;
};

// The German texts of the template that the program draws, as xgettext
// wrote them from the sources; the page's own (only in web/) and the
// picture's words for screen readers are left out.
std::vector<std::string> template_texts() {
    std::ifstream in(std::string(SOURCE_DIR) + "/po/mehrfachspalt.pot");
    std::vector<std::string> texts;
    const std::regex program_source(" (app|sim|lessons)/");
    bool drawn = false;
    std::optional<std::string> id;  // while its lines are read
    for (std::string line; std::getline(in, line);) {
        const bool more = id && line.starts_with('"');
        if (more) *id += line.substr(1, line.size() - 2);
        if (id && !more) {
            if (drawn && !id->empty()) texts.push_back(*id);
            id.reset();
        }
        // The picture's words for screen readers are never drawn.
        if (line.starts_with("#:")) {
            drawn = std::regex_search(line, program_source) && line != "#: lessons/description.cpp";
        }
        if (line.starts_with("msgid \"")) id = line.substr(7, line.size() - 8);
    }
    return texts;
}

std::string to_string(std::string_view text) {
    return std::string(text);
}

constexpr const char* LANGUAGES[] = {"en", "fr", "es"};

// Rooms in characters. The menu's box is as wide as its widest German line;
// the labels and readouts at the top left end where the detector line stands
// with the curve on.
int32_t menu_box() {
    size_t widest = 0;
    for (const char* line : help_menu_lines())
        widest = std::max(widest, screen_text(line).size());
    for (const char* line : EXTRA_KEYS_LINES)
        widest = std::max(widest, screen_text(line).size());
    return static_cast<int32_t>(widest);
}
constexpr int32_t LEFT_COLUMN_ROOM = (DETECTOR_HOME_X - INTENSITY_SHIFT - LABEL_X) / GLYPH_WIDTH;
// A legend line's text right of its swatch (10 pixels and a gap of 4).
constexpr int32_t LEGEND_ROOM = (LEGEND_MAX_WIDTH - 14) / GLYPH_WIDTH;

// A text as wide as it can be drawn: labels and readouts with their longest
// numbers.
std::string widest_form(const std::string& german) {
    const std::string text = to_string(screen_text(german.c_str()));
    if (german.find("%s von %s") != std::string::npos) return fill_in(text, {"-4096.0", "64"});
    if (german.find("%s") != std::string::npos) return fill_in(text, {"-200.00"});
    if (german.ends_with("= ")) return text + "100 " + to_string(screen_text("Pix"));
    return text;
}

TEST_F(LanguageTest, EveryTranslatedTextFitsTheRoomOfItsGermanLine) {
    const std::vector<std::string> texts = template_texts();
    ASSERT_GT(texts.size(), 20u);
    const int32_t box = menu_box();
    EXPECT_EQ(box, 55);
    const auto menu = help_menu_lines();
    std::map<std::string, std::string> in_german;
    for (const std::string& german : texts)
        in_german[german] = to_string(screen_text(german.c_str()));
    for (const char* language : LANGUAGES) {
        speak(language);
        for (const std::string& german : texts) {
            const std::string shown = widest_form(german);
            SCOPED_TRACE(std::string(language) + ": " + german + " -> " + shown);
            // Every text is translated, and the translation is used.
            EXPECT_NE(screen_text(german.c_str()), in_german[german]);
            std::optional<int32_t> room;
            const auto row = std::find(menu.begin(), menu.end(), german);
            if (row != menu.end()) {
                room = box;
            } else if (std::find(std::begin(EXTRA_KEYS_LINES), std::end(EXTRA_KEYS_LINES),
                                 german) != std::end(EXTRA_KEYS_LINES) ||
                       std::find(std::begin(LAB_KEYS_LINES), std::end(LAB_KEYS_LINES), german) !=
                           std::end(LAB_KEYS_LINES)) {
                room = box;
            } else if (german == "[m] -> Menü einblenden") {
                // The menu's last line lies over it and must cover it.
                room = static_cast<int32_t>(screen_text(menu.back()).size());
                EXPECT_EQ(static_cast<int32_t>(shown.size()), *room);
            } else if (german.find('=') != std::string::npos || german == "Fernfeld" ||
                       german.starts_with("Nahfeld (") || german.starts_with("Weißlicht") ||
                       german == "Skizze nicht maßstäblich" ||
                       german.starts_with("Nur %s Spalte") ||
                       german.starts_with("Streifen zu fein") || german == ", Ordnung %s") {
                // The lab view's labels and notes, left of its detector line.
                room = LEFT_COLUMN_ROOM;
            } else if (german == "Spalt" || german == "Spalte" || german == "Pix" ||
                       german == "fern" || german == "Breite" || german == "Abstand" ||
                       german == "Wellenlänge" || german == "Gitter") {
                room = LEGEND_ROOM;  // and the legend whole below
            } else if (german == "Wellen zu fein: Intensität" ||
                       german == "Berg: gelb, Tal: blau" || german == "hell: gelb, dunkel: blau") {
                // The wave picture's note and key, right of the labels of
                // their row with the detector line where "i" puts it.
                room = 31;
            } else if (german.starts_with("Kein Ton: ") || german.starts_with("Versuch ") ||
                       german == "Einstellung %s von %s" ||
                       german.find("Laborbild") != std::string::npos ||
                       german == "Gitter: keine Spaltbreite" ||
                       german == "Kurven ruhen bei Weißlicht") {
                // The foot line, between the menu's hint and the credit.
                room = FOOT_LINE_GLYPHS;
            } else if (german == "Einzelschritt") {
                room = 40;  // the window's title
            }
            ASSERT_TRUE(room.has_value()) << "no room known for this text: give it one here";
            EXPECT_LE(static_cast<int32_t>(shown.size()), *room);
        }
    }
}

TEST_F(LanguageTest, TheLegendKeepsItsSettingUncutInEveryLanguage) {
    // Every part at its longest: eight slits (two digits would leave no
    // width this wide), the widest width, spacing and wavelength.
    const CurveSetting widest{8, 100, 12.5f, DETECTOR_HOME_X - INTENSITY_SHIFT, 60, true};
    const CurveSetting one{1, 100, 12.5f, DETECTOR_HOME_X - INTENSITY_SHIFT, 60, true};
    for (const char* language : LANGUAGES) {
        speak(language);
        SCOPED_TRACE(language);
        const auto word = [](const char* german) { return to_string(screen_text(german)); };
        const std::string label = kept_curve_label(widest);
        EXPECT_EQ(label, "8 " + word("Spalte") + " " + word("Breite") + " 60 " + word("Abstand") +
                             " 100 " + word("Wellenlänge") + " 12.5 " + word("fern"));
        EXPECT_LE(static_cast<int32_t>(label.size()), LEGEND_ROOM);
        EXPECT_EQ(kept_curve_label(one), "1 " + word("Spalt") + " " + word("Breite") + " 60 " +
                                             word("Wellenlänge") + " 12.5 " + word("fern"));
    }
}

// Glyph by glyph, where the German texts stand: code page 437 bytes
// written out (0x90 É, 0x8A è, 0xA3 ú, 0x82 é, 0xA0 á, 0xF8 °).
TEST_F(LanguageTest, StartPictureAndMenuShowTheLanguageWhereGermanStands) {
    struct Case {
        const char* language;
        const char* spacing;
        const char* wavelength;
        const char* hint;
        const char* first_menu_line;
        const char* last_menu_line;
    };
    const Case cases[] = {
        {"en", "Slit spacing = 20 px", "Wavelength   = 5 px", "[m] -> Show menu",
         "[Arrow keys]  ->  Move the detector. (numeric keypad)", "[m] -> Hide menu"},
        {"fr",
         "\x90"
         "cart des fentes = 20 px",
         "Longueur d'onde  = 5 px", "[m] -> Afficher le menu",
         "[Fl\x8A"
         "ches]  ->  D\x82placer le d\x82tecteur. (pav\x82 num\x82rique)",
         "[m] -> Masquer le menu "},
        {"es", "Separaci\xA2n entre rendijas = 20 px", "Longitud de onda          = 5 px",
         "[m] -> Mostrar men\xA3", "[Flechas]  ->  Mover el detector. (teclado num\x82rico)",
         "[m] -> Ocultar men\xA3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.language);
        speak(c.language);
        redraw_scene();
        EXPECT_TRUE(text_at(LABEL_X, SPACING_LABEL_Y, c.spacing));
        EXPECT_TRUE(text_at(LABEL_X, WAVELENGTH_LABEL_Y, c.wavelength));
        EXPECT_TRUE(text_at(HINT_X, HINT_Y, c.hint));
        press_each("m");
        EXPECT_TRUE(text_at(MENU_X, MENU_TOP, c.first_menu_line));
        EXPECT_TRUE(text_at(MENU_X, HINT_Y, c.last_menu_line));
        press_each("m");
    }
}

TEST_F(LanguageTest, TheDesktopsChoiceOrGermanWhereNoneIsUsable) {
    struct Case {
        const char* what;
        Environment environment;
        const char* hint;
    };
    constexpr const char* GERMAN = "[m] -> Men\x81 einblenden";
    constexpr const char* FRENCH = "[m] -> Afficher le menu";
    const Case cases[] = {
        {"nothing chosen", {}, GERMAN},
        {"the C locale, which ignores LANGUAGE", {.language = "fr", .lang = "C"}, GERMAN},
        {"POSIX", {.lang = "POSIX"}, GERMAN},
        {"a language without a catalogue", {.language = "xx", .lang = "C.UTF-8"}, GERMAN},
        {"German", {.lang = "de_DE.UTF-8"}, GERMAN},
        {"German first, then French", {.language = "de:fr", .lang = "C.UTF-8"}, GERMAN},
        {"a locale not generated", {.lang = "fr_CA.UTF-8"}, GERMAN},
        {"an unknown encoding", {.lang = "fr_FR.NO-SUCH-CODESET"}, GERMAN},
        {"a locale name of rubbish", {.lc_all = "../../etc/passwd"}, GERMAN},
        {"LANG", {.lang = "fr_FR.UTF-8"}, FRENCH},
        {"LC_MESSAGES over LANG", {.lc_messages = "fr_FR.UTF-8", .lang = "es_ES.UTF-8"}, FRENCH},
        {"LC_ALL over LC_MESSAGES",
         {.lc_all = "fr_FR.UTF-8", .lc_messages = "es_ES.UTF-8"},
         FRENCH},
        {"LANGUAGE over LANG", {.language = "fr", .lang = "es_ES.UTF-8"}, FRENCH},
        {"LANGUAGE falls back in order", {.language = "xx:fr:en", .lang = "C.UTF-8"}, FRENCH},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        choose(c.environment);
        EXPECT_EQ(screen_text("[m] -> Menü einblenden"), c.hint);
    }
}

// The wave picture's note on too short waves and its key to the shades,
// wherever the labels and the detector line leave room: the widest spacing's
// label with the curve on, the detector line far left, in every language.
TEST_F(LanguageTest, TheWavePicturesNoteAndKeyAlwaysStand) {
    struct Case {
        int32_t spacing_steps;  // Page Up
        int32_t moves_left;     // "4"
        bool curve;             // "i": the detector line 80 further left
    };
    const Case cases[] = {{7, 0, true}, {0, 480, false}, {0, 480, true}, {0, 530, false}};
    for (const char* language : {"de", "en", "fr", "es"}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(language) + " " + std::to_string(c.moves_left));
            simulation_start();
            speak(language);
            redraw_scene();
            for (int32_t i = 0; i < c.spacing_steps; ++i)
                press_each(0x49 << 8 | 0xFF);
            press_each(std::string(static_cast<size_t>(c.moves_left), '4'));
            press_each(c.curve ? "-------if" : "-------f");
            ASSERT_LT(model.wavelength, 4.0f);
            for (const ViewLine& line : {lessons.wave.note, lessons.wave.key}) {
                ASSERT_GE(line.x, 0);
                const std::string text = to_string(screen_text(line.text));
                EXPECT_TRUE(text_at(line.x, line.y, text)) << text;
                EXPECT_LE(line.x + static_cast<int32_t>(text.size()) * GLYPH_WIDTH,
                          LAST_COLUMN + 1);
            }
            EXPECT_STREQ(lessons.wave.key.text, "hell: gelb, dunkel: blau");
            press_each("ff");
            EXPECT_LT(lessons.wave.note.x, 0);
            EXPECT_LT(lessons.wave.key.x, 0);
        }
    }
}

TEST_F(LanguageTest, NumbersKeepTheirDecimalPointInEveryLanguage) {
    choose({.lang = "fr_FR.UTF-8"});
    ASSERT_EQ(screen_text("Fernfeld"), "Champ lointain");
    EXPECT_STREQ(std::localeconv()->decimal_point, ".");
    press_each("aa");  // spacing 2, wavelength 0.5
    EXPECT_TRUE(text_at(LABEL_X, WAVELENGTH_LABEL_Y, "Longueur d'onde  = 0.5 px"));
    std::string lines[READOUT_LINES];
    readout_texts(lines);
    EXPECT_EQ(lines[2], "Angle = 3.2\xF8");
}

// A catalogue file as msgfmt writes it (without its hash table, which
// gettext does without): the header's entry first, then the texts, sorted.
std::string catalogue_file(std::map<std::string, std::string> texts) {
    texts[""] = "Content-Type: text/plain; charset=UTF-8\n";
    const auto count = static_cast<uint32_t>(texts.size());
    const uint32_t ids_at = 28;
    const uint32_t translations_at = ids_at + 8 * count;
    uint32_t text_at = translations_at + 8 * count;
    std::vector<uint32_t> words = {0x950412de, 0, count, ids_at, translations_at, 0, text_at};
    std::string strings;
    std::vector<uint32_t> ids, translations;
    for (std::vector<uint32_t>* side : {&ids, &translations}) {
        for (const auto& [id, translation] : texts) {
            const std::string& text = side == &ids ? id : translation;
            side->insert(side->end(), {static_cast<uint32_t>(text.size()), text_at});
            strings += text + '\0';
            text_at += static_cast<uint32_t>(text.size() + 1);
        }
    }
    words.insert(words.end(), ids.begin(), ids.end());
    words.insert(words.end(), translations.begin(), translations.end());
    return std::string(reinterpret_cast<const char*>(words.data()), words.size() * 4) + strings;
}

TEST_F(LanguageTest, AFaultyTranslationShowsTheGermanTextAndNothingTheFontLacks) {
    struct Case {
        const char* what;
        std::string file;
        const char* german;
        const char* shown;
    };
    const std::string good = catalogue_file({{"Fernfeld", "Champ lointain"}});
    const Case cases[] = {
        {"a good one", good, "Fernfeld", "Champ lointain"},
        {"a character the font lacks", catalogue_file({{"Fernfeld", "Champ \xC5\x93uvre"}}),
         "Fernfeld", "Fernfeld"},
        {"a line break", catalogue_file({{"Fernfeld", "Champ\nlointain"}}), "Fernfeld", "Fernfeld"},
        {"an empty translation", catalogue_file({{"Fernfeld", ""}}), "Fernfeld", "Fernfeld"},
        {"malformed UTF-8", catalogue_file({{"Fernfeld", "Champ \xC3("}}), "Fernfeld", "Fernfeld"},
        {"a number's place missing", catalogue_file({{"Winkel = %s°", "Angle = \xC2\xB0"}}),
         "Winkel = %s°", "Winkel = %s\xF8"},
        {"a place too many", catalogue_file({{"Winkel = %s°", "Angle = %s %s\xC2\xB0"}}),
         "Winkel = %s°", "Winkel = %s\xF8"},
        {"a text it lacks", good, "[e] -> Ende", "[e] -> Ende"},
        {"rubbish for a file", std::string(64, '\x7F'), "Fernfeld", "Fernfeld"},
        {"a cut file", good.substr(0, good.size() / 2), "Fernfeld", "Fernfeld"},
        {"an empty file", "", "Fernfeld", "Fernfeld"},
    };
    // A folder per case and run: gettext keeps a catalogue it has read, by
    // its path, for the rest of the process.
    static int32_t run = 0;
    const std::filesystem::path root =
        std::filesystem::path(testing::TempDir()) /
        ("languages_test_" + std::to_string(getpid()) + "_" + std::to_string(run++));
    std::filesystem::remove_all(root);
    int32_t number = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::filesystem::path folder = root / std::to_string(number++);
        std::filesystem::create_directories(folder / "fr" / "LC_MESSAGES");
        std::ofstream(folder / "fr" / "LC_MESSAGES" / "mehrfachspalt.mo", std::ios::binary)
            << c.file;
        choose({.language = "fr", .lang = "C.UTF-8"}, folder.c_str());
        EXPECT_EQ(screen_text(c.german), c.shown);
    }
    std::filesystem::remove_all(root);
}

// The extra keys' help lines glyph by glyph after frames in which the axis,
// the rays, the slit arrows and the chain ran through their rows: with eight
// slits and with fifty, the detector point moved down through them and the
// detector line moved into them, in every language.
TEST_F(LanguageTest, TheHelpLinesStayWholeWhereTheFiguresCrossThem) {
    constexpr int32_t DOWN = 0x50 << 8 | 0xFF;
    struct Case {
        int32_t slits;
        int32_t spacing;
    };
    const Case cases[] = {{8, 20}, {50, 8}};
    const auto step = [](int32_t code) {
        key_push(code);
        handle_key();
        run_frame();
    };
    for (const char* language : {"de", "en", "fr", "es"}) {
        if (std::strcmp(language, "de") == 0) {
            choose({});
        } else {
            speak(language);
        }
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(language) + " " + std::to_string(c.slits) + " slits");
            simulation_start();
            use_slits(c.slits, c.spacing);
            redraw_scene();
            press_each("h");
            for (int32_t i = 0; i < 5; ++i)
                run_frame();
            for (int32_t i = 0; i < 100; ++i)
                step(DOWN);
            for (int32_t i = 0; i < 200; ++i)
                step('4');
            run_frame();
            const int32_t top =
                MENU_TOP - static_cast<int32_t>(std::size(EXTRA_KEYS_LINES)) * LINE_STEP;
            int32_t y = top;
            for (const char* line : EXTRA_KEYS_LINES) {
                const std::string text = to_string(screen_text(line));
                EXPECT_TRUE(text_at(MENU_X, y, text)) << text;
                y += LINE_STEP;
            }
            // The figures run on beside them: the axis right of its line.
            const auto axis_line =
                to_string(screen_text(EXTRA_KEYS_LINES[(AXIS_Y - top) / LINE_STEP]));
            const auto after = MENU_X + static_cast<int32_t>(axis_line.size()) * GLYPH_WIDTH;
            EXPECT_TRUE(row_has(AXIS_Y, after, model.detector_x - 1, COLOUR_LIGHT_GREY));
            press_each("h");
        }
    }
}

TEST_F(LanguageTest, EveryHelpLineIsInTheTemplate) {
    const std::vector<std::string> texts = template_texts();
    std::vector<const char*> lines(help_menu_lines().begin(), help_menu_lines().end());
    lines.insert(lines.end(), std::begin(EXTRA_KEYS_LINES), std::end(EXTRA_KEYS_LINES));
    for (const char* line : lines) {
        EXPECT_NE(std::find(texts.begin(), texts.end(), line), texts.end())
            << line << ": mark it with N_() and run bash scripts/update_texts.sh";
    }
}

}  // namespace
