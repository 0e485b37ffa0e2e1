#pragma once

#include <cstdint>
#include <string>

// What the process was started with, handed over once by the program's entry.
struct ProgramArgs {
    int argc = 0;
    char** argv = nullptr;
};

// Stores the argument vector and the number text mode (0: numbers get no
// leading blank and image blocks get the 32-byte header).
void runtime_start(int argc, char** argv, int32_t text_mode);

const ProgramArgs& program_args();

// The number text mode given at start-up.
int32_t number_text_mode();

// The program file's name without directory, at most 127 characters, cut at
// its last "." ("mehrfachspalt" for /usr/bin/mehrfachspalt).
std::string program_title();
