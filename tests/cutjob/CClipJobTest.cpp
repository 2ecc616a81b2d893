#include "CutFixture.h"
#include "FileSizeLimit.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

mp3gen::ToneSpec Tone(double seconds, double hz = 1000.0) {
    mp3gen::ToneSpec params;
    params.seconds = seconds;
    params.frequencyHz = hz;
    return params;
}

// The encoder adds about 50 ms of delay and padding that the decoder keeps (there is no
// LAME tag to strip it).
constexpr double kCodecSec = 0.06;

std::vector<std::string> FolderNames(const TempDir& dir) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

TEST(ClipJob, CutsTheRangeIntoCleanFramesWithATag) {
    CutFixture f;
    const auto source = f.MakeSource("tone.mp3", Tone(10));
    const auto output = f.dir.File("out.mp3");
    const auto audio = f.Cut(source, output, {2000, 5000});
    ASSERT_TRUE(audio.ok);
    EXPECT_EQ(f.job.GetState(), CutState::Finished);
    EXPECT_FALSE(f.job.IsRunning());
    EXPECT_DOUBLE_EQ(f.job.GetProgress(), 100.0);
    EXPECT_GT(audio.Seconds(), 3.0);
    EXPECT_LT(audio.Seconds(), 3.0 + kCodecSec);
    const auto walk = WalkFrames(mp3gen::ReadFileBytes(output));
    EXPECT_TRUE(walk.clean);
    ASSERT_FALSE(walk.frames.empty());
    EXPECT_TRUE(AllCutFrames(walk, 44100, 0));
    EXPECT_NEAR(EstimateFrequency(audio, 0.5, 2.5), 1000.0, 5.0);
}

TEST(ClipJob, RangeRulesClampRejectAndAcceptTheEdges) {
    CutFixture f;
    const auto source = f.MakeSource("tone.mp3", Tone(4));
    const auto output = f.dir.File("out.mp3");
    // An end beyond the source is clamped: the cut ends with the data.
    auto audio = f.Cut(source, output, {3000, 60000});
    ASSERT_TRUE(audio.ok);
    EXPECT_LE(f.job.GetRangeEndMs(), 4100);
    EXPECT_GT(audio.Seconds(), 0.8);

    // The end must lie after the start; a start past the end of the source is refused,
    // and a refused range leaves no output file behind.
    EXPECT_EQ(f.Prepare(source, f.dir.File("a.mp3"), {2000, 2000}).error, CutError::EmptyRange);
    EXPECT_FALSE(std::filesystem::exists(f.dir.File("a.mp3")));
    EXPECT_EQ(f.Prepare(source, f.dir.File("b.mp3"), {9000, 12000}).error,
              CutError::RangeBeyondSource);
    EXPECT_EQ(f.job.GetState(), CutState::Idle);
    EXPECT_FALSE(std::filesystem::exists(f.dir.File("b.mp3")));
    EXPECT_EQ(f.Prepare(source, f.dir.File("c.mp3"), {-5000, 1000}).error, CutError::BadTime);

    // A start equal to the duration passes, but a cut without audio is no cut: a failure,
    // and no file.
    const AudioInfo info = SourceInfo(source);
    std::filesystem::remove(output);
    audio = f.Cut(source, output, {info.durationMs, info.durationMs + 1000});
    EXPECT_EQ(f.job.GetState(), CutState::Failed);
    EXPECT_EQ(f.job.GetResult().error, CutError::NoAudio);
    EXPECT_FALSE(std::filesystem::exists(output));
}

TEST(ClipJob, CutToTheEndKeepsTheLastFrames) {
    CutFixture f;
    const auto source = f.MakeSource("tone.mp3", Tone(3));
    const auto output = f.dir.File("out.mp3");
    const auto whole = DecodeMp3File(source);
    const auto audio = f.Cut(source, output, {0, 3000});
    ASSERT_TRUE(audio.ok);
    // Nothing of the source's end is lost (the re-encode adds its own delay on top).
    EXPECT_GE(audio.Frames() + 100, whole.Frames());
}

TEST(ClipJob, StopDuringACutLeavesNoFile) {
    CutFixture f;
    const auto source = f.MakeSource("long.mp3", Tone(60));
    const auto output = f.dir.File("out.mp3");
    ASSERT_TRUE(f.Start(source, output, {.endMs = 60000, .throttleMs = 10}));
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    f.job.Stop();
    EXPECT_FALSE(f.job.IsRunning());
    EXPECT_EQ(f.job.GetState(), CutState::Failed);
    EXPECT_EQ(f.job.GetResult().error, CutError::Stopped);
    EXPECT_EQ(f.job.GetOutputPath(), "");
    EXPECT_EQ(FolderNames(f.dir), std::vector<std::string>{"long.mp3"});
    // Stop again, without a worker: harmless.
    f.job.Stop();
    EXPECT_EQ(f.job.GetState(), CutState::Failed);
}

TEST(ClipJob, WriteErrorEndsIdleWithTheFailureNamed) {
    CutFixture f;
    const auto source = f.MakeSource("tone.mp3", Tone(5));
    {
        const FileSizeLimit full(50000);
        ASSERT_TRUE(f.Start(source, f.dir.File("full.mp3"), {0, 5000}));
        f.WaitForEnd();
    }
    EXPECT_EQ(f.job.GetState(), CutState::Failed);
    EXPECT_EQ(f.job.GetResult().error, CutError::WriteFailed);
    EXPECT_EQ(FolderNames(f.dir), std::vector<std::string>{"tone.mp3"});
    // The job is usable again afterwards.
    const auto audio = f.Cut(source, f.dir.File("ok.mp3"), {0, 1000});
    EXPECT_TRUE(audio.ok);
    EXPECT_TRUE(f.job.GetResult().Ok());
}

TEST(ClipJob, SourceThatFailsOnTheWayEndsIdleWithoutAFile) {
    CutFixture f;
    const auto source = f.MakeSource("tone.mp3", Tone(10));
    const auto output = f.dir.File("out.mp3");
    ASSERT_TRUE(f.Start(source, output, {1000, 9000}));
    // The file loses its second half under the running cut, as a vanished network file.
    std::filesystem::resize_file(source, std::filesystem::file_size(source) / 2);
    f.WaitForEnd();
    EXPECT_EQ(f.job.GetState(), CutState::Failed);
    EXPECT_EQ(f.job.GetResult().error, CutError::ReadFailed);
    EXPECT_FALSE(std::filesystem::exists(output));
}

TEST(ClipJob, UnopenableSourceOrOutputPreparesNothing) {
    CutFixture f;
    EXPECT_EQ(f.Prepare(f.dir.File("missing.mp3"), f.dir.File("out.mp3"), {0, 1000}).error,
              CutError::SourceUnreadable);
    EXPECT_EQ(f.job.GetState(), CutState::Idle);
    const auto source = f.MakeSource("tone.mp3", Tone(2));
    const CutResult refused = f.Prepare(source, f.dir.File("no/such/folder/out.mp3"), {0, 1000});
    EXPECT_EQ(refused.error, CutError::OutputCannotCreate);
    EXPECT_EQ(refused.errnoValue, ENOENT);
    EXPECT_EQ(f.job.GetState(), CutState::Idle);
    // A start without a prepared cut starts nothing.
    f.job.Start();
    EXPECT_EQ(f.job.GetState(), CutState::Idle);
    EXPECT_EQ(FolderNames(f.dir), std::vector<std::string>{"tone.mp3"});
}

TEST(ClipJob, StartWhileRunningStartsNoSecondWorker) {
    CutFixture f;
    const auto source = f.MakeSource("tone.mp3", Tone(20));
    const auto output = f.dir.File("out.mp3");
    ASSERT_TRUE(f.Start(source, output, {.endMs = 20000, .throttleMs = 10}));
    f.job.Start();
    f.job.Start();
    f.WaitForEnd();
    EXPECT_EQ(f.job.GetState(), CutState::Finished);
    const auto audio = DecodeMp3File(output);
    // One worker wrote the range once, not twice over.
    EXPECT_LT(audio.Seconds(), 20.0 + kCodecSec);
}

TEST(ClipJob, ChangingBitRateNeverCutsTheRangeShort) {
    // 2 s at 320 kbit/s, then 20 s at 32 kbit/s: a duration estimated from the first
    // frames' bit rate would say about 4 s.
    CutFixture f;
    mp3gen::ToneSpec loud = Tone(2);
    loud.bitrateKbps = 320;
    mp3gen::ToneSpec quiet = Tone(20, 500);
    quiet.bitrateKbps = 32;
    auto bytes = mp3gen::MakeMp3(loud);
    const auto tail = mp3gen::MakeMp3(quiet);
    bytes.insert(bytes.end(), tail.begin(), tail.end());
    const auto source = f.dir.File("mixed.mp3");
    mp3gen::WriteFileBytes(source, bytes);
    const auto audio = f.Cut(source, f.dir.File("out.mp3"), {0, 18000});
    ASSERT_TRUE(audio.ok);
    EXPECT_GT(audio.Seconds(), 18.0);
    EXPECT_LT(audio.Seconds(), 18.0 + kCodecSec);
}
