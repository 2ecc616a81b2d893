#include "CutRunner.h"

#include "CutMessages.h"
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

OutputMode ModeFor(const CutOptions& options) {
    if (options.outputFile.empty()) {
        return OutputMode::NumberedName;
    }
    return options.overwrite ? OutputMode::ReplaceFile : OutputMode::NewFile;
}

CutRequest RequestFor(const CutOptions& options, const std::string& source,
                      const std::string& output) {
    CutRequest r = options.cut;
    r.source = source;
    r.output = output;
    r.mode = ModeFor(options);
    return r;
}

} // namespace

std::string CutRunner::OutputPathFor(const CutOptions& options, const std::string& source) const {
    if (!options.outputFile.empty()) {
        return options.outputFile;
    }
    const std::string folder = options.outputDir.empty() ? "." : options.outputDir;
    return BuildOutputPath(folder, source, std::time(nullptr));
}

int CutRunner::Fail(const std::string& message) {
    progress.Message("tesmira-cut: " + LineSafePath(input) + ": " + message);
    return kExitCutFailed;
}

int CutRunner::Fail(const CutResult& result) {
    const CutMessage message = DescribeCutResult(result, input, LineSafePath(output), replacing);
    progress.Message("tesmira-cut: " + (message.aboutInput ? LineSafePath(input) + ": " : "") +
                     message.text);
    return message.exitCode;
}

int CutRunner::Start(const CutOptions& options, const std::string& source) {
    input = source;
    output = OutputPathFor(options, input);
    replacing = ModeFor(options) == OutputMode::ReplaceFile;
    if (const CutResult result = job.Prepare(RequestFor(options, input, output)); !result.Ok()) {
        return Fail(result);
    }
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
    return done.empty() ? Fail(CutFailed(CutError::Interrupted)) : Report(done);
}

int CutRunner::Conclude() {
    if (job.GetState() != CutState::Finished) {
        progress.End(slot);
        return Fail(job.GetResult());
    }
    progress.Update(slot, 100.0);
    progress.End(slot);
    for (const std::string& note : job.GetTagNotes()) {
        progress.Message("tesmira-cut: " + input + ": " + note);
    }
    return Report(job.GetOutputPath());
}
