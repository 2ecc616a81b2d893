// Very long and very large files. A two-hour song opens with its length, cuts at either end
// and plays near its end, in no more memory than a two-minute one. A file of 4 GiB or more
// is refused by the engine and the cutter with a clear word, without being read.
#include "CClipJob.h"
#include "CMp3File.h"
#include "HostileSupport.h"
#include "Mp3Check.h"
#include "Mp3Gen.h"
#include "SparseFile.h"
#include "TempDir.h"
#include "Watchdog.h"

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <malloc.h>
#include <sys/stat.h>
#include <thread>

using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

constexpr int kRate = 44100;
constexpr int kSamplesPerFrame = 1152;
// 375 frames of 128 kbit/s: one copy of the repeated melody, 9.796 s.
constexpr int kUnitFrames = 375;
// 275625 frames = 7200 s exactly.
constexpr int kLongFrames = 7200 * kRate / kSamplesPerFrame;
constexpr int kShortFrames = 120 * kRate / kSamplesPerFrame;

int FramesToMs(int frames) {
    return static_cast<int>(static_cast<int64_t>(frames) * kSamplesPerFrame * 1000 / kRate);
}

// Byte offsets of the first kUnitFrames + 1 frames of an encoded melody. LAME's first frame
// takes nothing from the bit reservoir, so each copy of the unit decodes on its own and the
// copies join into one long CBR stream without a re-encode.
struct Unit {
    std::vector<uint8_t> bytes;
    std::vector<size_t> frameOffsets; // kUnitFrames + 1 entries, the last = bytes.size()
};

const Unit& MelodyUnit() {
    static const Unit unit = [] {
        mp3gen::ToneSpec params;
        params.seconds = 11.0;
        params.melody = true;
        const std::vector<uint8_t> encoded = mp3gen::MakeMp3(params);
        const FrameWalk walk = WalkFrames(encoded);
        Unit u;
        if (walk.frames.size() <= kUnitFrames) {
            return u;
        }
        for (int i = 0; i <= kUnitFrames; ++i) {
            u.frameOffsets.push_back(walk.frames[static_cast<size_t>(i)].offset);
        }
        u.bytes.assign(encoded.begin(),
                       encoded.begin() + static_cast<ptrdiff_t>(u.frameOffsets.back()));
        return u;
    }();
    return unit;
}

// Writes `frames` frames of the repeated unit, copy after copy, without holding the file.
bool WriteRepeatedMelody(const std::string& path, int frames) {
    const Unit& unit = MelodyUnit();
    if (unit.bytes.empty()) {
        return false;
    }
    std::ofstream out(path, std::ios::binary);
    const auto* data = reinterpret_cast<const char*>(unit.bytes.data());
    for (int done = 0; done < frames; done += kUnitFrames) {
        const int n = std::min(kUnitFrames, frames - done);
        out.write(data, static_cast<std::streamsize>(unit.frameOffsets[static_cast<size_t>(n)]));
    }
    return static_cast<bool>(out.flush());
}

bool Cut(CClipJob& job, const std::string& source, const std::string& output, int startMs,
         int endMs) {
    CutRequest request;
    request.source = source;
    request.output = output;
    request.mode = OutputMode::ReplaceFile;
    request.startMs = startMs;
    request.endMs = endMs;
    request.fadeIn = request.fadeOut = true;
    request.fadeInMs = request.fadeOutMs = 500;
    if (!job.Prepare(request).Ok()) {
        return false;
    }
    job.Start();
    while (job.IsRunning()) {
        std::this_thread::sleep_for(2ms);
    }
    return job.GetState() == CutState::Finished;
}

class LongFile : public testing::Test {
protected:
    static void SetUpTestSuite() {
        dir = new TempDir;
        longPath = dir->File("two-hours.mp3");
        shortPath = dir->File("two-minutes.mp3");
        made = WriteRepeatedMelody(longPath, kLongFrames) &&
               WriteRepeatedMelody(shortPath, kShortFrames);
        longChecksum = FileChecksum(longPath);
        shortChecksum = FileChecksum(shortPath);
    }
    static void TearDownTestSuite() {
        delete dir;
        dir = nullptr;
    }
    void SetUp() override { ASSERT_TRUE(made) << "could not make the long files"; }
    void TearDown() override {
        EXPECT_EQ(FileChecksum(longPath), longChecksum) << "the long source changed";
        EXPECT_EQ(FileChecksum(shortPath), shortChecksum) << "the short source changed";
        for (const auto& name : FolderEntries(dir->Path().string())) {
            if (name != "two-hours.mp3" && name != "two-minutes.mp3") {
                fs::remove(dir->Path() / name);
            }
        }
    }

    static inline TempDir* dir = nullptr;
    static inline std::string longPath;
    static inline std::string shortPath;
    static inline bool made = false;
    static inline uint64_t longChecksum = 0;
    static inline uint64_t shortChecksum = 0;
};

TEST_F(LongFile, ReaderKnowsTheLengthAndReadsTheLastSecond) {
    Watchdog watchdog("long file reader", 60s);
    CMp3File reader;
    ASSERT_EQ(reader.Open(longPath.c_str()), 1);
    AudioInfo info;
    reader.GetInfo(info);
    EXPECT_EQ(info.sampleRate, kRate);
    EXPECT_NEAR(info.durationMs, 7200000, 30);

    reader.SeekTo(7199000, 7200000);
    std::vector<uint8_t> block(kInputBlockBytes);
    uint64_t bytes = 0;
    for (int reads = 0; reads < 1000; ++reads) {
        uint32_t n = kInputBlockBytes;
        const int more = reader.Read(block.data(), n);
        bytes += n;
        if (!more || n == 0) {
            break;
        }
    }
    // About the one second that is left, as 16-bit stereo.
    EXPECT_NEAR(static_cast<double>(bytes) / (kRate * 4), 1.0, 0.2);
    EXPECT_NEAR(reader.GetPositionMs(), 7200000, 100);
}

TEST_F(LongFile, CutsNearTheEndAndAtTheStart) {
    Watchdog watchdog("long file cuts", 120s);
    CClipJob job;
    const std::string out = dir->File("cut.mp3");
    for (const auto& [startMs, endMs] : {std::pair{7190000, 7195000}, std::pair{0, 3000}}) {
        ASSERT_TRUE(Cut(job, longPath, out, startMs, endMs)) << startMs;
        const DecodedAudio audio = DecodeMp3File(out);
        ASSERT_TRUE(audio.ok);
        EXPECT_NEAR(audio.Seconds(), (endMs - startMs) / 1000.0, 0.2) << startMs;
        EXPECT_GT(Rms(audio, 1.0, 2.0), 0.05) << "silence cut at " << startMs;
    }

    // The cutter takes the same range from the end.
    const CutterRun run =
        RunCutter({longPath, "--start", "7190", "--end", "7195", "-o", out, "--overwrite"}, 60);
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_NEAR(DecodeMp3File(out).Seconds(), 5.0, 0.2);
}

TEST_F(LongFile, PlayerOpensSeeksNearTheEndAndPlaysToIt) {
    Watchdog watchdog("long file player", 60s);
    const PlayerTable& p = Player();
    ASSERT_NE(p.Open, nullptr);
    ASSERT_EQ(p.Open(longPath.c_str()), 1);
    const int len = p.GetLen();
    EXPECT_NEAR(len, 7200000, 1000);

    static std::atomic<long> heard{0};
    heard = 0;
    p.SetOutPCMFun(
        [](const int16_t* pcm, int samples, int, int, void*) {
            for (int i = 0; i < samples; ++i) {
                if (pcm[i] != 0) {
                    heard += 1;
                }
            }
        },
        nullptr);
    EXPECT_EQ(p.SetPos(7197000), 1);
    EXPECT_EQ(p.Play(), 1);
    // Played to the end: the player stops there by itself.
    while (p.GetState() == PLOVEX_STATE_PLAYING) {
        const int pos = p.GetPos();
        EXPECT_GE(pos, 7197000 - 50);
        EXPECT_LE(pos, len);
        std::this_thread::sleep_for(20ms);
    }
    EXPECT_EQ(p.GetState(), PLOVEX_STATE_STOPPED);
    EXPECT_EQ(p.GetPos(), len);
    EXPECT_GT(heard.load(), kRate) << "the last seconds were not sent out";
    p.SetOutPCMFun(nullptr, nullptr);
    p.Close();
}

// Opening, cutting near the end and opening in the player: what the process needs more
// for two hours than for two minutes stays within a small fixed margin.
TEST_F(LongFile, MemoryDoesNotGrowWithTheLength) {
    if (kSanitized) {
        // Its quarantine keeps every freed block a while: the figures would be its own.
        GTEST_SKIP() << "memory is measured without AddressSanitizer";
    }
    Watchdog watchdog("long file memory", 120s);
    CClipJob job;
    const std::string out = dir->File("cut.mp3");
    const PlayerTable& p = Player();
    ASSERT_NE(p.Open, nullptr);
    auto work = [&](const std::string& path, int frames) {
        const int endMs = FramesToMs(frames);
        CMp3File reader;
        EXPECT_EQ(reader.Open(path.c_str()), 1);
        AudioInfo info;
        reader.GetInfo(info);
        EXPECT_NEAR(info.durationMs, endMs, 30);
        EXPECT_TRUE(Cut(job, path, out, endMs - 6000, endMs - 1000));
        EXPECT_TRUE(Cut(job, path, out, 0, 1000));
        EXPECT_EQ(p.Open(path.c_str()), 1);
        EXPECT_EQ(p.SetPos(endMs - 1000), 1);
        EXPECT_EQ(p.Close(), 1);
    };
    auto growthKiB = [&](const std::function<void()>& what) {
        // Free memory the allocator kept would hide growth that reuses it.
        malloc_trim(0);
        ResetPeakRss();
        const long before = PeakRssKiB();
        what();
        return PeakRssKiB() - before;
    };
    // The figures must show 16 MiB that come and go, or they show nothing.
    const long probe = growthKiB([] {
        std::vector<uint8_t> touched(16 << 20, 1);
        EXPECT_EQ(touched[touched.size() / 2], 1);
    });
    if (probe < 15 * 1024) {
        GTEST_SKIP() << "peak memory figures do not show growth here: " << probe << " KiB";
    }
    // Once for what is loaded and set up only the first time.
    work(shortPath, kShortFrames);
    const long shortGrowth = growthKiB([&] { work(shortPath, kShortFrames); });
    const long longGrowth = growthKiB([&] { work(longPath, kLongFrames); });
    std::printf("peak growth: %ld KiB for two minutes, %ld KiB for two hours\n", shortGrowth,
                longGrowth);
    EXPECT_LT(longGrowth - shortGrowth, 8 * 1024);
}

// A file of 4 GiB and a little, made sparse: it starts with real frames, so only its size
// stands in the way. 32-bit offsets cannot reach its end, so the engine refuses it outright.
class LongFileOver4GiB : public testing::Test {
protected:
    static constexpr uint64_t kHugeBytes = (4ull << 30) + 4096;

    void SetUp() override {
        path = dir.File("huge.mp3");
        mp3gen::ToneSpec params;
        params.seconds = 2.0;
        ASSERT_TRUE(mp3gen::WriteFileBytes(path, mp3gen::MakeMp3(params)));
        head = mp3gen::ReadFileBytes(path);
        if (!ResizeSparse(path, kHugeBytes)) {
            GTEST_SKIP() << "cannot make a sparse 4 GiB file here";
        }
        struct stat st {};
        ASSERT_EQ(::stat(path.c_str(), &st), 0);
        modified = st.st_mtim;
    }
    // Size, time and the real frames at its start as they were: the file was only read.
    void TearDown() override {
        if (IsSkipped()) {
            return;
        }
        struct stat st {};
        ASSERT_EQ(::stat(path.c_str(), &st), 0);
        EXPECT_EQ(static_cast<uint64_t>(st.st_size), kHugeBytes);
        EXPECT_EQ(st.st_mtim.tv_sec, modified.tv_sec);
        EXPECT_EQ(st.st_mtim.tv_nsec, modified.tv_nsec);
        std::ifstream in(path, std::ios::binary);
        std::vector<uint8_t> now(head.size());
        in.read(reinterpret_cast<char*>(now.data()), static_cast<std::streamsize>(now.size()));
        EXPECT_EQ(now, head);
    }

    TempDir dir;
    std::string path;
    std::vector<uint8_t> head;
    timespec modified{};
};

TEST_F(LongFileOver4GiB, EngineAndCutterRefuseIt) {
    Watchdog watchdog("huge file", 60s);
    CMp3File reader;
    EXPECT_EQ(reader.Open(path.c_str()), 0);
    uint32_t bytes = 4096;
    std::vector<uint8_t> block(bytes);
    EXPECT_EQ(reader.Read(block.data(), bytes), 0);
    EXPECT_EQ(bytes, 0u);

    CClipJob job;
    CutRequest request;
    request.source = path;
    request.output = path + ".cut.mp3";
    EXPECT_EQ(job.Prepare(request).error, CutError::SourceUnreadable);
    EXPECT_EQ(job.GetState(), CutState::Idle);

    for (const std::vector<std::string>& range :
         {std::vector<std::string>{"--whole"}, {"--start", "0", "--end", "1"}}) {
        std::vector<std::string> args{path, "-o", dir.File("cut.mp3")};
        args.insert(args.end(), range.begin(), range.end());
        const CutterRun run = RunCutter(args, 60);
        EXPECT_EQ(run.exitCode, 1) << run.errors;
        EXPECT_NE(run.errors.find("tesmira-cut: " + path + ": "), std::string::npos) << run.errors;
        EXPECT_NE(run.errors.find("4 GiB"), std::string::npos) << run.errors;
    }
    EXPECT_EQ(FolderEntries(dir.Path().string()), std::vector<std::string>{"huge.mp3"});
}

// The player may refuse it or play the real frames at its start; either way cleanly, and
// without reading 4 GiB first.
TEST_F(LongFileOver4GiB, PlayerRefusesItOrPlaysItsStart) {
    Watchdog watchdog("huge file player", 60s);
    const PlayerTable& p = Player();
    ASSERT_NE(p.Open, nullptr);
    p.Close();
    if (p.Open(path.c_str()) == 0) {
        EXPECT_EQ(p.IsOpend(), 0);
        EXPECT_EQ(p.Play(), 0);
        return;
    }
    const int len = p.GetLen();
    std::printf("the player plays %d ms of it\n", len);
    // The real frames; the zeros behind them hold no audio.
    EXPECT_GT(len, 1900);
    EXPECT_LT(len, 2200);
    EXPECT_EQ(p.Play(), 1);
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(p.SetPos(len - 200), 1);
    while (p.GetState() == PLOVEX_STATE_PLAYING) {
        std::this_thread::sleep_for(20ms);
    }
    EXPECT_EQ(p.GetState(), PLOVEX_STATE_STOPPED);
    EXPECT_EQ(p.Close(), 1);
}

} // namespace
