#pragma once
// Files that are not what an MP3 should be, made here, and what a sensible program does
// with each: refuse it cleanly, or play what audio it holds.
#include <cstdint>
#include <string>
#include <vector>

enum class Outcome {
    Refused, // no audio: a clear error
    Plays,   // audio comes out
    Either,  // a decoder may fairly do either; whichever it does must be clean
};

struct HostileFile {
    std::string name;
    std::vector<uint8_t> bytes;
    Outcome engine; // the reader, the cut job and tesmira-cut (libmad)
    Outcome player; // the player library (libmpg123)
};

const std::vector<HostileFile>& HostileFiles();
