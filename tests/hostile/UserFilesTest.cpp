// What a user may do to tesmira-cut, and the promise it keeps each time: the source and every
// file already there keep their bytes, a cut that does not finish leaves no file (nor any
// temporary one), and a finished cut is reported where it went.
#include "HostileSupport.h"
#include "Mp3Check.h"
#include "Mp3Gen.h"
#include "TempDir.h"
#include "Watchdog.h"

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <sys/stat.h>
#include <thread>

using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

const std::vector<uint8_t>& Melody(int channels) {
    static std::map<int, std::vector<uint8_t>> made;
    if (made.count(channels) == 0) {
        mp3gen::ToneSpec params;
        params.seconds = 20.0;
        params.melody = true;
        params.channels = channels;
        made[channels] = mp3gen::MakeMp3(params);
    }
    return made[channels];
}

bool IsTemporary(const std::string& name) {
    return name.find(".tesmira-") != std::string::npos || name.find(".part") != std::string::npos;
}

std::vector<std::string> Sorted(std::vector<std::string> names) {
    std::sort(names.begin(), names.end());
    return names;
}

// tesmira-cut song.mp3 + args; "@name" is the file `name` in the test's folder.
struct Action {
    const char* args;
    int exitCode;        // -1: ended by `signal`, sent once the cut is under way
    const char* message; // part of what the cutter says on stderr
    int signal = 0;
    long fileSizeLimit = 0; // bytes any file may grow to, as on a nearly full disk
    const char* made = "";  // the file a finished cut creates or replaces
};

void PrintTo(const Action& action, std::ostream* out) {
    *out << action.args;
}

constexpr long kFull = 100000;
// A name over the file system's 255 bytes: refused before the cut, not when it is named.
const std::string kTooLong = "-o @" + std::string(256, 'n') + ".mp3";

const Action kActions[] = {
    // The source under its own name, another path, a symbolic link, a hard link.
    {"--whole -o @song.mp3", 2, "is the source itself"},
    {"-o @./song.mp3", 2, "is the source itself"},
    {"-o @link.mp3", 2, "is the source itself"},
    {"-o @hard.mp3 --overwrite", 2, "is the source itself"},
    // An existing file, and failures and interruptions while it would be replaced.
    {"-o @keep.mp3", 2, "exists; it was left as it is"},
    {"--start 50 --end 60 -o @keep.mp3 --overwrite", 1, "beyond the end"},
    {"-o @keep.mp3 --overwrite", 1, "failed (disk full", 0, kFull},
    {"-o @new.mp3", 1, "failed (disk full", 0, kFull},
    {"-o @keep.mp3 --overwrite --throttle-ms 10", -1, "interrupted; no file kept", SIGINT},
    {"-o @new.mp3 --throttle-ms 10", -1, "interrupted; no file kept", SIGTERM},
    {"--dir @ --throttle-ms 10", -1, "interrupted; no file kept", SIGHUP},
    // Values SoundTouch crashes, aborts or crawls on, or that overflow.
    {"--pitch 0 -o @new.mp3", 2, "--pitch takes a factor from 0.5 to 2"},
    {"--pitch abc -o @new.mp3", 2, "--pitch takes"},
    {"--pitch 1e-9 -o @new.mp3", 2, "--pitch takes"},
    {"--pitch -1 -o @new.mp3", 2, "--pitch takes"},
    {"--pitch 1e4 -o @new.mp3", 2, "--pitch takes"},
    {"--speed 20 -o @new.mp3", 2, "--speed takes"},
    {"--speed 0 -o @new.mp3", 2, "--speed takes"},
    {"--speed nan -o @new.mp3", 2, "--speed takes"},
    {"--fade-in 2147484 -o @new.mp3", 2, "--fade-in takes a time"},
    {"--throttle-ms 99999999999 -o @new.mp3", 2, "--throttle-ms takes"},
    // Outputs that are no regular file are refused at once, never opened.
    {"-o @fifo.mp3", 2, "not a regular file"},
    {"-o @fifo.mp3 --overwrite", 2, "not a regular file"},
    {"-o /dev/full --overwrite", 2, "not a regular file"},
    {"-o @folder --overwrite", 2, "not a regular file"},
    // Outputs that cannot be created say why.
    {"-o @nowhere/new.mp3", 1, "new.mp3: No such file or directory"},
    {kTooLong.c_str(), 1, "File name too long"},
    // Complete cuts.
    {"--start 1 --end 2 -o @keep.mp3 --overwrite", 0, "", 0, 0, "keep.mp3"},
    {"--start 1 --end 2 -o @new.mp3", 0, "", 0, 0, "new.mp3"},
};

class UserFiles : public testing::TestWithParam<Action> {
protected:
    void SetUp() override {
        ASSERT_TRUE(mp3gen::WriteFileBytes(dir.File("song.mp3"), Melody(2)));
        ASSERT_TRUE(mp3gen::WriteFileBytes(dir.File("keep.mp3"), {'k', 'e', 'e', 'p'}));
        fs::create_symlink(dir.File("song.mp3"), dir.File("link.mp3"));
        fs::create_hard_link(dir.File("song.mp3"), dir.File("hard.mp3"));
        ASSERT_EQ(::mkfifo(dir.File("fifo.mp3").c_str(), 0644), 0);
        fs::create_directory(dir.File("folder"));
    }

    std::vector<std::string> Arguments(const Action& action) const {
        std::vector<std::string> args{dir.File("song.mp3")};
        std::istringstream words(action.args);
        for (std::string a; words >> a;) {
            args.push_back(a[0] == '@' ? dir.File(a.substr(1)) : a);
        }
        return args;
    }

    // Runs the action; for a signal, sends it once the cut's temporary file is being written.
    CutterRun Run(const Action& action) {
        const StartedCutter cutter = StartCutter(Arguments(action), action.fileSizeLimit);
        if (action.signal != 0) {
            const auto deadline = std::chrono::steady_clock::now() + 30s;
            const auto writing = [&] {
                const auto names = FolderEntries(dir.Path().string());
                return std::any_of(names.begin(), names.end(), IsTemporary);
            };
            while (!writing() && std::chrono::steady_clock::now() < deadline) {
                std::this_thread::sleep_for(1ms);
            }
            std::this_thread::sleep_for(100ms); // frames are being written
            ::kill(cutter.pid, action.signal);
        }
        return WaitForCutter(cutter, 60);
    }

    // Checksums of every regular file, by name.
    std::map<std::string, uint64_t> Checksums() const {
        std::map<std::string, uint64_t> sums;
        for (const auto& name : FolderEntries(dir.Path().string())) {
            if (fs::is_regular_file(fs::symlink_status(dir.File(name)))) {
                sums[name] = FileChecksum(dir.File(name));
            }
        }
        return sums;
    }

    TempDir dir;
};

TEST_P(UserFiles, KeepTheirBytesAndNoPartialFileIsLeft) {
    const Action& action = GetParam();
    Watchdog watchdog(action.args, 120s);
    const auto before = Checksums();
    const auto namesBefore = Sorted(FolderEntries(dir.Path().string()));

    const CutterRun run = Run(action);

    if (action.signal != 0) {
        EXPECT_EQ(run.signal, action.signal) << run.exitCode << " " << run.errors;
    } else {
        EXPECT_EQ(run.exitCode, action.exitCode) << run.errors;
    }
    EXPECT_NE(run.errors.find(action.message), std::string::npos) << run.errors;
    // Nothing new but the finished cut: no partial and no temporary file.
    std::vector<std::string> expected = namesBefore;
    const std::string made = action.made;
    if (!made.empty() && std::find(expected.begin(), expected.end(), made) == expected.end()) {
        expected.push_back(made);
    }
    EXPECT_EQ(Sorted(FolderEntries(dir.Path().string())), Sorted(expected));
    const auto after = Checksums();
    for (const auto& [name, sum] : before) {
        if (name != made) {
            EXPECT_EQ(after.count(name) ? after.at(name) : 0, sum) << name << " changed";
        }
    }
    if (!made.empty()) {
        EXPECT_EQ(run.output, dir.File(made) + "\n");
        const DecodedAudio audio = DecodeMp3File(dir.File(made));
        ASSERT_TRUE(audio.ok);
        EXPECT_NEAR(audio.Seconds(), 1.0, 0.2);
        EXPECT_TRUE(WalkFrames(mp3gen::ReadFileBytes(dir.File(made))).clean);
    } else {
        EXPECT_EQ(run.output, "");
    }
}

INSTANTIATE_TEST_SUITE_P(Hostile, UserFiles, testing::ValuesIn(kActions),
                         [](const testing::TestParamInfo<Action>& row) {
                             std::string name = std::string(row.param.args) +
                                                (row.param.fileSizeLimit ? " full" : "");
                             for (char& c : name) {
                                 c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             }
                             return name;
                         });

// Several cutters at once into one folder, from mono and stereo songs of the same name: each
// gets a file of its own, whole and of one kind of frame, titled after its final name.
TEST(UserFilesTogether, ConcurrentCuttersNeverShareAName) {
    Watchdog watchdog("concurrent cutters", 120s);
    TempDir dir;
    fs::create_directories(dir.Path() / "stereo");
    fs::create_directories(dir.Path() / "mono");
    fs::create_directories(dir.Path() / "out");
    const std::string stereo = dir.File("stereo/song.mp3");
    const std::string mono = dir.File("mono/song.mp3");
    ASSERT_TRUE(mp3gen::WriteFileBytes(stereo, Melody(2)));
    ASSERT_TRUE(mp3gen::WriteFileBytes(mono, Melody(1)));
    constexpr int kRounds = 3;
    constexpr int kCutters = 4;
    std::set<std::string> reported;
    for (int round = 0; round < kRounds; ++round) {
        std::vector<StartedCutter> cutters;
        for (int i = 0; i < kCutters; ++i) {
            cutters.push_back(StartCutter(
                {i % 2 ? mono : stereo, "--start", "0", "--end", "1", "--dir", dir.File("out")}));
        }
        for (const StartedCutter& cutter : cutters) {
            const CutterRun run = WaitForCutter(cutter, 60);
            EXPECT_EQ(run.exitCode, 0) << run.errors;
            EXPECT_TRUE(reported.insert(run.output).second) << "reported twice: " << run.output;
        }
    }
    const auto names = FolderEntries(dir.File("out"));
    ASSERT_EQ(names.size(), static_cast<size_t>(kRounds * kCutters));
    for (const auto& name : names) {
        const std::string path = dir.File("out/" + name);
        EXPECT_EQ(reported.count(path + "\n"), 1u) << name;
        const std::vector<uint8_t> bytes = mp3gen::ReadFileBytes(path);
        const FrameWalk walk = WalkFrames(bytes);
        ASSERT_TRUE(walk.clean && walk.hasId3v1 && !walk.frames.empty()) << name;
        const int mode = walk.frames.front().channelMode;
        for (const FrameHeader& frame : walk.frames) {
            ASSERT_EQ(frame.channelMode, mode) << name << " mixes mono and stereo frames";
        }
        // The title is in GBK: compare what follows "song_剪切" (9 bytes there, 11 here).
        const std::string title(reinterpret_cast<const char*>(&bytes[bytes.size() - 125]));
        EXPECT_EQ(title.substr(9), name.substr(11, name.rfind('.') - 11));
    }
}

// A signal at any moment of a short cut: whenever its file exists, its path was printed,
// and nothing half-made is left.
TEST(UserFilesTogether, EveryKeptCutIsReportedWhateverMomentTheSignalComes) {
    Watchdog watchdog("signal at any moment", 120s);
    TempDir dir;
    const std::string song = dir.File("song.mp3");
    ASSERT_TRUE(mp3gen::WriteFileBytes(song, Melody(2)));
    std::mt19937 random(20261207);
    // Such a cut takes about 200 ms here: the signals come before, during and after it.
    std::uniform_int_distribution<int> delayMs(0, 300);
    int kept = 0;
    constexpr int kTries = 16;
    for (int i = 0; i < kTries; ++i) {
        const std::string out = dir.File("cut" + std::to_string(i) + ".mp3");
        const StartedCutter cutter =
            StartCutter({song, "--start", "0", "--end", "3", "--throttle-ms", "5", "-o", out});
        std::this_thread::sleep_for(std::chrono::milliseconds(delayMs(random)));
        ::kill(cutter.pid, SIGINT);
        const CutterRun run = WaitForCutter(cutter, 60);
        if (fs::exists(out)) {
            ++kept;
            EXPECT_EQ(run.output, out + "\n") << run.errors;
            EXPECT_TRUE(WalkFrames(mp3gen::ReadFileBytes(out)).clean);
        } else {
            EXPECT_EQ(run.output, "") << run.errors;
        }
    }
    for (const auto& name : FolderEntries(dir.Path().string())) {
        EXPECT_FALSE(IsTemporary(name)) << name;
    }
    std::printf("%d of %d signalled cuts were complete and kept\n", kept, kTries);
}

} // namespace
