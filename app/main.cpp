#include "app/program_options.h"
#include "app/program_parts.h"
#include "sim/sim.h"

int main(int argc, char** argv) {
    assemble_program();
    // Started without arguments, the program is exactly the simulation.
    if (const auto status = answer_program_options(argc, argv, stdout, stderr, take_start_setting,
                                                   take_prepared_settings)) {
#ifdef __EMSCRIPTEN__
        // The page's address gave the setting (?setting=): a text it refuses
        // has said why on the status line, and the page runs in the start
        // setting rather than ending.
        if (*status != 0) {
            choose_program_language();
            return simulation_main(1, argv);
        }
#endif
        return *status;
    }
    choose_program_language();
    return simulation_main(argc, argv);
}
