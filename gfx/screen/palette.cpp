#include "gfx/screen/screen.h"

#include <algorithm>

#include "gfx/present/present.h"
#include "gfx/screen/screen_internal.h"

// Every palette change happens under the screen lock, and the driver's
// set_palette is called with it held: the presentation thread reads the
// palette under the same lock.

namespace {

constexpr int32_t PORT_READ_INDEX = 0x3C7;
constexpr int32_t PORT_WRITE_INDEX = 0x3C8;
constexpr int32_t PORT_DATA = 0x3C9;
constexpr int32_t PORT_STATUS = 0x3DA;
constexpr int32_t COLOUR_MAP_SIZE = 16;

// The emulated palette registers: the selected entry and which of red,
// green, blue comes next.
struct PortState {
    int32_t index = 0;
    int32_t component = 0;
    uint8_t written[3] = {};
};
PortState g_port;

uint32_t pack(int32_t r, int32_t g, int32_t b) {
    return static_cast<uint32_t>(r) | static_cast<uint32_t>(g) << 8 |
           static_cast<uint32_t>(b) << 16;
}

int32_t red_of(uint32_t c) {
    return c & 0xFF;
}
int32_t green_of(uint32_t c) {
    return (c >> 8) & 0xFF;
}
int32_t blue_of(uint32_t c) {
    return (c >> 16) & 0xFF;
}

// A screen whose palette may be changed: one exists, with at most 8 bits.
ScreenContext* palette_screen() {
    ScreenContext* screen = active_screen();
    if (screen == nullptr || screen->depth > 8 || screen->default_palette == nullptr ||
        screen->default_palette->rgb == nullptr) {
        return nullptr;
    }
    return screen;
}

bool is_attribute(const ScreenContext& screen, int32_t i) {
    return screen.depth >= 8 || i < (1 << screen.depth);
}

void show_attribute(ScreenContext& screen, int32_t attribute, uint32_t colour) {
    screen.palette[attribute] = colour;
    // Once the window shows present points, it hears of the colour at the next.
    if (screen.presented == nullptr && screen.driver != nullptr &&
        screen.driver->set_palette != nullptr) {
        screen.driver->set_palette(attribute, red_of(colour), green_of(colour), blue_of(colour));
    }
}

// A mode's attribute -> entry map with its length; no entries for none.
struct IndexMap {
    const uint8_t* entries = nullptr;
    int32_t size = 0;
};

IndexMap index_map(const ScreenContext& screen, int32_t index) {
    const ModeRow* row = mode_row(screen.mode_number);
    if (row == nullptr || row->index_map == nullptr) return IndexMap{};
    if (screen.mode_number == 1) {
        // Widened: -index - 1 overflows for the most negative index.
        const int64_t set = std::clamp<int64_t>(-int64_t{index} - 1, 0, 3);
        return IndexMap{mode1_colour_sets[set], MODE1_SET_SIZE};
    }
    return IndexMap{row->index_map, row->index_map_size};
}

void mark_all_rows(ScreenContext& screen) {
    mark_rows(screen, 0, screen.height - 1);
}

// A completed red, green, blue triple written to the data port.
void port_set_entry(ScreenContext& screen) {
    const PaletteSpec& defaults = *screen.default_palette;
    const int32_t entry = g_port.index & (defaults.count - 1);
    const uint8_t* c = g_port.written;
    if (&defaults == &palette_256) {
        gfx_palette(entry, static_cast<int32_t>(pack(c[0], c[1], c[2])), -1, -1);
        return;
    }
    screen_lock(screen);
    const uint32_t colour = pack(c[0] * 4, c[1] * 4, c[2] * 4);
    screen.master_palette[entry] = colour;
    for (int32_t a = 0; a < COLOUR_MAP_SIZE && is_attribute(screen, a); ++a) {
        if (screen.colour_map[a] == entry) show_attribute(screen, a, colour);
    }
    mark_all_rows(screen);
    screen_unlock(screen);
}

void port_advance(const ScreenContext& screen) {
    if (++g_port.component < 3) return;
    g_port.component = 0;
    g_port.index = (g_port.index + 1) & (screen.default_palette->count - 1);
}

}  // namespace

void reset_palette(int32_t index) {
    ScreenContext* screen = active_screen();
    if (screen == nullptr || screen->default_palette == nullptr ||
        screen->default_palette->rgb == nullptr) {
        return;
    }
    const PaletteSpec& defaults = *screen->default_palette;
    const IndexMap map = index_map(*screen, index);
    const auto entry = [&defaults](int32_t i) {
        const uint8_t* c = defaults.rgb + 3 * i;
        return pack(c[0], c[1], c[2]);
    };

    screen_lock(*screen);
    for (int32_t i = 0; i < defaults.count; ++i) {
        screen->master_palette[i] = entry(i);
        if (!is_attribute(*screen, i)) continue;
        int32_t shown = i;
        if (i < map.size) shown = map.entries[i];
        // Without a map attribute i shows entry i; recording that keeps the
        // port emulation, which looks attributes up by entry, from treating
        // every attribute as showing entry 0.
        if (i < COLOUR_MAP_SIZE) screen->colour_map[i] = static_cast<uint8_t>(shown);
        show_attribute(*screen, i, entry(shown));
    }
    screen_unlock(*screen);
}

void set_palette_entry(int32_t index, uint32_t colour) {
    ScreenContext* screen = palette_screen();
    if (screen == nullptr) return;
    const PaletteSpec& defaults = *screen->default_palette;
    index &= defaults.count - 1;

    if (&defaults == &palette_256) {
        // 6-bit components; 63 must give full 255, so scale rather than shift.
        const auto widen = [](uint32_t c) {
            return static_cast<int32_t>(static_cast<double>(c & 0x3F) * 255.0 / 63.0);
        };
        screen_lock(*screen);
        show_attribute(*screen, index,
                       pack(widen(colour), widen(colour >> 8), widen(colour >> 16)));
        screen_unlock(*screen);
        return;
    }
    // Attributes past the index map (the 64-colour palette has more entries
    // than a 16-colour screen has attributes) have no slot in colour_map;
    // such a call has nothing to change.
    if (index >= COLOUR_MAP_SIZE) return;
    const int32_t entry = static_cast<int32_t>(colour & static_cast<uint32_t>(defaults.count - 1));
    screen_lock(*screen);
    screen->colour_map[index] = static_cast<uint8_t>(entry);
    show_attribute(*screen, index, screen->master_palette[entry]);
    screen_unlock(*screen);
}

void gfx_palette(int32_t index, int32_t colour, int32_t green, int32_t blue) {
    ScreenContext* screen = palette_screen();
    if (screen == nullptr) return;
    if (green >= 0 && blue >= 0) {
        // Each component keeps to its own 6-bit field, so a value above 255
        // cannot spill into its neighbour.
        colour = (colour >> 2 & 0x3F) | (green >> 2 & 0x3F) << 8 | (blue >> 2 & 0x3F) << 16;
    }
    screen_lock(*screen);
    if (index >= 0) {
        set_palette_entry(index, static_cast<uint32_t>(colour));
    } else {
        reset_palette(index);
    }
    mark_all_rows(*screen);
    screen_unlock(*screen);
}

int32_t palette_port_in(int32_t port) {
    ScreenContext* screen = palette_screen();
    if (screen == nullptr) return 255;
    if (port == PORT_STATUS) {
        // Waiting under the lock would stall the very presentation it waits for.
        if (screen->driver != nullptr && screen->driver->wait_vsync != nullptr) {
            screen->driver->wait_vsync();
        }
        return 8;
    }
    if (port != PORT_DATA) return 255;
    screen_lock(*screen);
    const uint32_t colour = screen->palette[g_port.index & (screen->default_palette->count - 1)];
    screen_unlock(*screen);
    const int32_t component = (colour >> (8 * g_port.component) & 0xFF) >> 2;
    port_advance(*screen);
    return component;
}

void palette_port_out(int32_t port, int32_t value) {
    ScreenContext* screen = palette_screen();
    if (screen == nullptr) return;
    if (port == PORT_READ_INDEX || port == PORT_WRITE_INDEX) {
        g_port.index = value & (screen->default_palette->count - 1);
        g_port.component = 0;
        return;
    }
    if (port != PORT_DATA) return;
    g_port.written[g_port.component] = static_cast<uint8_t>(value & 0x3F);
    if (g_port.component == 2) port_set_entry(*screen);
    port_advance(*screen);
}

void palette_port_reset() {
    g_port = PortState{};
}
