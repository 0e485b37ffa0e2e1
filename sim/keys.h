#pragma once

// The rows of the key table: every command key once, with what it does and
// where it is described. The core's rows are the keys the program has always
// had; a layer above adds its own through its hooks (sim/hooks.h), and
// sim/key_table.h joins them. Adding a key is adding a row: CONTRIBUTING.md
// says how.

#include <span>
#include <string_view>

// When handle_key runs a key's routine: most keys once the single-step wait
// is over; "s" before it (it starts the wait); "e" after the pointer and the
// readouts had their turn, as the last thing of the frame.
enum class KeyTurn { COMMAND, BEFORE_WAIT, LAST };

struct KeyCommand {
    std::string_view key;  // as gfx_inkey answers it
    // With the context the key's table was installed with (sim/hooks.h; the
    // core's own keys have none). nullptr: the key acts elsewhere ("w" ends
    // the wait).
    void (*handle)(void* context) = nullptr;
    bool extension = false;  // beyond the keys the program always had
    KeyTurn turn = KeyTurn::COMMAND;
    // How the help texts name it, between brackets: "g", "Pfeiltasten".
    std::string_view label = {};
    // The on-screen help line that names it (one line may name several
    // keys); empty for none.
    std::string_view screen_help = {};
    // Its line in the program's --help (keys sharing a line share the text);
    // empty for none.
    std::string_view option_help = {};
    // The page button's key (the browser's name for it); empty for none.
    std::string_view page_button = {};
    // A layer's row for a key of the core's own, which it takes over while
    // this says so (with the layer's context): a view of the layer's in
    // which the key means something else. Such a row is not a key of its
    // own, so the key table does not list it.
    bool (*claims)(void* context) = nullptr;
};

// The core's rows, in the order --help lists them.
std::span<const KeyCommand> original_keys();

// The help menu's lines ("m"), top to bottom, as the screen shows them.
std::span<const char* const> help_menu_lines();
