#pragma once

// The one place that puts the program together: the simulation and, when
// the build has them, the lesson tools above it, wired through the
// simulation's hooks. Both programs (the window and the snapshot tool) call
// it before anything else.
void assemble_program();
