#pragma once

// The help lines of the lesson keys ("h"), top to bottom: shown by
// extra_keys_help.cpp, named by the key table's rows. They end right above
// the help menu's place, so a new line goes on top.

// Two literals where an escape would swallow the letters after it.
inline constexpr const char* EXTRA_KEYS_LINES[] = {
    "[f] -> Wellenbild: Wellen / Intensit\x84t / aus",
    "[t] -> Nahfeld / Fernfeld",
    "[b]/[B] -> Spaltbreite gr\x94\xE1"
    "er / kleiner",
    "[G]/[K] -> Gitter: mehr / weniger Spalte",
    ("[+]/[-] -> Wellenl\x84nge gr\x94\xE1"
     "er / kleiner"),
    ("[Bild auf]/[Bild ab] -> Spaltabstand gr\x94\xE1"
     "er / kleiner"),
    "[r] -> Messwerte ein / aus",
    "[c] -> Kurven behalten ein / aus",
    "[p] -> Projektorfarben ein / aus",
    "[h] -> Zusatztasten ausblenden",
};
