#pragma once

// The help lines of the lesson keys ("h"), top to bottom: shown by
// extra_keys_help.cpp, named by the key table's rows. They end right above
// the help menu's place, so a new line goes on top.

// Each line in N_(), so that the catalogues have it (CONTRIBUTING.md).

#include <cstdint>
#include <iterator>

#include "sim/layout.h"
#include "sim/texts.h"

inline constexpr const char* EXTRA_KEYS_LINES[] = {
    N_("[l] -> Ton / Ton mit Ticks / aus"),
    N_("[f] -> Wellenbild: Wellen / Intensität / aus"),
    N_("[t] -> Nahfeld / Fernfeld"),
    N_("[b]/[B] -> Spaltbreite größer / kleiner"),
    N_("[G]/[K] -> Gitter: mehr / weniger Spalte"),
    N_("[+]/[-] -> Wellenlänge größer / kleiner"),
    N_("[Bild auf]/[Bild ab] -> Spaltabstand größer / kleiner"),
    N_("[r] -> Messwerte ein / aus"),
    N_("[c] -> Kurven behalten ein / aus, [v] -> Versuche"),
    N_("[p] -> Projektorfarben ein / aus, [u] -> Laborbild"),
    N_("[h] -> Zusatztasten aus, [x] -> Einstellung als Text"),
};

// In the lab view the lab's keys instead, ending at the same row.
inline constexpr const char* LAB_KEYS_LINES[] = {
    N_("[u] -> Laborbild aus, [q] -> Linien / Weißlicht"),
    N_("[+]/[-] -> Wellenlänge, [b]/[B] -> Spaltbreite"),
    N_("[Bild auf]/[Bild ab] -> Spaltabstand"),
    N_("[g]/[k], [G]/[K] -> Spalte, [z]/[Z] -> Maßstab"),
    N_("[Pfeiltasten] -> Detektor, Schirm näher / weiter"),
};

// The first help line's row: what stands above it (the readouts) stays above
// it.
inline constexpr int32_t EXTRA_KEYS_TOP =
    MENU_TOP - static_cast<int32_t>(std::size(EXTRA_KEYS_LINES)) * LINE_STEP;
