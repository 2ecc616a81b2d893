#pragma once
// The process-wide binding to the encoder library (libencmp3.so): each place it is loaded
// from is loaded once and kept loaded until the process ends.
#include "CutResult.h"
#include "EncMp3Interface.h"

#include <string>

// The entry points in the order they are resolved.
struct EncoderEntryPoints {
    BEINITSTREAM beInitStream = nullptr;
    BEENCODECHUNK beEncodeChunk = nullptr;
    BEDEINITSTREAM beDeinitStream = nullptr;
    BECLOSESTREAM beCloseStream = nullptr;
    BEVERSION beVersion = nullptr;
    BEWRITEVBRHEADER beWriteVBRHeader = nullptr;
    BEWRITEINFOTAG beWriteInfoTag = nullptr; // optional: may stay null
};

// Loads the library at path unless already loaded from there; an empty path searches beside
// the executable, then the library path. Returns its entry points, or null with why in
// failure (EncoderLibraryMissing or EncoderLibraryIncomplete); a failed load binds nothing,
// so the next call tries again.
const EncoderEntryPoints* LoadEncoderLibrary(const std::string& path, CutResult& failure);
