#include "sim/simulation.h"

int main(int argc, char** argv) {
    return simulation_main(argc, argv);
}
