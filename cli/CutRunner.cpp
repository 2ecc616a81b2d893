#include "CutRunner.h"

#include "CutFades.h"
#include "OutputNaming.h"
#include "TimeTexts.h"

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <sys/stat.h>
#include <thread>

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

// Only a regular file: the output may be a device such as /dev/null.
void RemoveUnfinished(const std::string& output) {
    struct stat info {};
    if (::stat(output.c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
        std::remove(output.c_str());
    }
}

} // namespace

std::string CutRunner::OutputPathFor(const CutOptions& options, const std::string& input) const {
    if (!options.outputFile.empty()) {
        return options.outputFile;
    }
    const std::string folder = options.outputDir.empty() ? "." : options.outputDir;
    return BuildOutputPath(folder, input, std::time(nullptr));
}

int CutRunner::Fail(const std::string& input, const std::string& message) {
    std::fprintf(stderr, "tesmira-cut: %s: %s\n", input.c_str(), message.c_str());
    return kExitCutFailed;
}

int CutRunner::Run(const CutOptions& options, const std::string& input) {
    if (job.IsRunning()) {
        return Fail(input, "a cut is still running");
    }
    int startMs = 0;
    int endMs = INT_MAX; // the whole song: the job clamps the end to the source
    int lengthMs = 0;
    if (!options.whole) {
        lengthMs = LengthMsFromTexts(options.startText, options.endText);
        if (lengthMs <= 0) {
            return Fail(input, "the end must be greater than the start");
        }
        startMs = TextToMs(options.startText);
        endMs = TextToMs(options.endText);
    }
    const std::string output = OutputPathFor(options, input);

    if (!job.OpenSource(input.c_str())) {
        return Fail(input, SourceProblem(input));
    }
    const AudioInfo info = job.GetSourceInfo();
    try {
        if (!job.OpenOutput(output.c_str(), info.sampleRate, info.stereo ? 2 : 1)) {
            return Fail(input, "cannot create the output file " + output);
        }
    } catch (const char* libraryError) {
        std::fprintf(stderr, "tesmira-cut: %s\n", libraryError);
        return kExitEncoderLibrary;
    }
    if (!job.SetRange(startMs, endMs)) {
        job.AbandonOutput();
        return Fail(input, "the start lies beyond the end of the source");
    }
    if (options.whole) {
        lengthMs = job.GetRangeEndMs() - job.GetRangeStartMs();
    }
    const CutFades fades =
        MakeCutFades(options.fadeIn, std::atoi(options.fadeInText.c_str()), options.fadeOut,
                     std::atoi(options.fadeOutText.c_str()), lengthMs);
    job.SetFadeIn(fades.inEnabled, fades.inStartMs, fades.inLengthMs);
    job.SetFadeOut(fades.outEnabled, fades.outStartMs, fades.outEndMs);
    job.SetSpeed(TextToDouble(options.speedText));
    job.SetPitchFactor(static_cast<float>(TextToDouble(options.pitchText)));
    job.SetThrottleMs(options.throttleMs);
    job.Start();
    return Follow(input, output);
}

int CutRunner::Follow(const std::string& input, const std::string& output) {
    progress.Begin(input + " -> " + output);
    while (job.IsRunning()) {
        if (interrupt && *interrupt) {
            job.Stop();
            progress.End();
            RemoveUnfinished(output);
            return Fail(input, "interrupted; no file kept");
        }
        progress.Update(job.GetProgress());
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    if (job.GetStatus() != ClipFinished) {
        progress.End();
        if (job.GetFailure() == ClipFailure::WriteFailed) {
            return Fail(input, "writing " + output + " failed (disk full or gone?); no file kept");
        }
        return Fail(input, "the cut was stopped");
    }
    progress.Update(100.0);
    progress.End();
    std::printf("%s\n", output.c_str());
    return kExitOk;
}
