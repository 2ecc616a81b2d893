#pragma once
// Command line of tesmira-cut.
#include "CutLimits.h"
#include "CutPlan.h"

#include <string>
#include <vector>

struct CutOptions {
    std::vector<std::string> inputs;
    bool whole = false;
    // The range ("90.5", "1:30", "1:02:03", as the window takes times), fades, factors,
    // streams, pause, lossless and tags; the source, output and mode are set per input.
    CutRequest cut;
    std::string outputFile; // -o
    std::string outputDir;  // --dir
    bool overwrite = false; // -o may replace an existing file
    bool nullEnded = false; // -0: each printed path ends with a zero byte, not a newline
    int jobs = 1;           // cuts at once; the parser's default is one per processor
    bool help = false;
    bool version = false;
};

// The cuts at once --jobs may ask for (the other limits are every cut's, in CutLimits.h).
constexpr long long kMaxJobs = 64;

// Exit codes of tesmira-cut.
enum CutExitCode {
    kExitOk = 0,             // every cut finished
    kExitCutFailed = 1,      // a source, range or output failed (the others were still cut)
    kExitUsage = 2,          // bad command line or output name; nothing was written
    kExitEncoderLibrary = 3, // the encoder library could not be loaded
};

// Fills options from argv; on a usage error returns false with a message in error.
bool ParseCutOptions(int argc, char** argv, CutOptions& options, std::string& error);

const char* CutUsageText();
