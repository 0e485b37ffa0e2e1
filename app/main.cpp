#include "app/program_options.h"
#include "app/program_parts.h"
#include "sim/sim.h"

int main(int argc, char** argv) {
    assemble_program();
    // Started without arguments, the program is exactly the simulation.
    if (const auto status = answer_program_options(argc, argv, stdout, stderr, take_start_setting))
        return *status;
    choose_program_language();
    return simulation_main(argc, argv);
}
