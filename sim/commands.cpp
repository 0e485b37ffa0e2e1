#include <cstdlib>
#include <string>

#include "gfx/gfx.h"
#include "gfx/input/input.h"
#include "runtime/runtime.h"
#include "sim/hooks.h"
#include "sim/key_table.h"
#include "sim/sim.h"
#include "sim/texts.h"

namespace {

// Single-step mode: each key press advances one frame, and "w" as the key
// that ends a wait leaves the mode. The wait sleeps until a key is pushed,
// so that it neither takes a whole core nor wakes a thousand times a second,
// and it sleeps without the lock that the window thread needs to deliver the
// very key awaited.
StepFeed step_feed = nullptr;
bool command_ran = false;

std::string wait_for_step() {
    std::string key;
    for (;;) {
        key = gfx_inkey();
        if (!key.empty()) break;
        if (step_feed == nullptr) {
            key_wait(-1);
        } else if (!step_feed()) {
            return key;
        }
    }
    if (key == "w") model.stepping = false;
    return key;
}

// The window's title says when the program waits for a key per frame, which
// the picture does not show.
void show_stepping() {
    if (model.stepping == model.stepping_shown) return;
    model.stepping_shown = model.stepping;
    // The title is UTF-8: an en dash.
    const std::string title =
        gfx_window_title() + (model.stepping ? " – " + title_text("Einzelschritt") : "");
    gfx_set_title(title.c_str());
    gfx_show_single_step(model.stepping);
}

void run_in_turn(const KeyCommand* command, KeyTurn turn) {
    if (command != nullptr && command->turn == turn && command->handle != nullptr)
        command->handle(sim_hooks().context);
}

}  // namespace

StepFeed set_step_feed(StepFeed feed) {
    const StepFeed before = step_feed;
    step_feed = feed;
    return before;
}

bool key_command_ran() {
    return command_ran;
}

void handle_key() {
    std::string key = gfx_inkey();
    run_in_turn(find_key(key), KeyTurn::BEFORE_WAIT);
    show_stepping();
    if (model.stepping) key = wait_for_step();

    const KeyCommand* command = find_key(key);
    command_ran = command != nullptr;
    run_in_turn(command, KeyTurn::COMMAND);
    if (const auto after_key = sim_hooks().after_key) after_key(sim_hooks().context);
    show_stepping();
    run_in_turn(command, KeyTurn::LAST);
}
