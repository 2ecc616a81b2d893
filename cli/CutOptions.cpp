#include "CutOptions.h"

#include <cstdlib>
#include <cstring>

const char* CutUsageText() {
    return "usage: tesmira-cut INPUT... [--start SEC --end SEC | --whole]\n"
           "                  [-o FILE | --dir FOLDER] [--fade-in SEC] [--fade-out SEC]\n"
           "                  [--speed F] [--pitch F] [--throttle-ms N]\n"
           "\n"
           "Cuts a range out of each INPUT MP3 into a new 320 kbit/s MP3 with an ID3v1 tag.\n"
           "  --start SEC, --end SEC  range in seconds (decimals allowed)\n"
           "  --whole                 the whole song (the default without --start/--end)\n"
           "  -o FILE                 output file (one INPUT only)\n"
           "  --dir FOLDER            output folder; the name is NAME_剪切MMDDhhmmss.EXT\n"
           "                          (default: the current folder)\n"
           "  --fade-in SEC           fade in over the first SEC whole seconds\n"
           "  --fade-out SEC          fade out over the last SEC whole seconds\n"
           "  --speed F               speed factor (0.5..10.0; 1.00 = unchanged)\n"
           "  --pitch F               pitch factor (1.00 = unchanged)\n"
           "  --throttle-ms N         pause N ms after each block (default 0)\n"
           "  --help, --version\n"
           "\n"
           "Exit codes: 0 all cuts done, 1 a cut failed, 2 bad command line,\n"
           "            3 the encoder library could not be loaded.\n";
}

namespace {

bool TakeValue(int argc, char** argv, int& i, std::string& value, std::string& error) {
    if (i + 1 >= argc) {
        error = std::string(argv[i]) + " needs a value";
        return false;
    }
    value = argv[++i];
    return true;
}

bool CheckCombination(const CutOptions& options, bool hasStart, bool hasEnd, std::string& error) {
    if (options.inputs.empty()) {
        error = "no input file";
    } else if (hasStart != hasEnd) {
        error = "--start and --end go together";
    } else if (options.whole && hasStart) {
        error = "--whole cannot be combined with --start/--end";
    } else if (!options.outputFile.empty() && !options.outputDir.empty()) {
        error = "-o and --dir cannot be combined";
    } else if (!options.outputFile.empty() && options.inputs.size() > 1) {
        error = "-o takes one input; use --dir for several";
    } else if (options.throttleMs < 0) {
        error = "--throttle-ms must not be negative";
    } else {
        return true;
    }
    return false;
}

} // namespace

bool ParseCutOptions(int argc, char** argv, CutOptions& options, std::string& error) {
    bool hasStart = false;
    bool hasEnd = false;
    std::string throttle;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        bool ok = true;
        if (a == "--help" || a == "-h") {
            options.help = true;
        } else if (a == "--version") {
            options.version = true;
        } else if (a == "--whole") {
            options.whole = true;
        } else if (a == "--start") {
            hasStart = ok = TakeValue(argc, argv, i, options.startText, error);
        } else if (a == "--end") {
            hasEnd = ok = TakeValue(argc, argv, i, options.endText, error);
        } else if (a == "-o") {
            ok = TakeValue(argc, argv, i, options.outputFile, error);
        } else if (a == "--dir") {
            ok = TakeValue(argc, argv, i, options.outputDir, error);
        } else if (a == "--throttle-ms") {
            ok = TakeValue(argc, argv, i, throttle, error);
            options.throttleMs = std::atoi(throttle.c_str());
        } else if (a == "--fade-in") {
            options.fadeIn = ok = TakeValue(argc, argv, i, options.fadeInText, error);
        } else if (a == "--fade-out") {
            options.fadeOut = ok = TakeValue(argc, argv, i, options.fadeOutText, error);
        } else if (a == "--speed") {
            ok = TakeValue(argc, argv, i, options.speedText, error);
        } else if (a == "--pitch") {
            ok = TakeValue(argc, argv, i, options.pitchText, error);
        } else if (a.size() > 1 && a[0] == '-') {
            error = "unknown option " + a;
            return false;
        } else {
            options.inputs.push_back(a);
        }
        if (!ok) {
            return false;
        }
    }
    if (options.help || options.version) {
        return true;
    }
    if (!hasStart && !hasEnd) {
        options.whole = true;
    }
    return CheckCombination(options, hasStart, hasEnd, error);
}
