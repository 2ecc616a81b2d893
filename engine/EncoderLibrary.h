#pragma once
// The process-wide binding to the encoder library (libencmp3.so), loaded once
// and kept loaded until the process ends.
#include "EncMp3Interface.h"

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

// Loads the library unless already loaded. Throws its error text as const char*:
// "Error loading encmp3.DLL" or "Unable to get LAME interfaces".
void LoadEncoderLibrary();
// The bound entry points; valid once LoadEncoderLibrary has returned.
const EncoderEntryPoints& GetEncoderEntryPoints();
