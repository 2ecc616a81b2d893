#include "CutRunner.h"

#include "CutFades.h"
#include "OutputNaming.h"
#include "TimeTexts.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <sys/stat.h>

namespace {

// Why the job would not open a source, as far as the file system can tell.
std::string SourceProblem(const std::string& input) {
    struct stat info {};
    if (::stat(input.c_str(), &info) != 0) {
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

OutputMode ModeFor(const CutOptions& options) {
    if (options.outputFile.empty()) {
        return OutputMode::NumberedName;
    }
    return options.overwrite ? OutputMode::ReplaceFile : OutputMode::NewFile;
}

// Why the output was refused; empty for a failure that is no fault of the command line.
std::string OutputRefusal(OutputProblem problem, const std::string& output) {
    switch (problem) {
    case OutputProblem::Exists:
        return output + " exists; it was left as it is (--overwrite replaces it)";
    case OutputProblem::NotRegular:
        return output + " is not a regular file; nothing was written";
    case OutputProblem::IsSource:
        return output + " is the source itself; nothing was written";
    default:
        return {};
    }
}

} // namespace

std::string CutRunner::OutputPathFor(const CutOptions& options, const std::string& source) const {
    if (!options.outputFile.empty()) {
        return options.outputFile;
    }
    const std::string folder = options.outputDir.empty() ? "." : options.outputDir;
    return BuildOutputPath(folder, source, std::time(nullptr));
}

int CutRunner::Fail(const std::string& message, int code) {
    progress.Message("tesmira-cut: " + input + ": " + message);
    return code;
}

int CutRunner::Start(const CutOptions& options, const std::string& source) {
    input = source;
    if (job.IsRunning()) {
        return Fail("a cut is still running");
    }
    int startMs = 0;
    int endMs = INT_MAX; // the whole song: the job clamps the end to the source
    int lengthMs = 0;
    if (!options.whole) {
        startMs = options.startMs;
        endMs = options.endMs;
        lengthMs = endMs - startMs;
    }
    output = OutputPathFor(options, input);
    replacing = ModeFor(options) == OutputMode::ReplaceFile;

    if (!job.OpenSource(input.c_str())) {
        return Fail(SourceProblem(input));
    }
    const AudioInfo info = job.GetSourceInfo();
    try {
        if (!job.OpenOutput(output.c_str(), info.sampleRate, info.stereo ? 2 : 1,
                            ModeFor(options))) {
            const std::string refusal = OutputRefusal(job.GetOutputProblem(), output);
            if (!refusal.empty()) {
                return Fail(refusal, kExitUsage);
            }
            std::string reason = "cannot create the output file " + output;
            if (job.GetOutputErrno() != 0) {
                reason.append(": ").append(std::strerror(job.GetOutputErrno()));
            }
            return Fail(reason);
        }
    } catch (const char* libraryError) {
        progress.Message(std::string("tesmira-cut: ") + libraryError);
        return kExitEncoderLibrary;
    }
    if (!job.SetRange(startMs, endMs)) {
        job.AbandonOutput();
        return Fail("the start lies beyond the end of the source");
    }
    // The whole song, or an end past it that was clamped: the fade-out ends where the cut does.
    const int rangeMs = job.GetRangeEndMs() - job.GetRangeStartMs();
    lengthMs = options.whole ? rangeMs : std::min(lengthMs, rangeMs);
    const CutFades fades = MakeCutFades(options.fadeIn, options.fadeInMs, options.fadeOut,
                                        options.fadeOutMs, lengthMs);
    job.SetFadeIn(fades.inEnabled, fades.inStartMs, fades.inLengthMs);
    job.SetFadeOut(fades.outEnabled, fades.outStartMs, fades.outEndMs);
    job.SetSpeed(options.speed);
    job.SetPitchFactor(static_cast<float>(options.pitch));
    job.SetThrottleMs(options.throttleMs);
    job.SetSplitEncoding(options.streams > 1);
    job.Start();
    progress.Begin(slot, input, input + " -> " + output);
    return kExitOk;
}

void CutRunner::ShowProgress() {
    progress.Update(slot, job.GetProgress());
}

// The path of a finished cut goes out at once: a signal may end the program next.
int CutRunner::Report(const std::string& path) {
    progress.Result(path);
    return kExitOk;
}

int CutRunner::Interrupt() {
    job.Stop();
    progress.End(slot);
    // A cut that was complete just before the signal is kept and reported.
    const std::string done = job.GetOutputPath();
    return done.empty() ? Fail("interrupted; " + NothingKept()) : Report(done);
}

// What a cut that did not finish leaves: nothing new, and the old file as it was.
std::string CutRunner::NothingKept() const {
    return replacing ? "no file kept, " + output + " left as it was" : "no file kept";
}

int CutRunner::Conclude() {
    if (job.GetStatus() != ClipFinished) {
        progress.End(slot);
        switch (job.GetFailure()) {
        case ClipFailure::WriteFailed:
            return Fail("writing the cut failed (disk full or folder gone?); " + NothingKept());
        case ClipFailure::NameTaken:
            return Fail(output + " was made by someone else during the cut and was left as it "
                                 "is; the cut was not kept");
        case ClipFailure::ReadFailed:
            return Fail("reading the source failed; " + NothingKept());
        case ClipFailure::NoAudio:
            return Fail("the range holds no audio that could be decoded; " + NothingKept());
        default:
            return Fail("the cut was stopped; " + NothingKept());
        }
    }
    progress.Update(slot, 100.0);
    progress.End(slot);
    return Report(job.GetOutputPath());
}
