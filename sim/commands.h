#pragma once

// The keyboard commands: once per frame, at most one key (two in single-step
// mode) changes the model and repairs what it affects on the screen. "e" and
// the window's close button end the program with status 0.
void handle_key();

// What the single-step wait does while no key waits. In the window the wait
// pauses until a key arrives. A program without a window (the snapshot tool)
// types its next key instead, and answers false when it has none left: the
// wait then ends without a key, and the program stays in single-step mode.
using StepFeed = bool (*)();
// Returns the feed in place before; nullptr is the window's pause.
StepFeed set_step_feed(StepFeed feed);

// The seven help lines over the bottom of the picture.
void show_help_menu();
