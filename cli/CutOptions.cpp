#include "CutOptions.h"

#include "CutMessages.h"
#include "FactorRange.h"
#include "TimeTexts.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstring>
#include <iomanip>
#include <optional>
#include <sstream>
#include <sys/stat.h>
#include <thread>
#include <type_traits>

const char* CutUsageText() {
    return "Usage: tesmira-cut [OPTION]... INPUT...\n"
           "\n"
           "Cuts a range out of each INPUT MP3 into a new 320 kbit/s MP3 that carries the\n"
           "source's tags (title, artists, album, cover, ...) and ends with an ID3v1 tag.\n"
           "A cut is written to a hidden temporary file beside its output and gets its name\n"
           "only when it is complete; a failed or interrupted cut leaves no file.\n"
           "  --start T, --end T      range: seconds (90, 90.5) or as the window shows times\n"
           "                          (1:30, 1:30.25, 1:02:03), up to 2147483.647 s\n"
           "  --whole                 the whole song (the default without --start/--end)\n"
           "  -o FILE                 output file (one INPUT only); an existing FILE is\n"
           "                          refused unless --overwrite is given\n"
           "  --overwrite             let -o replace an existing file, once the cut is complete\n"
           "  --dir FOLDER            output folder; the name is NAME_剪切MMDDhhmmss.EXT, with\n"
           "                          _2, _3, ... when taken (default: the current folder)\n"
           "  --fade-in T             fade in over the first T (a time as above, up to 86400 s)\n"
           "  --fade-out T            fade out over the last T; fades longer than the cut are\n"
           "                          shortened to fit it, both in proportion\n"
           "  --speed F               speed factor, 0.5 to 2.0 (1.00 = unchanged)\n"
           "  --pitch F               pitch factor, 0.5 to 2.0 (1.00 = unchanged)\n"
           "  --lossless              copy the source's own frames instead of re-encoding:\n"
           "                          exact to the sample in gapless players, the source's\n"
           "                          bit rate kept; no fades, speed or pitch with it\n"
           "  --throttle-ms N         pause N ms after each block, 0 to 60000 (default 0)\n"
           "  --jobs N                cut up to N inputs at once, 1 to 64 (default: one per\n"
           "                          processor); the files are the same as one at a time\n"
           "  --streams N             encode each cut on N encoder streams at once, 1 or 2\n"
           "                          (default 2; one when paused, changing speed or pitch, or\n"
           "                          when --jobs keeps every processor busy); the file is\n"
           "                          the same either way\n"
           "  --no-tags               write only the ID3v1 tag, none of the source's tags\n"
           "  -0, --null              end each printed path with a zero byte, not a newline\n"
           "  --help, --version\n"
           "\n"
           "Each finished cut's path is printed on a line of its own; a path holding a control\n"
           "character (a newline, say) is printed in $'...' quoting, as ls does.\n"
           "\n"
           "Exit codes: 0 all cuts done, 1 a cut failed, 2 bad command line or output name\n"
           "            (nothing written), 3 the encoder library could not be loaded. A cut\n"
           "            whose path could not be printed counts as failed.\n";
}

namespace {

bool TakeValue(int argc, char** argv, int& i, std::string& value, std::string& error) {
    if (i + 1 >= argc) {
        error = std::string(argv[i]) + " needs a value";
        return false;
    }
    if (argv[i + 1][0] == '\0') {
        error = std::string(argv[i]) + " needs a value, not an empty text";
        return false;
    }
    value = argv[++i];
    return true;
}

// --dir names a folder that is there: anything else is a bad output name.
bool IsFolder(const std::string& folder, std::string& error) {
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0) {
        error = "--dir " + folder + ": " + std::strerror(errno);
        return false;
    }
    if (!S_ISDIR(info.st_mode)) {
        error = "--dir " + folder + " is not a folder";
        return false;
    }
    return true;
}

// The whole text is one finite number, with '.' as the decimal point whatever the locale.
bool ReadNumber(const std::string& text, double& value) {
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    return !text.empty() && error == std::errc() && stop == end && std::isfinite(value);
}

bool ReadWhole(const std::string& text, long long& value) {
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    return !text.empty() && error == std::errc() && stop == end;
}

// Reads the value of option into number when it is a number within min..max.
template <typename Number>
bool TakeNumber(int argc, char** argv, int& i, Number min, Number max, const char* what,
                Number& number, std::string& error) {
    const std::string option = argv[i];
    std::string text;
    if (!TakeValue(argc, argv, i, text, error)) {
        return false;
    }
    bool ok = false;
    if constexpr (std::is_floating_point_v<Number>) {
        ok = ReadNumber(text, number);
    } else {
        ok = ReadWhole(text, number);
    }
    if (!ok || number < min || number > max) {
        std::ostringstream message;
        message << std::setprecision(10) << option << " takes " << what << " from " << min << " to "
                << max << ", not '" << text << "'";
        error = message.str();
        return false;
    }
    return true;
}

// Reads the value of option as a time ("90.5", "1:30") of at most maxMs.
bool TakeTime(int argc, char** argv, int& i, int maxMs, int& ms, std::string& error) {
    const std::string option = argv[i];
    std::string text;
    if (!TakeValue(argc, argv, i, text, error)) {
        return false;
    }
    const std::optional<int> value = ParseTimeMs(text);
    if (!value || *value > maxMs) {
        error = option + " takes a time in seconds (90, 90.5) or as 1:30, 1:02:03, up to " +
                FormatSeconds3(maxMs / 1000.0) + " s, not '" + text + "'";
        return false;
    }
    ms = *value;
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
    } else if (options.overwrite && options.outputFile.empty()) {
        error = "--overwrite goes with -o; generated names never replace a file";
    } else if (const CutResult refused = CheckCutRequest(options.cut); !refused.Ok()) {
        error = DescribeCutResult(refused, "", "", false).text;
    } else if (!options.outputDir.empty() && !IsFolder(options.outputDir, error)) {
        return false;
    } else {
        return true;
    }
    return false;
}

} // namespace

bool ParseCutOptions(int argc, char** argv, CutOptions& options, std::string& error) {
    bool hasStart = false;
    bool hasEnd = false;
    long long throttle = 0;
    long long jobs = 0;
    options.jobs = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        bool ok = true;
        if (a == "--help" || a == "-h") {
            options.help = true;
        } else if (a == "--version") {
            options.version = true;
        } else if (a == "--whole") {
            options.whole = true;
        } else if (a == "--start" || a == "--end") {
            ok = TakeTime(argc, argv, i, kMaxTimeMs,
                          a == "--start" ? options.cut.startMs : options.cut.endMs, error);
            (a == "--start" ? hasStart : hasEnd) = true;
        } else if (a == "-o") {
            ok = TakeValue(argc, argv, i, options.outputFile, error);
        } else if (a == "--dir") {
            ok = TakeValue(argc, argv, i, options.outputDir, error);
        } else if (a == "--no-tags") {
            options.cut.carryTags = false;
        } else if (a == "--overwrite") {
            options.overwrite = true;
        } else if (a == "--lossless") {
            options.cut.lossless = true;
        } else if (a == "-0" || a == "--null") {
            options.nullEnded = true;
        } else if (a == "--throttle-ms") {
            ok = TakeNumber(argc, argv, i, 0LL, static_cast<long long>(kMaxThrottleMs),
                            "milliseconds", throttle, error);
            options.cut.throttleMs = static_cast<int>(throttle);
        } else if (a == "--jobs") {
            ok = TakeNumber(argc, argv, i, 1LL, kMaxJobs, "a count", jobs, error);
            options.jobs = static_cast<int>(jobs);
        } else if (a == "--streams") {
            long long streams = 0;
            ok = TakeNumber(argc, argv, i, 1LL, static_cast<long long>(kMaxLanes), "a count",
                            streams, error);
            options.cut.lanes = static_cast<int>(streams);
        } else if (a == "--fade-in") {
            options.cut.fadeIn = ok =
                TakeTime(argc, argv, i, kMaxFadeMs, options.cut.fadeInMs, error);
        } else if (a == "--fade-out") {
            options.cut.fadeOut = ok =
                TakeTime(argc, argv, i, kMaxFadeMs, options.cut.fadeOutMs, error);
        } else if (a == "--speed" || a == "--pitch") {
            ok = TakeNumber(argc, argv, i, kMinFactor, kMaxFactor, "a factor",
                            a == "--speed" ? options.cut.speed : options.cut.pitch, error);
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
