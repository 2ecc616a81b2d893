// CMp3File: delivering PCM, positions and seeking.
#include "ReaderFixture.h"

#include <atomic>
#include <gtest/gtest.h>
#include <thread>

using namespace readertest;

namespace {

TEST(CMp3FileRead, DeliversEveryFrameIncludingTheLast) {
    struct Case {
        int rate;
        int channels;
        bool vbr;
    };
    for (const Case c : {Case{44100, 2, false}, Case{22050, 1, false}, Case{48000, 2, true},
                         Case{32000, 1, true}}) {
        SCOPED_TRACE(testing::Message() << c.rate << " Hz, " << c.channels << " ch, vbr " << c.vbr);
        TempDir dir;
        const auto bytes = mp3gen::MakeMp3(Melody(c.rate, c.channels, 2.5, c.vbr));
        const std::string path = WriteBytes(dir, "whole.mp3", bytes);
        const size_t frames = WalkFrames(bytes).frames.size();
        const size_t spf = static_cast<size_t>(SamplesPerFrame(c.rate));

        CMp3File reader;
        ASSERT_EQ(reader.Open(path.c_str()), 1);
        const Delivered d = ReadToEnd(reader, c.channels);
        // Every frame of the file, the Xing frame's silence included.
        EXPECT_EQ(d.Frames(), frames * spf);
        EXPECT_EQ(reader.GetPositionMs(),
                  static_cast<int>(frames * spf * 1000 / static_cast<size_t>(c.rate)));

        // libmpg123 agrees: without a LAME tag it delivers every frame too; with one it
        // drops the Xing frame and trims the encoder's delay and padding down to the
        // source's own length.
        const DecodedAudio ref = DecodeMp3File(path);
        ASSERT_TRUE(ref.ok);
        if (c.vbr) {
            EXPECT_EQ(ref.Frames(), static_cast<size_t>(2.5 * c.rate));
        } else {
            EXPECT_EQ(ref.Frames(), d.Frames());
        }
    }
}

TEST(CMp3FileRead, LastBlockIsDeliveredPartlyFilledThenNothing) {
    TempDir dir;
    const auto bytes = mp3gen::MakeMp3(Tone(44100, 2, 1.0));
    const std::string path = WriteBytes(dir, "a.mp3", bytes);
    CMp3File reader;
    ASSERT_EQ(reader.Open(path.c_str()), 1);
    const uint32_t block = 20484; // 5121 frames
    const size_t totalBytes = WalkFrames(bytes).frames.size() * 1152 * 4;
    ASSERT_NE(totalBytes % block, 0u);
    const Delivered d = ReadToEnd(reader, 2, block);
    EXPECT_EQ(d.pcm.size() * 2, totalBytes);
    EXPECT_EQ(d.lastBytes, totalBytes % block);
    EXPECT_EQ(d.finalResult, 0);
    std::vector<uint8_t> buf(block);
    uint32_t n = block;
    EXPECT_EQ(reader.Read(buf.data(), n), 0);
    EXPECT_EQ(n, 0u);
}

TEST(CMp3FileRead, BytesPerFrameFollowTheChannelCount) {
    TempDir dir;
    const std::string mono = WriteBytes(dir, "m.mp3", mp3gen::MakeMp3(Tone(44100, 1, 1.0)));
    const std::string stereo = WriteBytes(dir, "s.mp3", mp3gen::MakeMp3(Tone(44100, 2, 1.0)));
    uint8_t buf[4096];
    struct Case {
        const std::string& path;
        uint32_t asked;
        uint32_t delivered;
    };
    for (const Case c : {Case{mono, 1, 0}, Case{mono, 3, 2}, Case{mono, 4001, 4000},
                         Case{stereo, 3, 0}, Case{stereo, 6, 4}, Case{stereo, 4001, 4000}}) {
        SCOPED_TRACE(testing::Message() << c.path << " asked " << c.asked);
        CMp3File reader;
        ASSERT_EQ(reader.Open(c.path.c_str()), 1);
        uint32_t n = c.asked;
        EXPECT_EQ(reader.Read(buf, n), 1);
        EXPECT_EQ(n, c.delivered);
    }
    CMp3File reader;
    ASSERT_EQ(reader.Open(mono.c_str()), 1);
    EXPECT_EQ(ReadToEnd(reader, 1).pcm.size(),
              WalkFrames(mp3gen::ReadFileBytes(mono)).frames.size() * 1152);
}

TEST(CMp3FileRead, SeekToZeroDeliversTheFirstFramesAgain) {
    TempDir dir;
    const std::string path = WriteBytes(dir, "m.mp3", mp3gen::MakeMp3(Melody(44100, 2, 3.0)));
    CMp3File reader;
    ASSERT_EQ(reader.Open(path.c_str()), 1);
    AudioInfo info;
    reader.GetInfo(info);
    const auto first = ReadFrames(reader, 2, 3 * 1152);
    ReadFrames(reader, 2, 40000);
    reader.SeekTo(1500, info.durationMs);
    ReadFrames(reader, 2, 5000);

    reader.SeekTo(0, info.durationMs);
    EXPECT_EQ(reader.GetPositionMs(), 0);
    const auto again = ReadFrames(reader, 2, 3 * 1152);
    ASSERT_EQ(again.size(), first.size());
    int worst = 0;
    for (size_t i = 0; i < first.size(); ++i) {
        worst = std::max(worst, std::abs(first[i] - again[i]));
    }
    EXPECT_LE(worst, 16); // the dither alone differs
    EXPECT_EQ(reader.GetPositionMs(), 3 * 1152 * 1000 / 44100);
}

// Where the audio delivered after a seek sits in libmpg123's decode of the file,
// relative to where the reader says it is (in samples).
struct Landing {
    int positionMs = 0;
    long offset = 0;
    double correlation = 0;
};

Landing SeekAndLocate(CMp3File& reader, const DecodedAudio& ref, int seekMs, int durationMs,
                      long refShift) {
    reader.SeekTo(seekMs, durationMs);
    Landing l;
    l.positionMs = reader.GetPositionMs();
    const auto part = Channel(ReadFrames(reader, ref.channels, 8192), ref.channels, 0);
    const long claimed = static_cast<long>(l.positionMs) * ref.sampleRate / 1000 - refShift;
    const Match m =
        BestMatch(Channel(ref.pcm, ref.channels, 0), part, claimed - 4 * 1152, claimed + 4 * 1152);
    l.offset = m.lag - claimed;
    l.correlation = m.correlation;
    return l;
}

TEST(CMp3FileSeek, LandsTwoFramesOnAndDeliversTheAudioThere) {
    // 32 kbit/s frames are so small that a frame's data reaches back several frames.
    for (const auto& [channels, kbps] : {std::pair{2, 128}, std::pair{1, 32}}) {
        SCOPED_TRACE(kbps);
        TempDir dir;
        mp3gen::ToneSpec params = Melody(44100, channels, 8.0);
        params.bitrateKbps = kbps;
        const std::string path = WriteBytes(dir, "cbr.mp3", mp3gen::MakeMp3(params));
        const DecodedAudio ref = DecodeMp3File(path);
        ASSERT_TRUE(ref.ok);
        CMp3File reader;
        ASSERT_EQ(reader.Open(path.c_str()), 1);
        AudioInfo info;
        reader.GetInfo(info);
        const double frameMs = 1152 * 1000.0 / 44100;
        for (const int t : {380, 1000, 2790, 5210, 7000}) {
            SCOPED_TRACE(t);
            const Landing l = SeekAndLocate(reader, ref, t, info.durationMs, 0);
            // Two primed frames, plus any whose data lay before the seek point.
            EXPECT_GE(l.positionMs, t + 2 * frameMs - 1);
            EXPECT_LE(l.positionMs, t + 12 * frameMs);
            // The seek starts at the next whole frame, so the audio is at most a frame late,
            // and it is clean: nothing from before the jump is decoded into it.
            EXPECT_GT(l.correlation, 0.97);
            EXPECT_GE(l.offset, -64);
            EXPECT_LE(l.offset, 1152 + 64);
        }
    }
}

TEST(CMp3FileSeek, VbrSeekFollowsTheTableOfContents) {
    TempDir dir;
    const std::string path =
        WriteBytes(dir, "vbr.mp3", mp3gen::MakeMp3(Melody(44100, 2, 8.0, true)));
    const DecodedAudio ref = DecodeMp3File(path);
    ASSERT_TRUE(ref.ok);
    CMp3File reader;
    ASSERT_EQ(reader.Open(path.c_str()), 1);
    AudioInfo info;
    reader.GetInfo(info);
    // libmpg123 drops the Xing frame and the 576 + 529 samples of encoder and decoder delay.
    const long refShift = 1152 + 576 + 529;
    const double frameMs = 1152 * 1000.0 / 44100;
    for (const int t : {500, 2790, 4000, 6500}) {
        SCOPED_TRACE(t);
        const Landing l = SeekAndLocate(reader, ref, t, info.durationMs, refShift);
        EXPECT_GE(l.positionMs, t + 2 * frameMs - 1);
        EXPECT_GT(l.correlation, 0.97);
        // The table has 1 % steps: allow it two frames either way.
        EXPECT_LE(std::abs(l.offset), 2 * 1152);
    }
}

TEST(CMp3FileSeek, ConcurrentCallsSeeAConsistentReader) {
    TempDir dir;
    const std::string path = WriteBytes(dir, "c.mp3", mp3gen::MakeMp3(Tone(44100, 2, 6.0)));
    CMp3File reader;
    ASSERT_EQ(reader.Open(path.c_str()), 1);
    std::atomic<bool> done{false};
    std::thread worker([&] {
        ReadToEnd(reader, 2);
        done = true;
    });
    int last = 0;
    bool monotonic = true;
    while (!done) {
        AudioInfo info;
        reader.GetInfo(info);
        const int pos = reader.GetPositionMs();
        monotonic = monotonic && pos >= last && info.durationMs >= pos;
        last = pos;
    }
    worker.join();
    EXPECT_TRUE(monotonic);
    EXPECT_GT(reader.GetPositionMs(), 5900);
}

} // namespace
