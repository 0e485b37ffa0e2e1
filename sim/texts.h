#pragma once

// The program's texts in the language the desktop chose. The German texts in
// the sources are the message ids, in UTF-8; a catalogue per language (po/)
// holds the others. What reaches the screen is converted to code page 437
// once and kept, so a frame never translates. Without a language choice, or
// for a language without a catalogue, the texts are the German ones, byte for
// byte as they always were.
//
//   choose_language("/usr/share/locale");   // as LANGUAGE, LC_ALL, LC_MESSAGES, LANG say
//   print_at_pixel(x, y, screen_text("[e] -> Ende"));

#include <initializer_list>
#include <string>
#include <string_view>

// The catalogues' name: share/locale/LANG/LC_MESSAGES/mehrfachspalt.mo.
inline constexpr const char* TEXT_DOMAIN = "mehrfachspalt";

// Marks a text for the catalogues where it is only named (a table of help
// lines); screen_text translates it where it is drawn.
constexpr const char* N_(const char* german) {
    return german;
}

// Chooses the language as gettext reads the environment (LANGUAGE, then
// LC_ALL, LC_MESSAGES, LANG), with the catalogues in folder; nullptr: German.
// Only the messages category follows the locale, so numbers keep their
// decimal point. In the browser the page's language and catalogue count
// instead. Forgets every text translated before.
void choose_language(const char* folder);

// The text as the screen shows it: translated and in code page 437. A
// translation is left unused, for the German text, when it is empty, when a
// character of it has no glyph in the font (or is a control character), or
// when its "%s" places differ from the German's. The view stays valid until
// choose_language.
std::string_view screen_text(const char* german);

// The text translated, in UTF-8 (the window's title).
std::string title_text(const char* german);

// The text with its "%s" places filled with values, in order.
std::string fill_in(std::string_view text, std::initializer_list<std::string_view> values);
