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
    // The reader, the cut job, tesmira-cut (libmad) and the player library (libmpg123) alike:
    // the preview and the cut accept the same files.
    Outcome outcome;
    // Both show the same length (not where the decoders resynchronise differently).
    bool sameLength = true;
    // ... and the same audio (not where libmpg123 conceals the frames beside junk).
    bool sameAudio = true;
};

const std::vector<HostileFile>& HostileFiles();
