// CMp3File: what Open finds out about a file, and the duration it reports.
#include "ReaderFixture.h"

#include <gtest/gtest.h>

using namespace readertest;

namespace {

// Milliseconds of `frames` frames of `samples` samples at `rate`.
double FramesMs(size_t frames, int samples, int rate) {
    return static_cast<double>(frames) * samples * 1000.0 / rate;
}

TEST(CMp3FileOpen, CbrPropertiesAndDurationFromSize) {
    struct Case {
        int rate;
        int channels;
        int kbps;
    };
    for (const Case c : {Case{44100, 2, 128}, Case{48000, 2, 192}, Case{32000, 1, 64},
                         Case{22050, 2, 64}, Case{22050, 1, 32}}) {
        SCOPED_TRACE(testing::Message() << c.rate << " Hz, " << c.channels << " ch");
        TempDir dir;
        mp3gen::ToneSpec params = Tone(c.rate, c.channels, 2.0);
        params.bitrateKbps = c.kbps;
        const auto bytes = mp3gen::MakeMp3(params);
        const std::string path = WriteBytes(dir, "cbr.mp3", bytes);
        CMp3File reader;
        ASSERT_EQ(reader.Open(path.c_str()), 1);
        AudioInfo info;
        reader.GetInfo(info);
        EXPECT_EQ(info.sampleRate, c.rate);
        EXPECT_EQ(info.stereo, c.channels == 2 ? 1 : 0);
        EXPECT_EQ(info.bitrateKbps, c.kbps);
        EXPECT_EQ(info.reserved, 1);
        // Estimated from the size, which holds 2 s of audio plus the encoder's padding.
        EXPECT_NEAR(info.durationMs, bytes.size() * 8.0 / c.kbps, 1.0);
        EXPECT_EQ(info.durationSec, info.durationMs / 1000);
        EXPECT_GE(info.durationMs, 2000);
        EXPECT_FALSE(reader.HasExactDuration());
    }
}

TEST(CMp3FileOpen, VbrDurationIsXingFramesTimesFrameDuration) {
    for (const int rate : {44100, 22050}) {
        SCOPED_TRACE(rate);
        TempDir dir;
        const auto bytes = mp3gen::MakeMp3(Melody(rate, 2, 3.0, true));
        ASSERT_NE(FindXing(bytes), std::string::npos);
        const std::string path = WriteBytes(dir, "vbr.mp3", bytes);
        CMp3File reader;
        ASSERT_EQ(reader.Open(path.c_str()), 1);
        AudioInfo info;
        reader.GetInfo(info);
        // The Xing count leaves out the Xing frame itself.
        const size_t audioFrames = WalkFrames(bytes).frames.size() - 1;
        EXPECT_NEAR(info.durationMs, FramesMs(audioFrames, SamplesPerFrame(rate), rate), 1.0);
        EXPECT_EQ(info.sampleRate, rate);
        EXPECT_TRUE(reader.HasExactDuration());
    }
}

// A tag whose payload holds believable 48 kHz frames: only a reader that skips the
// tag sees the 44.1 kHz stream behind it.
std::vector<uint8_t> TagWithFakeFrames() {
    std::vector<uint8_t> payload;
    for (int i = 0; i < 8; ++i) {
        std::vector<uint8_t> frame(384, 0); // MPEG-1 Layer III, 128 kbit/s, 48 kHz, mono
        frame[0] = 0xFF;
        frame[1] = 0xFB;
        frame[2] = 0x94;
        frame[3] = 0xC0;
        payload.insert(payload.end(), frame.begin(), frame.end());
    }
    std::vector<uint8_t> tag = mp3gen::MakeId3v2Tag(static_cast<uint32_t>(payload.size()));
    std::copy(payload.begin(), payload.end(), tag.begin() + 10);
    return tag;
}

TEST(CMp3FileOpen, Id3v2TagIsSkipped) {
    TempDir dir;
    const auto audio = mp3gen::MakeMp3(Tone(44100, 2, 2.0));
    std::vector<uint8_t> bytes = TagWithFakeFrames();
    const size_t tagBytes = bytes.size();
    bytes.insert(bytes.end(), audio.begin(), audio.end());
    const std::string path = WriteBytes(dir, "tagged.mp3", bytes);

    CMp3File reader;
    ASSERT_EQ(reader.Open(path.c_str()), 1);
    AudioInfo info;
    reader.GetInfo(info);
    EXPECT_EQ(info.sampleRate, 44100);
    EXPECT_EQ(info.stereo, 1);
    // The size estimate counts the tag too.
    EXPECT_NEAR(info.durationMs, (tagBytes + audio.size()) * 8.0 / 128, 1.0);

    // Neither the first read nor a seek to the start decodes the tag's frames.
    const size_t frames = WalkFrames(audio).frames.size();
    EXPECT_EQ(ReadToEnd(reader, 2).Frames(), frames * 1152);
    reader.SeekTo(0, info.durationMs);
    EXPECT_EQ(ReadToEnd(reader, 2).Frames(), frames * 1152);
}

TEST(CMp3FileOpen, PropertiesComeFromTheSecondFrameWithoutXing) {
    TempDir dir;
    mp3gen::ToneSpec monoSpec = Tone(44100, 1, 1.0);
    monoSpec.bitrateKbps = 128;
    mp3gen::ToneSpec stereoSpec = Tone(44100, 2, 1.0);
    stereoSpec.bitrateKbps = 192;
    const auto mono = mp3gen::MakeMp3(monoSpec);
    const auto stereo = mp3gen::MakeMp3(stereoSpec);
    const FrameHeader first = WalkFrames(mono).frames.at(0);
    std::vector<uint8_t> bytes(mono.begin(), mono.begin() + static_cast<long>(first.length));
    bytes.insert(bytes.end(), stereo.begin(), stereo.end());
    const std::string path = WriteBytes(dir, "spliced.mp3", bytes);

    CMp3File reader;
    ASSERT_EQ(reader.Open(path.c_str()), 1);
    AudioInfo info;
    reader.GetInfo(info);
    EXPECT_EQ(info.bitrateKbps, 192);
    EXPECT_EQ(info.stereo, 1);
    EXPECT_NEAR(info.durationMs, bytes.size() * 8.0 / 192, 1.0);

    // The mono first frame feeds both channels of the stereo output.
    const auto pcm = ReadFrames(reader, 2, 1152);
    ASSERT_EQ(pcm.size(), 2304u);
    int peak = 0;
    for (size_t i = 0; i < pcm.size(); i += 2) {
        peak = std::max(peak, std::abs(pcm[i]));
        ASSERT_LE(std::abs(pcm[i] - pcm[i + 1]), 16) << "frame " << i / 2; // dither apart
    }
    EXPECT_GT(peak, 1000); // the tone has begun within the first frame
}

TEST(CMp3FileOpen, ReestimatedDurationNeverFallsBelowThePosition) {
    TempDir dir;
    mp3gen::ToneSpec params = Tone(44100, 2, 20.0);
    const auto bytes = mp3gen::MakeMp3(params);
    // A file still being written: it has a third of its bytes when opened.
    const std::string path = dir.File("growing.mp3");
    const size_t firstPart = bytes.size() / 3;
    mp3gen::WriteFileBytes(
        path, std::vector<uint8_t>(bytes.begin(), bytes.begin() + static_cast<long>(firstPart)));

    CMp3File reader;
    ASSERT_EQ(reader.Open(path.c_str()), 1);
    AudioInfo info;
    reader.GetInfo(info);
    EXPECT_NEAR(info.durationMs, firstPart * 8.0 / 128, 1.0);
    std::vector<uint8_t> block(20480);
    uint32_t n = 20480;
    ASSERT_EQ(reader.Read(block.data(), n), 1);
    mp3gen::WriteFileBytes(path, bytes);

    int reads = 0;
    do {
        n = 20480;
        reader.Read(block.data(), n);
        reader.GetInfo(info);
        ASSERT_GE(info.durationMs, reader.GetPositionMs()) << "after read " << reads;
        ++reads;
    } while (n > 0);
    EXPECT_GT(reader.GetPositionMs(), 19000);
    // With the new size read again the estimate covers the whole file.
    reader.GetInfo(info);
    EXPECT_NEAR(info.durationMs, bytes.size() * 8.0 / 128, 30.0);
}

} // namespace
