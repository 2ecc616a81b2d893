// tesmira-mp3gen: writes a synthesised MP3 (tone or melody) for tests, benchmarks and the demo.
#include "Mp3Gen.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

void Usage() {
    std::puts("usage: tesmira-mp3gen -o FILE [--seconds S] [--rate HZ] [--channels 1|2]\n"
              "                      [--freq HZ] [--melody] [--vbr] [--crc] [--bitrate KBPS] "
              "[--id3v2 BYTES]\n"
              "                      [--noise] [--info] [--nores]");
}

} // namespace

int main(int argc, char** argv) {
    mp3gen::ToneSpec params;
    std::string out;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool hasValue = i + 1 < argc;
        if (a == "-o" && hasValue) {
            out = argv[++i];
        } else if (a == "--seconds" && hasValue) {
            params.seconds = std::atof(argv[++i]);
        } else if (a == "--rate" && hasValue) {
            params.sampleRate = std::atoi(argv[++i]);
        } else if (a == "--channels" && hasValue) {
            params.channels = std::atoi(argv[++i]);
        } else if (a == "--freq" && hasValue) {
            params.frequencyHz = std::atof(argv[++i]);
        } else if (a == "--bitrate" && hasValue) {
            params.bitrateKbps = std::atoi(argv[++i]);
        } else if (a == "--id3v2" && hasValue) {
            params.id3v2PayloadBytes = std::atoi(argv[++i]);
        } else if (a == "--melody") {
            params.melody = true;
        } else if (a == "--crc") {
            params.crc = true;
        } else if (a == "--noise") {
            params.noise = true;
        } else if (a == "--info") {
            params.infoTag = true;
        } else if (a == "--nores") {
            params.noReservoir = true;
        } else if (a == "--vbr") {
            params.vbr = true;
        } else {
            Usage();
            return a == "--help" ? 0 : 2;
        }
    }
    if (out.empty() || params.seconds <= 0 || (params.channels != 1 && params.channels != 2)) {
        Usage();
        return 2;
    }
    const auto bytes = mp3gen::MakeMp3(params);
    if (bytes.empty() || !mp3gen::WriteFileBytes(out, bytes)) {
        std::fprintf(stderr, "tesmira-mp3gen: could not write %s\n", out.c_str());
        return 1;
    }
    return 0;
}
