#pragma once

// The keyboard commands: once per frame, at most one key (two in single-step
// mode) changes the model and repairs what it affects on the screen. "e" and
// the window's close button end the program with status 0.
void handle_key();

// The seven help lines over the bottom of the picture.
void show_help_menu();
