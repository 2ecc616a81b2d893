// What the library writes for the program's configuration: frame headers,
// bit rates per MPEG version, and audio that decodes back whole.
#include "EncMp3Api.h"
#include "EncoderStream.h"
#include "Mp3Check.h"
#include "Mp3Gen.h"
#include "TempDir.h"

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

std::vector<int16_t> Tone(int rate, int channels, double seconds) {
    mp3gen::ToneSpec params;
    params.sampleRate = rate;
    params.channels = channels;
    params.seconds = seconds;
    params.frequencyHz = 1000.0;
    return mp3gen::SynthesizePcm(params);
}

DecodedAudio Decode(const TempDir& dir, const std::vector<uint8_t>& mp3) {
    const std::string path = dir.File("out.mp3");
    EXPECT_TRUE(mp3gen::WriteFileBytes(path, mp3));
    return DecodeMp3File(path);
}

void ExpectEveryFrame(const FrameWalk& walk, int version, int kbps, int mode) {
    ASSERT_FALSE(walk.frames.empty());
    for (const FrameHeader& h : walk.frames) {
        EXPECT_EQ(h.mpegVersion, version);
        EXPECT_EQ(h.layer, 3);
        EXPECT_EQ(h.bitrateKbps, kbps);
        EXPECT_EQ(h.channelMode, mode);
        EXPECT_TRUE(h.privateBit);
        EXPECT_TRUE(h.copyright);
        EXPECT_TRUE(h.original);
        EXPECT_FALSE(h.crc);
    }
}

} // namespace

TEST(EncMp3Encode, CdRateStereoGivesPlainStereoMpeg1At320) {
    const auto pcm = Tone(44100, 2, 2.0);
    const EncodeResult result = EncodeAll(MakeCutEncoderConfig(44100, 2), pcm, 5120);
    ASSERT_TRUE(result.ok);
    const FrameWalk walk = WalkFrames(result.mp3);
    EXPECT_EQ(walk.audioEnd, result.mp3.size()); // frames only, nothing after them
    ExpectEveryFrame(walk, 1, 320, 0);
    EXPECT_EQ(walk.frames.front().sampleRate, 44100);
    TempDir dir;
    const DecodedAudio audio = Decode(dir, result.mp3);
    ASSERT_TRUE(audio.ok);
    EXPECT_NEAR(EstimateFrequency(audio, 0.5, 1.5), 1000.0, 5.0);
}

TEST(EncMp3Encode, HalfRateGivesMpeg2AtItsTopRate) {
    const EncodeResult result =
        EncodeAll(MakeCutEncoderConfig(22050, 2), Tone(22050, 2, 1.0), 5120);
    ASSERT_TRUE(result.ok);
    const FrameWalk walk = WalkFrames(result.mp3);
    ExpectEveryFrame(walk, 2, 160, 0);
    EXPECT_EQ(walk.frames.front().sampleRate, 22050);
}

TEST(EncMp3Encode, LowRateGivesMpeg25) {
    const EncodeResult result = EncodeAll(MakeCutEncoderConfig(8000, 1), Tone(8000, 1, 1.0), 4096);
    ASSERT_TRUE(result.ok);
    ExpectEveryFrame(WalkFrames(result.mp3), 25, 64, 3);
}

TEST(EncMp3Encode, MonoGivesMonoFrames) {
    const auto pcm = Tone(48000, 1, 1.0);
    const EncodeResult result = EncodeAll(MakeCutEncoderConfig(48000, 1), pcm, 10240);
    ASSERT_TRUE(result.ok);
    ExpectEveryFrame(WalkFrames(result.mp3), 1, 320, 3);
    TempDir dir;
    const DecodedAudio audio = Decode(dir, result.mp3);
    EXPECT_EQ(audio.channels, 1);
    EXPECT_GE(audio.Frames(), pcm.size());
}

// Any chunking gives the same stream, and all of it: nothing lost at the end.
TEST(EncMp3Encode, OddChunkSizesDecodeBackToTheWholeLength) {
    const auto pcm = Tone(44100, 2, 1.3);
    const size_t frames = pcm.size() / 2;
    const EncodeResult reference = EncodeAll(MakeCutEncoderConfig(44100, 2), pcm, 1152);
    ASSERT_TRUE(reference.ok);
    TempDir dir;
    const DecodedAudio audio = Decode(dir, reference.mp3);
    ASSERT_TRUE(audio.ok);
    EXPECT_GE(audio.Frames(), frames);
    EXPECT_LE(audio.Frames(), frames + 3 * 1152); // encoder delay and the last frame's padding
    for (size_t chunk : {size_t{1}, size_t{7}, size_t{100000}}) {
        const EncodeResult result = EncodeAll(MakeCutEncoderConfig(44100, 2), pcm, chunk);
        ASSERT_TRUE(result.ok) << chunk;
        EXPECT_EQ(result.mp3, reference.mp3) << "chunks of " << chunk;
    }
}

// A chunk too big to be owed until the final flush is encoded within its own call.
TEST(EncMp3Encode, HugeChunksGiveTheSameStream) {
    const auto pcm = Tone(44100, 2, 10.0);
    const EncodeResult reference = EncodeAll(MakeCutEncoderConfig(44100, 2), pcm, 5120);
    const EncodeResult huge = EncodeAll(MakeCutEncoderConfig(44100, 2), pcm, 400000);
    ASSERT_TRUE(reference.ok);
    ASSERT_TRUE(huge.ok);
    EXPECT_EQ(huge.mp3, reference.mp3);
    EXPECT_LE(huge.largestChunkOutput, 400000u * 5 / 4 + 7200);
}

// One call never writes more than a buffer sized for its own chunk must hold.
TEST(EncMp3Encode, TinyChunksGetSmallOutputs) {
    const EncodeResult result = EncodeAll(MakeCutEncoderConfig(44100, 2), Tone(44100, 2, 0.5), 1);
    ASSERT_TRUE(result.ok);
    EXPECT_LE(result.largestChunkOutput, 1152u * 5 / 4 + 7200);
    EXPECT_GT(result.largestChunkOutput, 0u);
}

// The library's stream on its own thread against the same stream in the caller's thread.
TEST(EncMp3Encode, CallerThreadAndEncoderThreadWriteTheSameBytes) {
    const auto pcm = Tone(44100, 2, 1.0);
    const size_t chunkSamples = 10240 * 2;
    const EncodeResult threaded = EncodeAll(MakeCutEncoderConfig(44100, 2), pcm, chunkSamples / 2);
    ASSERT_TRUE(threaded.ok);

    BE_ERR error = BE_ERR_SUCCESSFUL;
    const auto stream = encmp3::EncoderStream::Create(MakeCutEncoderConfig(44100, 2), error,
                                                      encmp3::EncoderThreading::CallerThread);
    ASSERT_TRUE(stream) << error;
    std::vector<uint8_t> synchronous;
    std::vector<BYTE> out(kLargestChunkOutput);
    DWORD produced = 0;
    for (size_t at = 0; at < pcm.size(); at += chunkSamples) {
        const auto n = static_cast<DWORD>(std::min(chunkSamples, pcm.size() - at));
        ASSERT_EQ(stream->Encode(n, &pcm[at], out.data(), &produced), BE_ERR_SUCCESSFUL);
        synchronous.insert(synchronous.end(), out.begin(), out.begin() + produced);
    }
    do {
        ASSERT_EQ(stream->Deinit(out.data(), &produced), BE_ERR_SUCCESSFUL);
        synchronous.insert(synchronous.end(), out.begin(), out.begin() + produced);
    } while (produced > 0);
    EXPECT_EQ(threaded.mp3, synchronous);
}
