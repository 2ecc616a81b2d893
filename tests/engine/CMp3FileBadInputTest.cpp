// CMp3File: files that are not what they claim, damaged files and odd sizes.
#include "ReaderFixture.h"
#include "SparseFile.h"
#include "WavBytes.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

using namespace readertest;

namespace {

std::vector<uint8_t> RandomBytes(size_t n, unsigned seed) {
    std::mt19937 gen(seed);
    std::vector<uint8_t> bytes(n);
    for (auto& b : bytes) {
        b = static_cast<uint8_t>(gen() & 0xFF);
    }
    return bytes;
}

TEST(CMp3FileBadInput, NonAudioIsRefused) {
    TempDir dir;
    const std::vector<std::pair<std::string, std::vector<uint8_t>>> files = {
        {"empty.mp3", {}},
        {"few.mp3", {0xFF, 0xFB, 0x90}},
        {"id3only.mp3", mp3gen::MakeId3v2Tag(600)},
        {"random1.mp3", RandomBytes(300000, 1)},
        {"random2.mp3", RandomBytes(300000, 2)},
        {"random3.mp3", RandomBytes(300000, 3)},
        {"tone.wav.mp3", MakeWavBytes(Tone(44100, 2, 3.0))},
        {"melody.wav.mp3", MakeWavBytes(Melody(22050, 1, 3.0))},
    };
    for (const auto& [name, bytes] : files) {
        SCOPED_TRACE(name);
        const std::string path = WriteBytes(dir, name, bytes);
        CMp3File reader;
        EXPECT_EQ(reader.Open(path.c_str()), 0);
        uint8_t buf[64];
        uint32_t n = sizeof(buf);
        EXPECT_EQ(reader.Read(buf, n), 0);
        EXPECT_EQ(n, 0u);
    }
    CMp3File reader;
    EXPECT_EQ(reader.Open(dir.File("missing.mp3").c_str()), 0);
    EXPECT_EQ(reader.Open(dir.Path().c_str()), 0);
    const std::string fifo = dir.File("pipe.mp3");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(reader.Open(fifo.c_str()), 0); // and does not wait for a writer
}

TEST(CMp3FileBadInput, WrongTagSizeFallsBackToTheAudio) {
    const auto audio = mp3gen::MakeMp3(Tone(44100, 2, 1.0));
    const size_t frames = WalkFrames(audio).frames.size();
    struct Case {
        const char* name;
        uint8_t size[4];
    };
    // Bytes with the high bit set (past the end unless masked), a size past the end,
    // and a size that points into the middle of the tag's fake frames.
    for (const Case c :
         {Case{"unmasked", {0x80, 0x80, 0x81, 0x8A}}, Case{"past end", {0x7F, 0x7F, 0x7F, 0x7F}},
          Case{"short", {0, 0, 0, 100}}}) {
        SCOPED_TRACE(c.name);
        std::vector<uint8_t> bytes = mp3gen::MakeId3v2Tag(266);
        std::copy(c.size, c.size + 4, bytes.begin() + 6);
        bytes.insert(bytes.end(), audio.begin(), audio.end());
        OpenedFile file(bytes);
        ASSERT_TRUE(file.opened);
        EXPECT_EQ(file.info.sampleRate, 44100);
        EXPECT_EQ(file.info.bitrateKbps, 128);
        EXPECT_EQ(ReadToEnd(file.reader, 2).Frames(), frames * 1152);
    }
}

// A lone frame that libmad decodes (MPEG-1 Layer III, 48 kHz, mono, silent) carrying
// a Xing header, followed by two bytes that pass for a frame sync but not a header.
std::vector<uint8_t> LoneXingFrame() {
    // Sized at once: GCC 12 takes push_back onto a filled vector for a write out of bounds.
    std::vector<uint8_t> frame(384 + 2, 0);
    const uint8_t head[] = {0xFF, 0xFB, 0x94, 0xC0};
    std::copy(head, head + 4, frame.begin());
    const uint8_t xing[] = {'X', 'i', 'n', 'g', 0, 0, 0, 1, 0, 0, 0, 100};
    std::copy(xing, xing + sizeof(xing), frame.begin() + 4 + 17);
    frame[384] = 0xFF;
    frame[385] = 0xE0;
    return frame;
}

TEST(CMp3FileBadInput, JunkBeforeTheAudioIsPassedOver) {
    const auto audio = mp3gen::MakeMp3(Tone(32000, 1, 1.0));
    for (const unsigned seed : {7u, 8u, 9u}) {
        for (const bool lone : {false, true}) {
            SCOPED_TRACE(testing::Message() << seed << (lone ? " with a lone frame" : ""));
            std::vector<uint8_t> bytes = RandomBytes(20000, seed);
            if (lone) {
                const auto frame = LoneXingFrame();
                bytes.insert(bytes.begin() + 5000, frame.begin(), frame.end());
            }
            bytes.insert(bytes.end(), audio.begin(), audio.end());
            OpenedFile file(bytes);
            ASSERT_TRUE(file.opened);
            EXPECT_EQ(file.info.sampleRate, 32000);
            EXPECT_EQ(file.info.stereo, 0);
            EXPECT_EQ(ReadToEnd(file.reader, 1).Frames(), WalkFrames(audio).frames.size() * 1152);
        }
    }
}

TEST(CMp3FileBadInput, TruncatedFileDeliversItsWholeFramesAndOneFrameIsRefused) {
    TempDir dir;
    const auto audio = mp3gen::MakeMp3(Tone(44100, 2, 1.0));
    const auto frames = WalkFrames(audio).frames;
    const FrameHeader last = frames.back();
    const std::string truncated = WriteBytes(
        dir, "cut.mp3",
        std::vector<uint8_t>(audio.begin(),
                             audio.begin() + static_cast<long>(last.offset + last.length / 2)));
    CMp3File reader;
    ASSERT_EQ(reader.Open(truncated.c_str()), 1);
    const Delivered d = ReadToEnd(reader, 2);
    EXPECT_EQ(d.Frames(), (frames.size() - 1) * 1152);
    EXPECT_EQ(d.finalResult, 0);
    // No player locks onto a single frame; the cutter refuses it as well.
    const std::string single = WriteBytes(
        dir, "one.mp3",
        std::vector<uint8_t>(audio.begin(), audio.begin() + static_cast<long>(frames[0].length)));
    EXPECT_EQ(reader.Open(single.c_str()), 0);
}

// A VBR fixture with its Xing field at `fieldOffset` (from "Xing") replaced.
std::vector<uint8_t> PatchedVbr(size_t fieldOffset, const std::vector<uint8_t>& value,
                                size_t* xingAt = nullptr) {
    auto bytes = mp3gen::MakeMp3(Melody(44100, 2, 4.0, true));
    const size_t at = FindXing(bytes);
    if (xingAt) {
        *xingAt = at;
    }
    std::copy(value.begin(), value.end(), bytes.begin() + static_cast<long>(at + fieldOffset));
    return bytes;
}

// The Xing frame's counts and table are not what the file holds: the frames are.
TEST(CMp3FileBadInput, XingCountsAndTableAreNotTrusted) {
    TempDir dir;
    const auto intact = PatchedVbr(16, RandomBytes(100, 5));
    const auto audioFrames = static_cast<int64_t>(WalkFrames(intact).frames.size()) - 1;
    // A table that jumps about does not matter: 4 s of source, as the LAME tag's delay and
    // padding trim the frames to. With a frame count of 0 or more than the file holds the
    // tag is not believed (nor by the player): every audio frame counts.
    for (const auto& [bytes, length] :
         {std::pair{intact, int64_t{4 * 44100}},
          std::pair{PatchedVbr(8, {0, 0, 0, 0}), audioFrames * 1152},
          std::pair{PatchedVbr(8, {0xFF, 0xFF, 0xFF, 0xFF}), audioFrames * 1152}}) {
        const std::string path = WriteBytes(dir, "xing.mp3", bytes);
        CMp3File reader;
        ASSERT_EQ(reader.Open(path.c_str()), 1);
        AudioInfo info;
        reader.GetInfo(info);
        EXPECT_EQ(reader.GetLengthFrames(), length);
        for (int i = 0; i <= 4; ++i) {
            reader.SeekTo(info.durationMs * i / 4, info.durationMs);
            EXPECT_EQ(reader.GetPositionMs(), info.durationMs * i / 4);
            const int64_t at = reader.GetPositionFrames();
            EXPECT_EQ(static_cast<int64_t>(ReadToEnd(reader, 2).Frames()), length - at);
        }
        reader.SeekTo(3, 0);
        reader.SeekTo(-5, 7);
        EXPECT_EQ(reader.GetPositionMs(), 0);
        reader.SeekTo(INT64_MAX, 1);
        EXPECT_EQ(reader.GetPositionMs(), info.durationMs);
    }
}

TEST(CMp3FileBadInput, FilesOf4GiBAreRefused) {
    TempDir dir;
    const auto audio = mp3gen::MakeMp3(Tone(44100, 2, 1.0));
    const std::string path = WriteBytes(dir, "big.mp3", audio);
    const off_t fourGiB = static_cast<off_t>(1) << 32;
    if (!ResizeSparse(path, fourGiB - 1)) {
        GTEST_SKIP() << "no sparse files here";
    }
    CMp3File reader;
    ASSERT_EQ(reader.Open(path.c_str()), 1); // the largest size a 32-bit offset reaches
    AudioInfo info;
    reader.GetInfo(info);
    // The zeros behind the audio end the stream.
    EXPECT_EQ(reader.GetLengthFrames(),
              static_cast<int64_t>(WalkFrames(audio).frames.size()) * 1152);
    reader.SeekTo(info.durationMs / 2, info.durationMs);
    EXPECT_GT(reader.GetPositionMs(), 0);
    ASSERT_EQ(::truncate(path.c_str(), fourGiB), 0);
    EXPECT_EQ(reader.Open(path.c_str()), 0);
    ASSERT_EQ(::truncate(path.c_str(), fourGiB + 4096), 0);
    EXPECT_EQ(reader.Open(path.c_str()), 0);
}

// Ctrl-C while a long file is opened: the walk through it asks, and gives up.
TEST(CMp3FileBadInput, OpeningIsGivenUpWhenAsked) {
    TempDir dir;
    const std::string path = WriteBytes(dir, "a.mp3", mp3gen::MakeMp3(Tone(44100, 2, 1.0)));
    CMp3File reader;
    int asked = 0;
    reader.SetCancelCheck([&asked] { return ++asked == 3; });
    EXPECT_EQ(reader.Open(path.c_str()), 0);
    EXPECT_EQ(asked, 3);
    uint8_t buf[64];
    uint32_t n = sizeof(buf);
    EXPECT_EQ(reader.Read(buf, n), 0);
    EXPECT_EQ(reader.Open(path.c_str()), 1);
}

TEST(CMp3FileBadInput, ClosedReaderDeliversNothing) {
    TempDir dir;
    const std::string path = WriteBytes(dir, "a.mp3", mp3gen::MakeMp3(Tone(44100, 2, 1.0)));
    CMp3File reader;
    uint8_t buf[64];
    uint32_t n = sizeof(buf);
    EXPECT_EQ(reader.Read(buf, n), 0);
    EXPECT_EQ(n, 0u);
    ASSERT_EQ(reader.Open(path.c_str()), 1);
    n = sizeof(buf);
    EXPECT_EQ(reader.Read(buf, n), 1);
    const int pos = reader.GetPositionMs();
    reader.Close();
    reader.Close();
    n = sizeof(buf);
    EXPECT_EQ(reader.Read(buf, n), 0);
    reader.SeekTo(500, 1000);
    EXPECT_EQ(reader.GetPositionMs(), pos);
}

} // namespace
