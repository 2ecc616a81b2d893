// Runs the real tesmira-cut binary as a user would.
#include "Mp3Check.h"
#include "Mp3Gen.h"
#include "TempDir.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <sys/wait.h>
#include <tuple>

namespace {

struct Result {
    int exitCode = -1;
    std::string out;
};

Result RunCut(const std::string& args) {
    Result r;
    const std::string command = std::string(TESMIRA_CUT) + " " + args + " 2>/dev/null";
    FILE* p = popen(command.c_str(), "r");
    if (!p) {
        return r;
    }
    std::array<char, 4096> buffer{};
    size_t n = 0;
    while ((n = fread(buffer.data(), 1, buffer.size(), p)) > 0) {
        r.out.append(buffer.data(), n);
    }
    const int status = pclose(p);
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

std::string MakeTone(const TempDir& dir, const std::string& name, double seconds, double hz,
                     int rate = 44100, int channels = 2) {
    mp3gen::ToneSpec params;
    params.sampleRate = rate;
    params.channels = channels;
    params.seconds = seconds;
    params.frequencyHz = hz;
    const auto path = dir.File(name);
    mp3gen::WriteFileBytes(path, mp3gen::MakeMp3(params));
    return path;
}

std::string Quote(const std::string& s) {
    return "'" + s + "'";
}

} // namespace

TEST(CutCommand, CutsARangeAndPrintsWhereItWent) {
    TempDir dir;
    const auto source = MakeTone(dir, "song.mp3", 8, 1000);
    const auto out = dir.File("out.mp3");
    const auto r = RunCut(Quote(source) + " --start 2 --end 6.5 -o " + Quote(out));
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, out + "\n");
    const auto audio = DecodeMp3File(out);
    ASSERT_TRUE(audio.ok);
    EXPECT_NEAR(audio.Seconds(), 4.5, 0.2);
}

// Whatever a name holds, a script reads one path per printed line or per zero byte.
TEST(CutCommand, PathsWithANewlineAreQuotedOrEndWithAZeroByte) {
    TempDir dir;
    const auto source = Quote(MakeTone(dir, "song.mp3", 2, 1000)) + " --start 0 --end 1 ";
    EXPECT_EQ(RunCut(source + "-o " + Quote(dir.File("a\nb.mp3"))).out,
              "$'" + dir.File("a\\nb.mp3") + "'\n");
    EXPECT_EQ(RunCut(source + "-0 -o " + Quote(dir.File("c\nd.mp3"))).out,
              dir.File("c\nd.mp3") + '\0');
    EXPECT_TRUE(DecodeMp3File(dir.File("c\nd.mp3")).ok);
}

TEST(CutCommand, NamesOutputsAsTheWindowDoesAndCutsSeveralInTurn) {
    TempDir dir;
    const auto a = MakeTone(dir, "first.mp3", 3, 440);
    const auto b = MakeTone(dir, "second.MP3", 2, 880);
    std::filesystem::create_directory(dir.Path() / "cuts");
    const auto r =
        RunCut(Quote(a) + " " + Quote(b) + " --dir " + Quote(dir.File("cuts")) + " --speed 1.05");
    EXPECT_EQ(r.exitCode, 0);
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir.Path() / "cuts")) {
        names.push_back(e.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    ASSERT_EQ(names.size(), 2u);
    // base name + "_剪切" + ten-digit time stamp + the source's extension as spelled
    EXPECT_EQ(names[0].rfind("first_剪切", 0), 0u);
    EXPECT_EQ(names[0].size(), std::string("first_剪切").size() + 10 + 4);
    EXPECT_EQ(names[1].rfind("second_剪切", 0), 0u);
    EXPECT_EQ(names[1].substr(names[1].size() - 4), ".MP3");
    const auto second = DecodeMp3File((dir.Path() / "cuts" / names[1]).string());
    ASSERT_TRUE(second.ok);
    EXPECT_NEAR(second.Seconds(), 2.0 / 1.05, 0.2);
    EXPECT_NEAR(EstimateFrequency(second, 0.2, 1.5), 880.0, 9.0);
}

// The files of a folder by source name (the part before "_剪切"), with the time stamp in the
// tag's title blanked: it is the only thing allowed to differ between two runs.
std::map<std::string, std::string> CutsByName(const std::filesystem::path& folder) {
    std::map<std::string, std::string> cuts;
    for (const auto& e : std::filesystem::directory_iterator(folder)) {
        const std::string name = e.path().filename().string();
        std::ifstream in(e.path(), std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (bytes.size() >= 128) {
            bytes.replace(bytes.size() - 128 + 3, 30, 30, ' ');
        }
        cuts[name.substr(0, name.find("_剪切"))] = bytes;
    }
    return cuts;
}

TEST(CutCommand, CutsSideBySideAndOnTwoStreamsGiveTheFilesOfCutsInTurn) {
    TempDir dir;
    std::string inputs;
    // MPEG-1 and MPEG-2 (576 samples per frame), stereo and mono.
    for (const auto& [name, rate, channels] :
         {std::tuple{"a", 44100, 2}, {"b", 48000, 1}, {"c", 22050, 1}, {"d", 24000, 2}}) {
        inputs += Quote(MakeTone(dir, std::string(name) + ".mp3", 6, 440, rate, channels)) + " ";
    }
    inputs += Quote(dir.File("missing.mp3")); // fails alike in both runs
    std::filesystem::create_directory(dir.Path() / "serial");
    std::filesystem::create_directory(dir.Path() / "parallel");
    // Long enough for each cut to be encoded on two streams, unless told to use one. Without
    // the ID3v2 tag, whose title would carry the time stamp too.
    const std::string options = " --start 0.5 --end 5.5 --fade-in 1 --no-tags --dir ";
    const auto serial =
        RunCut(inputs + options + Quote(dir.File("serial")) + " --jobs 1 --streams 1");
    const auto parallel = RunCut(inputs + options + Quote(dir.File("parallel")) + " --jobs 3");
    EXPECT_EQ(serial.exitCode, 1);
    EXPECT_EQ(parallel.exitCode, 1);
    EXPECT_EQ(std::count(parallel.out.begin(), parallel.out.end(), '\n'), 4);
    const auto expected = CutsByName(dir.Path() / "serial");
    EXPECT_EQ(expected.size(), 4u);
    EXPECT_TRUE(CutsByName(dir.Path() / "parallel") == expected);
}

TEST(CutCommand, BadInputsGetAMessageAndNoFile) {
    TempDir dir;
    const auto source = MakeTone(dir, "song.mp3", 3, 1000);
    const auto out = dir.File("out.mp3");
    EXPECT_EQ(RunCut(Quote(dir.File("missing.mp3")) + " -o " + Quote(out)).exitCode, 1);
    mp3gen::WriteFileBytes(dir.File("empty.mp3"), {});
    EXPECT_EQ(RunCut(Quote(dir.File("empty.mp3")) + " -o " + Quote(out)).exitCode, 1);
    EXPECT_EQ(RunCut(Quote(source) + " --dir " + Quote(dir.File("nowhere"))).exitCode, 2);
    EXPECT_FALSE(std::filesystem::exists(out));
    EXPECT_EQ(RunCut("--bogus").exitCode, 2);
    EXPECT_EQ(RunCut("--help").exitCode, 0);
}
