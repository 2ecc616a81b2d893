#pragma once
// Command line of tesmira-cut.
#include <string>
#include <vector>

struct CutOptions {
    std::vector<std::string> inputs;
    bool whole = false;
    std::string startText; // seconds, read as the window reads its edits
    std::string endText;
    std::string outputFile; // -o
    std::string outputDir;  // --dir
    int throttleMs = 0;
    bool fadeIn = false;
    std::string fadeInText; // whole seconds
    bool fadeOut = false;
    std::string fadeOutText;
    std::string speedText = "1.00";
    std::string pitchText = "1.00";
    bool help = false;
    bool version = false;
};

// Exit codes of tesmira-cut.
enum CutExitCode {
    kExitOk = 0,             // every cut finished
    kExitCutFailed = 1,      // a source, range or output failed (the others were still cut)
    kExitUsage = 2,          // bad command line
    kExitEncoderLibrary = 3, // the encoder library could not be loaded
};

// Fills options from argv; on a usage error returns false with a message in error.
bool ParseCutOptions(int argc, char** argv, CutOptions& options, std::string& error);

const char* CutUsageText();
