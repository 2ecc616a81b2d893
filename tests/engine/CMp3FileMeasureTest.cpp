// CMp3File: measuring the duration of a file whose length is only estimated.
#include "ReaderFixture.h"

#include <gtest/gtest.h>

using namespace readertest;

namespace {

TEST(CMp3FileMeasure, VbrWithoutXingGetsItsTrueLength) {
    TempDir dir;
    auto bytes = mp3gen::MakeMp3(Melody(44100, 2, 9.0, true));
    const std::string original = WriteBytes(dir, "xing.mp3", bytes);
    const size_t at = FindXing(bytes);
    ASSERT_NE(at, std::string::npos);
    bytes[at + 1] = 'x';
    bytes[at + 2] = 'x';
    bytes[at + 3] = 'x';
    auto tagged = mp3gen::MakeId3v2Tag(1000);
    tagged.insert(tagged.end(), bytes.begin(), bytes.end());
    const std::string path = WriteBytes(dir, "noxing.mp3", tagged);

    CMp3File truth;
    ASSERT_EQ(truth.Open(original.c_str()), 1);
    AudioInfo trueInfo;
    truth.GetInfo(trueInfo);
    const Delivered reference = ReadToEnd(truth, 2);

    CMp3File reader;
    ASSERT_EQ(reader.Open(path.c_str()), 1);
    EXPECT_FALSE(reader.HasExactDuration());
    const auto head = ReadFrames(reader, 2, 100000);
    const int posBefore = reader.GetPositionMs();

    const int measured = reader.MeasureDurationMs();
    // The old Xing frame is an ordinary silent frame now, so one frame longer.
    EXPECT_GE(measured, trueInfo.durationMs);
    EXPECT_LE(measured, trueInfo.durationMs + 27);
    EXPECT_TRUE(reader.HasExactDuration());
    EXPECT_EQ(reader.GetPositionMs(), posBefore);

    // Reading goes on where it was, and the measured duration is no longer re-estimated.
    auto pcm = head;
    const auto rest = ReadToEnd(reader, 2).pcm;
    pcm.insert(pcm.end(), rest.begin(), rest.end());
    ASSERT_EQ(pcm.size(), reference.pcm.size());
    int worst = 0;
    for (size_t i = 0; i < pcm.size(); ++i) {
        worst = std::max(worst, std::abs(pcm[i] - reference.pcm[i]));
    }
    EXPECT_LE(worst, 16); // the dither alone differs
    AudioInfo info;
    reader.GetInfo(info);
    EXPECT_EQ(info.durationMs, measured);
    EXPECT_EQ(info.durationSec, measured / 1000);
}

TEST(CMp3FileMeasure, CbrMeasureMatchesTheFramesAndSkipsTheTags) {
    TempDir dir;
    const auto audio = mp3gen::MakeMp3(Tone(22050, 1, 3.0));
    std::vector<uint8_t> bytes = mp3gen::MakeId3v2Tag(3000);
    bytes.insert(bytes.end(), audio.begin(), audio.end());
    std::vector<uint8_t> id3v1(128, 0xFF);
    id3v1[0] = 'T';
    id3v1[1] = 'A';
    id3v1[2] = 'G';
    bytes.insert(bytes.end(), id3v1.begin(), id3v1.end());
    const std::string path = WriteBytes(dir, "cbr.mp3", bytes);
    CMp3File reader;
    ASSERT_EQ(reader.Open(path.c_str()), 1);
    const double frames = static_cast<double>(WalkFrames(audio).frames.size());
    EXPECT_NEAR(reader.MeasureDurationMs(), frames * 576 * 1000 / 22050, 1.0);
    EXPECT_EQ(ReadToEnd(reader, 1).Frames(), static_cast<size_t>(frames) * 576);
}

} // namespace
