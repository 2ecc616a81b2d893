#pragma once
// How preparing or running a cut ended, in one shape for every step: what failed, the
// system's reason where there is one, and a detail (a path or a library's own text). The
// front ends turn a result into their own words, each through one table.
#include <string>
#include <utility>

enum class CutError {
    None,
    // The request itself.
    EmptyRange,      // the end is not after the start
    BadTime,         // a time or fade below zero or past its limit
    BadFactor,       // a speed or pitch factor outside the range SoundTouch handles
    BadLanes,        // neither one nor two encoder streams
    LosslessAltered, // a lossless cut with a fade, speed or pitch
    // The source.
    SourceUnreadable,  // not found, not readable, or no MP3 stream in it
    Interrupted,       // the open was given up on request
    RangeBeyondSource, // the start lies past the source's end
    LosslessNotLayer3, // only Layer III frames can be copied
    LosslessJunk,      // other data between the frames
    LosslessJoined,    // several files joined into one
    // The encoder library and its stream.
    EncoderLibraryMissing,    // it could not be loaded
    EncoderLibraryIncomplete, // it lacks entry points
    EncoderStreamRefused,     // it would not open a stream for this format
    // The output, before the cut.
    OutputExists,       // a new file's name is taken
    OutputNotRegular,   // the name is a folder, FIFO, device, socket or dangling link
    OutputIsSource,     // the name leads to the source
    OutputCannotCreate, // the temporary file could not be made (errno)
    // The cut itself.
    Busy,          // a cut is still running
    Stopped,       // stopped on request
    ReadFailed,    // the source could not be read to the end of the range
    NoAudio,       // the range held no audio that could be decoded
    EncodeFailed,  // the encoder refused the audio, or SoundTouch failed
    WriteFailed,   // writing the bytes (errno)
    SyncFailed,    // making them safe on disk (errno)
    TemporaryGone, // the temporary file was removed or replaced during the cut
    FolderMoved,   // the output folder was renamed or removed during the cut
    NameFailed,    // giving the finished file its name (errno)
    NameTaken,     // someone else made a file of the output's name during the cut
};

struct CutResult {
    CutError error = CutError::None;
    int errnoValue = 0;
    std::string detail;

    bool Ok() const { return error == CutError::None; }
};

inline CutResult CutFailed(CutError error, int errnoValue = 0, std::string detail = {}) {
    return {error, errnoValue, std::move(detail)};
}
