#include "sim/sim.h"

// Zero-filled at process start; simulation_start gives it its initial values.
SlitModel model;
