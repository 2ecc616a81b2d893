#include "CutRunner.h"

#include "CutFades.h"
#include "OutputNaming.h"
#include "TerminalText.h"
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

// Which step of writing the output failed, so the user knows what to mend.
std::string WriteFailure(const OutputFault& fault, const std::string& output) {
    const std::string reason =
        fault.error != 0 ? std::string(": ") + std::strerror(fault.error) : "";
    switch (fault.step) {
    case OutputStep::Write:
        return "writing the cut failed" + reason;
    case OutputStep::Sync:
        return "saving the cut to disk failed" + reason;
    case OutputStep::TemporaryGone:
        return "the cut's temporary file was removed or replaced during the cut";
    case OutputStep::FolderMoved:
        return "the output folder was renamed or removed during the cut";
    case OutputStep::Name:
        return "naming the finished cut " + output + " failed" + reason;
    default:
        return "the encoder refused the audio";
    }
}

// Why a source cannot be cut by copying frames; null when it can.
const char* LosslessRefusalText(LosslessRefusal refusal) {
    switch (refusal) {
    case LosslessRefusal::NotLayer3:
        return "it is not MPEG Layer III";
    case LosslessRefusal::Junk:
        return "it holds other data between its frames";
    case LosslessRefusal::Joined:
        return "it is several MP3 files joined together";
    default:
        return nullptr;
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
    progress.Message("tesmira-cut: " + LineSafePath(input) + ": " + message);
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
        return Fail(interrupted && interrupted() ? "interrupted; " + NothingKept()
                                                 : SourceProblem(input));
    }
    if (options.lossless) {
        if (const char* why = LosslessRefusalText(job.CheckLosslessSource())) {
            return Fail(std::string("cannot be cut losslessly: ") + why +
                        "; cut it without --lossless");
        }
        job.SetLossless(true);
    }
    const AudioInfo info = job.GetSourceInfo();
    try {
        if (!job.OpenOutput(output.c_str(), info.sampleRate, info.stereo ? 2 : 1,
                            ModeFor(options))) {
            const std::string refusal = OutputRefusal(job.GetOutputProblem(), LineSafePath(output));
            if (!refusal.empty()) {
                return Fail(refusal, kExitUsage);
            }
            std::string reason = "cannot create the output file " + LineSafePath(output);
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
    job.SetCarryTags(!options.noTags);
    job.Start();
    progress.Begin(slot, input, LineSafePath(input) + " -> " + LineSafePath(output));
    return kExitOk;
}

void CutRunner::ShowProgress() {
    progress.Update(slot, job.GetProgress());
}

// The path of a finished cut goes out at once: a signal may end the program next. A cut
// whose path could not be written out was not reported, which a script must learn.
int CutRunner::Report(const std::string& path) {
    const int error = progress.Result(path);
    if (error == 0) {
        return kExitOk;
    }
    return Fail("the cut was kept as " + LineSafePath(path) +
                ", but its path could not be written out: " + std::strerror(error));
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
    return replacing ? "no file kept, " + LineSafePath(output) + " left as it was" : "no file kept";
}

int CutRunner::Conclude() {
    if (job.GetStatus() != ClipFinished) {
        progress.End(slot);
        switch (job.GetFailure()) {
        case ClipFailure::WriteFailed:
            return Fail(WriteFailure(job.GetOutputFault(), LineSafePath(output)) + "; " +
                        NothingKept());
        case ClipFailure::NameTaken:
            return Fail(LineSafePath(output) +
                        " was made by someone else during the cut and was left as it "
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
    for (const std::string& note : job.GetTagNotes()) {
        progress.Message("tesmira-cut: " + input + ": " + note);
    }
    return Report(job.GetOutputPath());
}
