// CMp3File: delivering PCM, positions and seeking.
#include "ReaderFixture.h"

#include <atomic>
#include <gtest/gtest.h>
#include <thread>

using namespace readertest;

namespace {

TEST(CMp3FileRead, LastBlockIsDeliveredPartlyFilledThenNothing) {
    const auto bytes = mp3gen::MakeMp3(Tone(44100, 2, 1.0));
    OpenedFile file(bytes);
    CMp3File& reader = file.reader;
    ASSERT_TRUE(file.opened);
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

// The reader's timeline is the player's, libmpg123's gapless decode: the same length, and
// after a seek the very sample the player has at that time, however far back a frame's data
// reaches (32 and 16 kbit/s frames take theirs from several frames before them).
TEST(CMp3FileSeek, LandsOnTheSampleOfThePlayersTimeline) {
    for (const Format c :
         {Format{44100, 2, 128, false}, Format{44100, 1, 32, false}, Format{48000, 2, 0, true},
          Format{22050, 1, 0, true}, Format{8000, 1, 16, false}}) {
        SCOPED_TRACE(testing::Message() << c.rate << " Hz, " << c.kbps << " kbit/s");
        TempDir dir;
        mp3gen::ToneSpec params = FormatSpec(c, 8.0);
        params.noise = true;
        const std::string path = WriteBytes(dir, "a.mp3", mp3gen::MakeMp3(params));
        const DecodedAudio ref = DecodeMp3File(path);
        ASSERT_TRUE(ref.ok);
        const std::vector<double> player = Channel(ref.pcm, ref.channels, 0);
        CMp3File reader;
        ASSERT_EQ(reader.Open(path.c_str()), 1);
        EXPECT_EQ(reader.GetLengthFrames(), static_cast<int64_t>(ref.Frames()));
        AudioInfo info;
        reader.GetInfo(info);
        for (const int t : {0, 380, 1000, 2790, 5210, 7000}) {
            SCOPED_TRACE(t);
            reader.SeekTo(t, info.durationMs);
            EXPECT_EQ(reader.GetPositionMs(), t);
            const auto part = Channel(ReadFrames(reader, c.channels, 4096), c.channels, 0);
            const long at = std::lround(t * c.rate / 1000.0);
            const Match m = BestMatch(player, part, at - 1152, at + 1152);
            EXPECT_EQ(m.lag, at);
            EXPECT_GT(m.correlation, 0.999);
            EXPECT_EQ(reader.GetPositionFrames(), at + 4096);
        }
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
