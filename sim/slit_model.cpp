#include "sim/slit_model.h"

// Zero-filled at process start; simulation_start gives it its initial values.
SlitModel model;
