#pragma once

#include <string>
#include <vector>

// The simulation run frame by frame without a window, with keys typed into
// it through the key path the window uses, one key a frame.

// Splits TEXT into keys: a cursor key's name ({up}, {down}, {left},
// {right}), Page Up's or Page Down's ({pgup}, {pgdn}), or one UTF-8
// character. Answers "" or what is wrong with it.
std::string split_keys(const std::string& text, std::vector<std::string>* keys);

// The keys still to type; replaces those not typed yet.
void type_keys(std::vector<std::string> keys);

// One frame and its keyboard command. Running freely, the next key is typed
// first; single-stepping, the wait takes the keys, each a frame. Answers
// false when the keys have run out in single-step mode: the picture then
// stands, as in a window where nobody types.
bool run_typed_frame();

// The keys of a sweep from the state the frames left: single steps ended,
// the curve switched on, the detector point onto the top row and then down
// one row a frame to the bottom. One more frame than keys draws the last
// sample.
std::vector<std::string> sweep_keys();
