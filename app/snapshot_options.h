#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What mehrfachspalt-snapshot was asked to do.
struct SnapshotOptions {
    int32_t frames = 1;
    std::vector<std::string> keys;  // one key per frame
    std::string picture;            // OUT.png, or empty
    std::string animation;          // --animate OUT.gif, or empty
    std::string curve;              // --curve OUT.csv, or empty
    std::string tone;               // --tone OUT.wav, or empty
    bool sweep = false;
    bool setting_given = false;
    std::string setting;  // --setting TEXT: the setting the frames start in
};

enum class SnapshotRequest { RUN, HELP, VERSION, USAGE_ERROR };

struct ParsedSnapshot {
    SnapshotRequest request = SnapshotRequest::RUN;
    std::string problem;  // for USAGE_ERROR: what is wrong, one line
};

constexpr int32_t MAX_FRAMES = 1000000;
// An animation for a slide: ten minutes at 20 frames a second is plenty,
// and a mistyped count cannot fill the disk.
constexpr int32_t MAX_ANIMATION_FRAMES = 12000;
// The tone: an hour of it is 330 MB; ten minutes will do as for a slide.
constexpr int32_t MAX_TONE_FRAMES = 12000;

ParsedSnapshot parse_snapshot_options(int argc, char** argv, SnapshotOptions* options);

// The usage in one line, and the text of --help.
extern const char* const SNAPSHOT_USAGE;
extern const char* const SNAPSHOT_HELP;
