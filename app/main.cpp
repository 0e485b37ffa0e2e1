#include "sim/sim.h"

int main(int argc, char** argv) {
    return simulation_main(argc, argv);
}
