#include "CutMessages.h"

#include "CutOptions.h"

#include <cstdint>
#include <cstring>
#include <sys/stat.h>

namespace {

// Why the source would not open, as far as the file system can tell.
std::string SourceProblem(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return std::string("cannot open the source: ") + std::strerror(errno);
    }
    if (!S_ISREG(info.st_mode)) {
        return "cannot open the source: not a regular file";
    }
    // The reader's offsets are 32-bit.
    if (static_cast<uint64_t>(info.st_size) > 0xFFFFFFFFull) {
        return "the source is 4 GiB or larger, too large to cut";
    }
    return "cannot open the source: unreadable or not an MP3 file";
}

std::string Reason(int error) {
    return error != 0 ? std::string(": ") + std::strerror(error) : "";
}

std::string Lossless(const char* why) {
    return std::string("cannot be cut losslessly: ") + why + "; cut it without --lossless";
}

} // namespace

CutMessage DescribeCutResult(const CutResult& r, const std::string& input,
                             const std::string& output, bool replacing) {
    // What a cut that did not finish leaves: nothing new, and the old file as it was.
    const std::string nothingKept =
        replacing ? "no file kept, " + output + " left as it was" : "no file kept";
    switch (r.error) {
    case CutError::None:
        return {};
    case CutError::EmptyRange:
        return {"the end must be greater than the start", kExitUsage};
    case CutError::BadTime:
        return {"a time, fade or pause is out of range", kExitUsage};
    case CutError::BadFactor:
        return {"the speed and pitch factors must lie between 0.5 and 2.0", kExitUsage};
    case CutError::BadLanes:
        return {"--streams takes 1 or 2", kExitUsage};
    case CutError::LosslessAltered:
        return {"--lossless copies frames as they are: it cannot fade or change speed or pitch; "
                "cut without it",
                kExitUsage};
    case CutError::SourceUnreadable:
        return {SourceProblem(input)};
    case CutError::Interrupted:
        return {"interrupted; " + nothingKept};
    case CutError::RangeBeyondSource:
        return {"the start lies beyond the end of the source"};
    case CutError::LosslessNotLayer3:
        return {Lossless("it is not MPEG Layer III")};
    case CutError::LosslessJunk:
        return {Lossless("it holds other data between its frames")};
    case CutError::LosslessJoined:
        return {Lossless("it is several MP3 files joined together")};
    case CutError::EncoderLibraryMissing:
        return {"Error loading encmp3.DLL", kExitEncoderLibrary, false};
    case CutError::EncoderLibraryIncomplete:
        return {"Unable to get LAME interfaces", kExitEncoderLibrary, false};
    case CutError::EncoderStreamRefused:
        return {"the encoder library could not open an encoder stream"};
    case CutError::OutputExists:
        return {output + " exists; it was left as it is (--overwrite replaces it)", kExitUsage};
    case CutError::OutputNotRegular:
        return {output + " is not a regular file; nothing was written", kExitUsage};
    case CutError::OutputIsSource:
        return {output + " is the source itself; nothing was written", kExitUsage};
    case CutError::OutputCannotCreate:
        return {"cannot create the output file " + output + Reason(r.errnoValue)};
    case CutError::Busy:
        return {"a cut is still running"};
    case CutError::Stopped:
        return {"the cut was stopped; " + nothingKept};
    case CutError::ReadFailed:
        return {"reading the source failed; " + nothingKept};
    case CutError::NoAudio:
        return {"the range holds no audio that could be decoded; " + nothingKept};
    case CutError::EncodeFailed:
        return {"the encoder refused the audio; " + nothingKept};
    case CutError::WriteFailed:
        return {"writing the cut failed" + Reason(r.errnoValue) + "; " + nothingKept};
    case CutError::SyncFailed:
        return {"saving the cut to disk failed" + Reason(r.errnoValue) + "; " + nothingKept};
    case CutError::TemporaryGone:
        return {"the cut's temporary file was removed or replaced during the cut; " + nothingKept};
    case CutError::FolderMoved:
        return {"the output folder was renamed or removed during the cut; " + nothingKept};
    case CutError::NameFailed:
        return {"naming the finished cut " + output + " failed" + Reason(r.errnoValue) + "; " +
                nothingKept};
    case CutError::NameTaken:
        return {output + " was made by someone else during the cut and was left as it is; the "
                         "cut was not kept"};
    }
    return {"the cut failed; " + nothingKept};
}
