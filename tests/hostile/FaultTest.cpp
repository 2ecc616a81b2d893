// Faults while a cut runs: a full device, an output folder or a source that goes away or
// shrinks, and stops at any moment; through the cut job, tesmira-cut and the player. A cut
// either ends with a whole file where it said, or fails and leaves nothing behind.
#include "CClipJob.h"
#include "FileSizeLimit.h"
#include "HostileSupport.h"
#include "Mp3Check.h"
#include "Mp3Gen.h"
#include "TempDir.h"
#include "Watchdog.h"

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <random>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

constexpr int kSongMs = 20000;

// A 20 s stereo melody, made once for every case.
const std::vector<uint8_t>& SongBytes() {
    static const std::vector<uint8_t> bytes = [] {
        mp3gen::ToneSpec params;
        params.seconds = kSongMs / 1000.0;
        params.melody = true;
        return mp3gen::MakeMp3(params);
    }();
    return bytes;
}

void WaitForEnd(CClipJob& job) {
    while (job.IsRunning()) {
        std::this_thread::sleep_for(2ms);
    }
}

// Waits until the worker has written its first block, so what follows happens mid-cut.
void WaitForFirstBlock(CClipJob& job) {
    while (job.IsRunning() && job.GetProgress() <= 0.0) {
        std::this_thread::sleep_for(1ms);
    }
}

// Prepares a cut as the window does; false (nothing left prepared) on failure.
bool Prepare(CClipJob& job, const std::string& source, const std::string& output, int startMs,
             int endMs, int throttleMs, double speed = 1.0) {
    CutRequest request;
    request.source = source;
    request.output = output;
    request.startMs = startMs;
    request.endMs = endMs;
    request.fadeIn = request.fadeOut = true;
    request.fadeInMs = request.fadeOutMs = 300;
    request.speed = speed;
    request.throttleMs = throttleMs;
    return job.Prepare(request).Ok();
}

// A failure of writing the output, whichever step it hit.
bool FailedWriting(CClipJob& job) {
    switch (job.GetResult().error) {
    case CutError::WriteFailed:
    case CutError::SyncFailed:
    case CutError::TemporaryGone:
    case CutError::FolderMoved:
    case CutError::NameFailed:
        return true;
    default:
        return false;
    }
}

// Whole frames back to back, then the ID3v1 tag: a file a player reads to its end.
void ExpectWholeFramesAndTag(const std::string& path) {
    const FrameWalk walk = WalkFrames(mp3gen::ReadFileBytes(path));
    EXPECT_TRUE(walk.clean) << path;
    EXPECT_TRUE(walk.hasId3v1) << path;
}

class Fault : public testing::Test {
protected:
    void SetUp() override {
        source = dir.File("song.mp3");
        ASSERT_TRUE(mp3gen::WriteFileBytes(source, SongBytes()));
        watched = source;
        checksum = FileChecksum(source);
    }
    // The source is only ever read; a case that removes or shrinks it on purpose points
    // `watched` at a hard link of it, or clears it and checks the bytes itself.
    void TearDown() override {
        if (!watched.empty()) {
            EXPECT_EQ(FileChecksum(watched), checksum) << "the source changed";
        }
    }

    std::vector<std::string> Entries() const {
        auto names = FolderEntries(dir.Path().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    TempDir dir;
    std::string source;
    std::string watched;
    uint64_t checksum = 0;
};

using Names = std::vector<std::string>;

// A disk that fills up mid-cut, or only when the last bytes are flushed: the cut fails and
// leaves nothing; the job is sound afterwards.
TEST_F(Fault, FullDiskFailsTheCutAndLeavesNothing) {
    Watchdog watchdog("full disk", 120s);
    CClipJob job;
    const std::string out = dir.File("cut.mp3");
    {
        // A second at 320 kbit/s is 40 kB: a long cut fails at an early block, a short one
        // only when its last bytes go out.
        const FileSizeLimit full(30000);
        for (const int endMs : {kSongMs, 1000}) {
            for (const double speed : {1.0, 1.25}) {
                ASSERT_TRUE(Prepare(job, source, out, 0, endMs, 0, speed));
                job.Start();
                WaitForEnd(job);
                EXPECT_EQ(job.GetState(), CutState::Failed) << endMs << " ms at " << speed;
                EXPECT_EQ(job.GetResult().error, CutError::WriteFailed)
                    << endMs << " ms at " << speed;
                EXPECT_EQ(Entries(), Names{"song.mp3"});
            }
        }
    }
    ASSERT_TRUE(Prepare(job, source, out, 0, 1000, 0));
    job.Start();
    WaitForEnd(job);
    EXPECT_EQ(job.GetState(), CutState::Finished);
    EXPECT_EQ(job.GetOutputPath(), out);
    EXPECT_TRUE(DecodeMp3File(out).ok);
}

// The folder goes while the worker writes into it: the file the cut would report lives
// nowhere, so the cut fails rather than claim a file that is not there.
TEST_F(Fault, OutputFolderRemovedDuringTheCut) {
    Watchdog watchdog("output folder removed", 120s);
    const fs::path folder = dir.Path() / "out";
    CClipJob job;
    for (const double speed : {1.0, 1.25}) {
        fs::create_directory(folder);
        const std::string out = (folder / "cut.mp3").string();
        ASSERT_TRUE(Prepare(job, source, out, 0, kSongMs, 5, speed));
        job.Start();
        WaitForFirstBlock(job);
        // At 5 ms a block the whole song takes more than 0.8 s: the worker is mid-cut.
        ASSERT_TRUE(job.IsRunning());
        fs::remove_all(folder);
        WaitForEnd(job);
        EXPECT_EQ(job.GetState(), CutState::Failed) << speed;
        EXPECT_TRUE(FailedWriting(job)) << speed;
        EXPECT_FALSE(fs::exists(folder)) << "the folder came back";
        EXPECT_EQ(Entries(), Names{"song.mp3"});
    }

    // A folder made anew under the same name, with a file of the same name in it, before
    // the cut fails: that file is someone else's and stays.
    fs::create_directory(folder);
    const std::string out = (folder / "cut.mp3").string();
    ASSERT_TRUE(Prepare(job, source, out, 0, kSongMs, 5));
    job.Start();
    WaitForFirstBlock(job);
    ASSERT_TRUE(job.IsRunning());
    fs::remove_all(folder);
    fs::create_directory(folder);
    ASSERT_TRUE(mp3gen::WriteFileBytes(out, {'k', 'e', 'e', 'p'}));
    WaitForEnd(job);
    EXPECT_TRUE(FailedWriting(job));
    EXPECT_EQ(mp3gen::ReadFileBytes(out), (std::vector<uint8_t>{'k', 'e', 'e', 'p'}));
    fs::remove_all(folder);

    // The same through tesmira-cut: whenever the folder goes, the cutter says so and fails.
    fs::create_directory(folder);
    std::atomic<bool> removed{false};
    std::thread remover([&] {
        const auto deadline = std::chrono::steady_clock::now() + 30s;
        while (FolderEntries(folder.string()).empty() &&
               std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(1ms);
        }
        std::this_thread::sleep_for(50ms);
        fs::remove_all(folder);
        removed = true;
    });
    const CutterRun run = RunCutter({source, "--whole", "-o", out, "--throttle-ms", "5"}, 60);
    remover.join();
    ASSERT_TRUE(removed);
    EXPECT_EQ(run.exitCode, 1) << run.errors;
    EXPECT_NE(run.errors.find("tesmira-cut: "), std::string::npos) << run.errors;
    EXPECT_EQ(Entries(), Names{"song.mp3"});
}

TEST_F(Fault, ReadOnlyOutputFolderIsRefusedBeforeTheCut) {
    const fs::path folder = dir.Path() / "locked";
    fs::create_directory(folder);
    ::chmod(folder.c_str(), 0555);
    // Root (and anyone allowed to override permissions) writes there anyway.
    const std::string probe = (folder / "probe").string();
    if (mp3gen::WriteFileBytes(probe, {})) {
        fs::remove(probe);
        ::chmod(folder.c_str(), 0755);
        GTEST_SKIP() << "this user writes into a mode 555 folder";
    }
    Watchdog watchdog("read-only folder", 60s);
    const std::string out = (folder / "cut.mp3").string();
    CClipJob job;
    EXPECT_FALSE(Prepare(job, source, out, 0, 1000, 0));
    EXPECT_EQ(job.GetResult().error, CutError::None) << "a refused preparation is no cut's end";
    EXPECT_EQ(job.GetState(), CutState::Idle);
    const CutterRun run = RunCutter({source, "--whole", "-o", out}, 60);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.errors.find("cut.mp3: Permission denied"), std::string::npos) << run.errors;
    EXPECT_TRUE(FolderEntries(folder.string()).empty());
    ::chmod(folder.c_str(), 0755);
}

// The source's name goes mid-cut; what was opened is still read to the end.
TEST_F(Fault, SourceDeletedDuringTheCut) {
    Watchdog watchdog("source deleted", 120s);
    // A second name keeps the bytes reachable, to show they were never written.
    const std::string keep = dir.File("keep.mp3");
    fs::create_hard_link(source, keep);
    watched = keep;
    const std::string out = dir.File("cut.mp3");
    CClipJob job;
    ASSERT_TRUE(Prepare(job, source, out, 0, kSongMs, 5));
    job.Start();
    WaitForFirstBlock(job);
    ASSERT_TRUE(job.IsRunning());
    fs::remove(source);
    WaitForEnd(job);
    if (job.GetState() == CutState::Finished) {
        ExpectWholeFramesAndTag(out);
        const DecodedAudio audio = DecodeMp3File(out);
        ASSERT_TRUE(audio.ok);
        EXPECT_NEAR(audio.Seconds(), kSongMs / 1000.0, 0.5);
    } else {
        EXPECT_FALSE(fs::exists(out));
    }
    EXPECT_FALSE(fs::exists(source));

    // The next cut from the vanished name is refused cleanly.
    EXPECT_FALSE(Prepare(job, source, out, 0, 1000, 0));
    EXPECT_EQ(job.GetState(), CutState::Idle);
}

// The source shrinks mid-cut (another program rewrites it): the cut ends where the data
// ends, in whole frames, or fails; it never waits for bytes that will not come.
TEST_F(Fault, SourceTruncatedDuringTheCut) {
    Watchdog watchdog("source truncated", 120s);
    watched.clear();
    const std::vector<uint8_t>& original = SongBytes();
    const std::string out = dir.File("cut.mp3");
    CClipJob job;
    for (const size_t keptBytes : {original.size() / 2, original.size() / 3 + 1, size_t{0}}) {
        for (const double speed : {1.0, 1.25}) {
            ASSERT_TRUE(mp3gen::WriteFileBytes(source, original));
            ASSERT_TRUE(Prepare(job, source, out, 0, kSongMs, 5, speed));
            job.Start();
            WaitForFirstBlock(job);
            ASSERT_TRUE(job.IsRunning());
            fs::resize_file(source, keptBytes);
            WaitForEnd(job);
            const std::string what =
                std::to_string(keptBytes) + " bytes at " + std::to_string(speed);
            if (job.GetState() == CutState::Finished) {
                ExpectWholeFramesAndTag(out);
                const DecodedAudio audio = DecodeMp3File(out);
                ASSERT_TRUE(audio.ok) << what;
                // What was read before the cut, at most the kept part and the read-ahead.
                const double keptSeconds = kSongMs / 1000.0 * keptBytes / original.size();
                EXPECT_LT(audio.Seconds(), (keptSeconds + 3.5) / speed) << what;
                fs::remove(out);
            } else {
                EXPECT_FALSE(fs::exists(out)) << what;
            }
            // Shrunk by us, never written by the cut.
            const std::vector<uint8_t> now = mp3gen::ReadFileBytes(source);
            EXPECT_TRUE(std::equal(now.begin(), now.end(), original.begin()) &&
                        now.size() == keptBytes)
                << what;
        }
    }
    EXPECT_EQ(Entries(), Names{"song.mp3"});
}

TEST_F(Fault, PlayerSurvivesItsSourceShrinking) {
    Watchdog watchdog("player source truncated", 60s);
    watched.clear();
    const PlayerTable& p = Player();
    ASSERT_NE(p.Open, nullptr);
    ASSERT_EQ(p.Open(source.c_str()), 1);
    const int len = p.GetLen();
    EXPECT_NEAR(len, kSongMs, 200);
    EXPECT_EQ(p.Play(), 1);
    std::this_thread::sleep_for(100ms);
    fs::resize_file(source, SongBytes().size() / 2);
    // Past the bytes that are left, then where they end.
    for (const int to : {len * 3 / 4, len / 2, len - 100}) {
        EXPECT_EQ(p.SetPos(to), 1);
        std::this_thread::sleep_for(150ms);
        const int pos = p.GetPos();
        EXPECT_GE(pos, 0);
        EXPECT_LE(pos, len);
    }
    fs::resize_file(source, 0);
    EXPECT_EQ(p.SetPos(0), 1);
    std::this_thread::sleep_for(150ms);
    EXPECT_EQ(p.Stop(), 1);
    EXPECT_EQ(p.GetPos(), 0);
    EXPECT_EQ(p.Close(), 1);
    EXPECT_EQ(p.IsOpend(), 0);
}

// A pipe reading the progress that closes early does not end the cut half-way.
TEST_F(Fault, ClosedProgressPipeDoesNotEndTheCut) {
    Watchdog watchdog("closed progress pipe", 120s);
    const std::string out = dir.File("cut.mp3");
    const std::string command = std::string(CutterPath()) + " " + source + " --whole -o " + out +
                                " --throttle-ms 5 2>&1 >/dev/null | head -c 1 >/dev/null";
    // The shell waits for both ends of the pipe.
    ASSERT_EQ(std::system(command.c_str()), 0);
    ExpectWholeFramesAndTag(out);
    EXPECT_NEAR(DecodeMp3File(out).Seconds(), kSongMs / 1000.0, 0.5);
}

// Stop lands anywhere: before the worker starts, mid-block, while the file is finished or
// after the cut has ended. Each time the job comes back idle, a stopped cut leaves nothing,
// a file is left only by a cut that was complete, and the next cut on the same job is right.
TEST_F(Fault, StopAtRandomMoments) {
    const int rounds = kSanitized ? 50 : 100;
    Watchdog watchdog("random stops", 300s);
    CClipJob job;
    const std::string stopped = dir.File("stopped.mp3");
    const std::string next = dir.File("next.mp3");
    constexpr int kRangeMs = 1500;

    // How long one such cut takes here, so the stops spread over all of it and past its end.
    ASSERT_TRUE(Prepare(job, source, stopped, 0, kRangeMs, 0));
    const auto begun = std::chrono::steady_clock::now();
    job.Start();
    WaitForEnd(job);
    ASSERT_EQ(job.GetState(), CutState::Finished);
    const auto cutMs = std::chrono::duration_cast<std::chrono::milliseconds>(
                           std::chrono::steady_clock::now() - begun)
                           .count();
    const size_t wholeFrames = WalkFrames(mp3gen::ReadFileBytes(stopped)).frames.size();
    fs::remove(stopped);
    std::uniform_int_distribution<int> delayMs(0, static_cast<int>(cutMs * 5 / 4) + 1);
    std::uniform_int_distribution<int> startMs(0, kSongMs - kRangeMs);

    std::mt19937 random(20240611);
    int cutShort = 0;
    for (int round = 0; round < rounds; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        const double speed = round % 2 ? 1.25 : 1.0;
        const int start = startMs(random);
        ASSERT_TRUE(Prepare(job, source, stopped, start, start + kRangeMs, 0, speed));
        job.Start();
        std::this_thread::sleep_for(std::chrono::milliseconds(delayMs(random)));
        job.Stop();
        EXPECT_FALSE(job.IsRunning());
        if (fs::exists(stopped)) {
            EXPECT_EQ(job.GetState(), CutState::Finished);
            ExpectWholeFramesAndTag(stopped);
            // At least as long as the sped-up whole cut: it was complete before the stop.
            EXPECT_GE(WalkFrames(mp3gen::ReadFileBytes(stopped)).frames.size(),
                      wholeFrames * 3 / 4);
            EXPECT_EQ(job.GetOutputPath(), stopped);
            fs::remove(stopped);
        } else {
            EXPECT_EQ(job.GetState(), CutState::Failed);
            EXPECT_EQ(job.GetResult().error, CutError::Stopped);
            ++cutShort;
        }

        ASSERT_TRUE(Prepare(job, source, next, 2000, 2400, 0));
        job.Start();
        WaitForEnd(job);
        ASSERT_EQ(job.GetState(), CutState::Finished);
        const DecodedAudio audio = DecodeMp3File(next);
        ASSERT_TRUE(audio.ok);
        // 400 ms and the encoder's own delay and padding, nothing left from the stopped cut.
        EXPECT_NEAR(audio.Seconds(), 0.4, 0.1);
        fs::remove(next);
    }
    std::printf("%d stops in cuts of %lld ms, %d of them mid-cut\n", rounds,
                static_cast<long long>(cutMs), cutShort);
    EXPECT_EQ(Entries(), Names{"song.mp3"});
}

} // namespace
