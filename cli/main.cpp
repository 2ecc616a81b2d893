// tesmira-cut: the command-line cutter. One job cuts every input in turn, as the
// window reuses its one job.
#include "CClipJob.h"
#include "CutOptions.h"
#include "CutRunner.h"
#include "ProgressDisplay.h"

#include <clocale>
#include <cstdio>

#ifndef TESMIRA_VERSION
#define TESMIRA_VERSION "0"
#endif

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    CutOptions options;
    std::string error;
    if (!ParseCutOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "tesmira-cut: %s\n%s", error.c_str(), CutUsageText());
        return kExitUsage;
    }
    if (options.help) {
        std::fputs(CutUsageText(), stdout);
        return kExitOk;
    }
    if (options.version) {
        std::printf("tesmira-cut %s\n", TESMIRA_VERSION);
        return kExitOk;
    }
    CClipJob job;
    ProgressDisplay progress(stderr);
    CutRunner runner(job, progress);
    int result = kExitOk;
    for (const auto& input : options.inputs) {
        const int code = runner.Run(options, input);
        if (code == kExitEncoderLibrary) {
            return code;
        }
        if (code != kExitOk) {
            result = code;
        }
    }
    return result;
}
