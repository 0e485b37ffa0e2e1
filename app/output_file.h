#pragma once

#include <cstdio>
#include <string>

// An output file that appears complete or not at all: it is written beside
// the target under a fresh name and renamed onto the target at the end, so
// that a failure (a full disk, a missing folder) leaves neither a partial
// file nor a damaged older one behind.
struct PendingFile {
    std::FILE* file = nullptr;
    std::string temporary;
    std::string target;
};

// Answers "" and an open file, or what went wrong (one line, naming path).
std::string open_pending(const std::string& path, PendingFile* pending);

// Closes the file and renames it onto the target; on any earlier write error
// or a failure here the temporary file is removed. Answers "" or the error.
std::string commit_pending(PendingFile* pending);

// Closes and removes the temporary file.
void discard_pending(PendingFile* pending);
