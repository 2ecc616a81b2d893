// CMp3File: what Open finds out about a file, and the duration it reports.
#include "ReaderFixture.h"

#include <gtest/gtest.h>
#include <unistd.h>

using namespace readertest;

namespace {

TEST(CMp3FileOpen, PropertiesAndTheExactDuration) {
    for (const Format c :
         {Format{44100, 2, 128, false}, Format{48000, 2, 192, false}, Format{32000, 1, 64, false},
          Format{22050, 2, 64, false}, Format{22050, 1, 32, false}, Format{44100, 2, 0, true},
          Format{22050, 2, 0, true}}) {
        SCOPED_TRACE(testing::Message() << c.rate << " Hz, " << c.channels << " ch, " << c.vbr);
        mp3gen::ToneSpec params = FormatSpec(c, 2.0);
        params.melody = true;
        const auto bytes = mp3gen::MakeMp3(params);
        OpenedFile file(bytes);
        ASSERT_TRUE(file.opened);
        const AudioInfo& info = file.info;
        EXPECT_EQ(info.sampleRate, c.rate);
        EXPECT_EQ(info.stereo, c.channels == 2 ? 1 : 0);
        if (!c.vbr) {
            EXPECT_EQ(info.bitrateKbps, c.kbps);
        }
        // Every frame without a LAME tag; with one (VBR) the source's own 2 s, as the
        // player shows it, and as many samples as Read delivers.
        const size_t frames = WalkFrames(bytes).frames.size();
        const int64_t length =
            c.vbr ? 2 * c.rate : static_cast<int64_t>(frames) * SamplesPerFrame(c.rate);
        EXPECT_EQ(file.reader.GetLengthFrames(), length);
        EXPECT_EQ(info.durationMs, std::llround(length * 1000.0 / c.rate));
        EXPECT_EQ(static_cast<int64_t>(ReadToEnd(file.reader, c.channels).Frames()), length);
        EXPECT_EQ(static_cast<int64_t>(DecodeMp3File(file.path).Frames()), length);
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
    const auto audio = mp3gen::MakeMp3(Tone(44100, 2, 2.0));
    std::vector<uint8_t> bytes = TagWithFakeFrames();
    bytes.insert(bytes.end(), audio.begin(), audio.end());
    OpenedFile file(bytes);
    ASSERT_TRUE(file.opened);
    EXPECT_EQ(file.info.sampleRate, 44100);
    EXPECT_EQ(file.info.stereo, 1);
    // Neither the duration, the first read nor a seek to the start counts the tag's frames.
    const size_t frames = WalkFrames(audio).frames.size();
    EXPECT_EQ(file.info.durationMs, std::llround(frames * 1152 * 1000.0 / 44100));
    EXPECT_EQ(ReadToEnd(file.reader, 2).Frames(), frames * 1152);
    file.reader.SeekTo(0, file.info.durationMs);
    EXPECT_EQ(ReadToEnd(file.reader, 2).Frames(), frames * 1152);
}

// A stream is taken only from a run of frames alike: a lone mono frame before a stereo
// stream is passed over, as a player passes over it.
TEST(CMp3FileOpen, PropertiesComeFromTheStreamNotALoneFrameBeforeIt) {
    mp3gen::ToneSpec monoSpec = Tone(44100, 1, 1.0);
    monoSpec.bitrateKbps = 128;
    mp3gen::ToneSpec stereoSpec = Tone(44100, 2, 1.0);
    stereoSpec.bitrateKbps = 192;
    const auto mono = mp3gen::MakeMp3(monoSpec);
    const auto stereo = mp3gen::MakeMp3(stereoSpec);
    const FrameHeader first = WalkFrames(mono).frames.at(0);
    std::vector<uint8_t> bytes(mono.begin(), mono.begin() + static_cast<long>(first.length));
    bytes.insert(bytes.end(), stereo.begin(), stereo.end());
    OpenedFile file(bytes);
    ASSERT_TRUE(file.opened);
    EXPECT_EQ(file.info.bitrateKbps, 192);
    EXPECT_EQ(file.info.stereo, 1);
    EXPECT_EQ(file.reader.GetLengthFrames(),
              static_cast<int64_t>(WalkFrames(stereo).frames.size()) * 1152);
}

TEST(CMp3FileOpen, FileCutShortAfterOpenIsAReadFailure) {
    const auto bytes = mp3gen::MakeMp3(Tone(44100, 2, 6.0));
    OpenedFile file(bytes);
    CMp3File& reader = file.reader;
    ASSERT_TRUE(file.opened);
    ASSERT_EQ(truncate(file.path.c_str(), static_cast<off_t>(bytes.size() / 3)), 0);
    const Delivered d = ReadToEnd(reader, 2);
    EXPECT_LT(d.Frames(), static_cast<size_t>(reader.GetLengthFrames()));
    EXPECT_TRUE(reader.ReadFailed());
    ASSERT_EQ(reader.Open(file.path.c_str()), 1);
    ReadToEnd(reader, 2);
    EXPECT_FALSE(reader.ReadFailed()); // what is there now is read whole
}

} // namespace
