// The worker with the real player library: its buckets are a direct decode's, a cancel stops it
// after the frame it reads, and a file started after another fills only its own track.
#include "WaveformWorker.h"
#include "DynamicLibrary.h"
#include "Mp3Check.h"
#include "TempDir.h"

#include <Mp3Gen.h>
#include <atomic>
#include <gtest/gtest.h>
#include <thread>

namespace {

PlayerApi LoadPlayer() {
    static CDynamicLibrary library;
    static bool loaded = library.Load(PLOVEX1_LIBRARY_PATH);
    EXPECT_TRUE(loaded);
    PlayerApi api;
#define WAVEFORM_TEST_ENTRY(name)                                                                  \
    api.name = reinterpret_cast<PlovexFn_##name>(library.Symbol(#name));
    PLOVEX1_EXPORTS(WAVEFORM_TEST_ENTRY)
#undef WAVEFORM_TEST_ENTRY
    return api;
}

std::string MakeSong(TempDir& dir, const char* name, double seconds, bool melody) {
    mp3gen::ToneSpec params;
    params.seconds = seconds;
    params.melody = melody;
    const std::string path = dir.File(name);
    EXPECT_TRUE(mp3gen::WriteFileBytes(path, mp3gen::MakeMp3(params)));
    return path;
}

std::vector<WaveBucket> DirectBuckets(const std::string& path) {
    const DecodedAudio decoded = DecodeMp3File(path);
    WaveBucketMaker maker({decoded.sampleRate, decoded.channels, 1152});
    std::vector<WaveBucket> out;
    maker.Add(decoded.pcm.data(), decoded.Frames(), out);
    maker.Finish(out);
    return out;
}

std::vector<WaveBucket> BucketsOf(const WaveformTrack& track) {
    std::vector<WaveBucket> out;
    track.Read([&](const WaveFormat&, std::span<const WaveBucket> b, int) {
        out.assign(b.begin(), b.end());
    });
    return out;
}

// Reads through the real decoder and counts them; after kCancelAt reads it cancels.
std::atomic<bool> gCancel{false};
std::atomic<int> gReads{0};
PlovexFn_DecoderRead gRealRead = nullptr;
constexpr int kCancelAt = 5;
int CountingRead(PlovexDecoder* decoder, int16_t* pcm, int frames) {
    if (++gReads == kCancelAt) {
        gCancel = true;
    }
    return gRealRead(decoder, pcm, frames);
}

} // namespace

TEST(WaveformWorker, BucketsEqualADirectDecodes) {
    TempDir dir;
    const std::string path = MakeSong(dir, "melody.mp3", 3.0, true);
    WaveformTrack track;
    std::atomic<bool> cancel{false};
    CWaveformWorker::Decode(LoadPlayer(), path, track, cancel);
    EXPECT_TRUE(track.Complete());
    EXPECT_EQ(BucketsOf(track), DirectBuckets(path));
}

TEST(WaveformWorker, CancelStopsAfterTheFrameBeingRead) {
    TempDir dir;
    const std::string path = MakeSong(dir, "tone.mp3", 3.0, false);
    PlayerApi api = LoadPlayer();
    gRealRead = api.DecoderRead;
    api.DecoderRead = &CountingRead;
    WaveformTrack track;
    CWaveformWorker::Decode(api, path, track, gCancel);
    EXPECT_EQ(gReads, kCancelAt);
    EXPECT_TRUE(track.Done());
    EXPECT_FALSE(track.Complete());
    EXPECT_LE(BucketsOf(track).size(), size_t{kCancelAt});
}

TEST(WaveformWorker, ASecondFileNeverReachesTheFirstFilesTrack) {
    TempDir dir;
    const std::string first = MakeSong(dir, "long.mp3", 20.0, false);
    const std::string second = MakeSong(dir, "melody.mp3", 3.0, true);
    auto firstTrack = std::make_shared<WaveformTrack>();
    auto secondTrack = std::make_shared<WaveformTrack>();
    {
        CWaveformWorker worker;
        const PlayerApi api = LoadPlayer();
        worker.Start(api, first, firstTrack);
        worker.Start(api, second, secondTrack);
        while (!secondTrack->Done() || !firstTrack->Done()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
    EXPECT_FALSE(firstTrack->Complete());
    const std::vector<WaveBucket> firstAll = DirectBuckets(first);
    const std::vector<WaveBucket> got = BucketsOf(*firstTrack);
    ASSERT_LT(got.size(), firstAll.size());
    EXPECT_TRUE(std::equal(got.begin(), got.end(), firstAll.begin()));
    EXPECT_EQ(BucketsOf(*secondTrack), DirectBuckets(second));
}
