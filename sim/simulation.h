#pragma once

// The model's initial values and the first picture; needs the screen to exist.
void simulation_start();

// One frame without its keyboard command and without the wait: path lengths,
// slit arrows, chain and resultant, detector line, rays, intensity sample and
// the phase advance.
void run_frame();

// Waits until 0.05 s have passed since the previous frame.
void pace_frame();

// The program: opens the screen and runs the frame loop. Answers 1 when no
// window could be opened; otherwise it runs until the process is ended.
int simulation_main(int argc, char** argv);
