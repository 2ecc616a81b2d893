// Every hostile file through the reader, the cut job, tesmira-cut and the player: a clear
// refusal or a sensible decode, in bounded time, and the file itself left as it was.
#include "CClipJob.h"
#include "CMp3File.h"
#include "HostileFiles.h"
#include "HostileSupport.h"
#include "Mp3Check.h"
#include "Mp3Decoder.h"
#include "Mp3Gen.h"
#include "TempDir.h"
#include "Watchdog.h"

#include <climits>
#include <cmath>
#include <gtest/gtest.h>
#include <thread>

using namespace std::chrono_literals;

namespace {

constexpr int kRates[] = {8000, 11025, 12000, 16000, 22050, 24000, 32000, 44100, 48000};

bool IsMpegRate(int rate) {
    return std::find(std::begin(kRates), std::end(kRates), rate) != std::end(kRates);
}

class Hostile : public testing::TestWithParam<size_t> {
protected:
    void SetUp() override {
        path = dir.File("input.mp3");
        ASSERT_TRUE(mp3gen::WriteFileBytes(path, File().bytes) || File().bytes.empty());
        if (File().bytes.empty()) {
            mp3gen::WriteFileBytes(path, {});
        }
        checksum = FileChecksum(path);
    }
    void TearDown() override { EXPECT_EQ(FileChecksum(path), checksum) << "the input changed"; }

    const HostileFile& File() const { return HostileFiles()[GetParam()]; }
    std::string Name(const char* part) const { return File().name + " " + part; }
    // Only the input itself is left in the folder: no output, no temporary file.
    void ExpectNothingBesideTheInput() const {
        EXPECT_EQ(FolderEntries(dir.Path().string()), std::vector<std::string>{"input.mp3"});
    }

    TempDir dir;
    std::string path;
    uint64_t checksum = 0;
};

// Reads to the end; the bytes delivered, or -1 when the reads do not end.
long ReadAll(CMp3File& reader, bool stereo, std::vector<int16_t>* pcm = nullptr) {
    std::vector<uint8_t> block(kInputBlockBytes);
    long total = 0;
    for (int reads = 0; reads < 1000000; ++reads) {
        uint32_t bytes = kInputBlockBytes;
        const int more = reader.Read(block.data(), bytes);
        EXPECT_EQ(bytes % (stereo ? 4 : 2), 0u);
        total += bytes;
        if (pcm) {
            const auto* samples = reinterpret_cast<const int16_t*>(block.data());
            pcm->insert(pcm->end(), samples, samples + bytes / 2);
        }
        if (!more || bytes == 0) {
            return total;
        }
    }
    return -1;
}

// What the preview library's decoder delivers, and what the reader delivers.
DecodedAudio PreviewPcm(const std::string& path) {
    DecodedAudio audio;
    CMp3Decoder decoder;
    if (!decoder.Open(path)) {
        return audio;
    }
    audio.ok = true;
    audio.sampleRate = decoder.SampleRate();
    audio.channels = decoder.Channels();
    std::vector<int16_t> block(4096 * 2);
    while (const size_t frames = decoder.Read(block.data(), 4096)) {
        audio.pcm.insert(audio.pcm.end(), block.begin(),
                         block.begin() + static_cast<long>(frames) * audio.channels);
    }
    return audio;
}

// Signal to difference in dB, sample by sample: libmad and libmpg123 differ by their rounding.
double Agreement(const DecodedAudio& a, const DecodedAudio& b) {
    double signal = 0;
    double difference = 0;
    const size_t n = std::min(a.pcm.size(), b.pcm.size());
    for (size_t i = 0; i < n; ++i) {
        const double x = a.pcm[i];
        const double y = b.pcm[i];
        signal += x * x;
        difference += (x - y) * (x - y);
    }
    return difference > 0 ? 10 * std::log10(signal / difference) : 99;
}

TEST_P(Hostile, Reader) {
    Watchdog watchdog(Name("reader"), 60s);
    CMp3File reader;
    const bool open = reader.Open(path.c_str()) != 0;
    if (File().outcome != Outcome::Either) {
        EXPECT_EQ(open, File().outcome == Outcome::Plays);
    }
    if (!open) {
        uint32_t bytes = 4096;
        std::vector<uint8_t> block(bytes);
        EXPECT_EQ(reader.Read(block.data(), bytes), 0);
        EXPECT_EQ(bytes, 0u);
        return;
    }
    AudioInfo info;
    reader.GetInfo(info);
    EXPECT_TRUE(IsMpegRate(info.sampleRate)) << info.sampleRate;
    EXPECT_GE(info.durationMs, 0);
    const long bytes = ReadAll(reader, info.stereo != 0);
    EXPECT_GE(bytes, 0) << "the reads never end";
    if (File().outcome == Outcome::Plays) {
        EXPECT_GT(bytes, 0);
    }
    reader.GetInfo(info);
    reader.SeekTo(info.durationMs / 2, info.durationMs);
    EXPECT_GE(ReadAll(reader, info.stereo != 0), 0);
}

// A whole cut and a cut from the middle, as the window makes them.
TEST_P(Hostile, CutJob) {
    Watchdog watchdog(Name("cut job"), 120s);
    CClipJob job;
    const std::string out = dir.File("cut.mp3");
    for (const bool whole : {true, false}) {
        CMp3File reader;
        const bool open = reader.Open(path.c_str()) != 0;
        AudioInfo info;
        reader.GetInfo(info);
        reader.Close();
        if (File().outcome != Outcome::Either) {
            ASSERT_EQ(open, File().outcome == Outcome::Plays);
        }
        CutRequest request;
        request.source = path;
        request.output = out;
        request.startMs = whole ? 0 : info.durationMs / 2;
        request.endMs = whole ? INT_MAX : request.startMs + 1000;
        request.fadeIn = request.fadeOut = true;
        request.fadeInMs = 500;
        request.fadeOutMs = 1000;
        request.speed = whole ? 1.0 : 1.05;
        const CutResult prepared = job.Prepare(request);
        if (!open) {
            EXPECT_EQ(prepared.error, CutError::SourceUnreadable);
            EXPECT_EQ(job.GetState(), CutState::Idle);
            ExpectNothingBesideTheInput();
            return;
        }
        if (!prepared.Ok()) {
            EXPECT_NE(File().outcome, Outcome::Plays) << "a playable file refused its range";
            ExpectNothingBesideTheInput();
            continue;
        }
        job.Start();
        while (job.IsRunning()) {
            std::this_thread::sleep_for(2ms);
        }
        ASSERT_EQ(job.GetState(), CutState::Finished);
        // Whole frames back to back, then the tag; a range without one decodable frame gives
        // the tag alone, as an empty source does.
        EXPECT_TRUE(WalkFrames(mp3gen::ReadFileBytes(out)).clean);
        if (whole && File().outcome == Outcome::Plays) {
            const DecodedAudio audio = DecodeMp3File(out);
            EXPECT_TRUE(audio.ok);
            EXPECT_GT(audio.Frames(), 0u);
        }
        std::filesystem::remove(out);
    }
}

TEST_P(Hostile, Cutter) {
    const std::string out = dir.File("cut.mp3");
    const CutterRun run = RunCutter({path, "--whole", "-o", out}, 60);
    ASSERT_GE(run.exitCode, 0) << "crashed or hung: " << run.errors;
    if (File().outcome != Outcome::Either) {
        EXPECT_EQ(run.exitCode, File().outcome == Outcome::Plays ? 0 : 1) << run.errors;
    }
    if (run.exitCode == 0) {
        const DecodedAudio audio = DecodeMp3File(out);
        EXPECT_TRUE(audio.ok);
        // The whole song as the preview plays it: whole frames and the encoder's delay more.
        const DecodedAudio preview = PreviewPcm(path);
        if (preview.ok && File().sameLength) {
            EXPECT_NEAR(audio.Frames(), preview.Frames(), 3 * 1152);
        }
        std::filesystem::remove(out);
    } else {
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_NE(run.errors.find("tesmira-cut: "), std::string::npos) << run.errors;
        ExpectNothingBesideTheInput();
    }
}

TEST_P(Hostile, Player) {
    Watchdog watchdog(Name("player"), 60s);
    const PlayerTable& p = Player();
    ASSERT_NE(p.Open, nullptr);
    p.Close();
    const bool open = p.Open(path.c_str()) != 0;
    if (File().outcome != Outcome::Either) {
        EXPECT_EQ(open, File().outcome == Outcome::Plays);
    }
    if (!open) {
        EXPECT_EQ(p.IsOpend(), 0);
        EXPECT_EQ(p.Play(), 0);
        return;
    }
    const int len = p.GetLen();
    EXPECT_GE(len, 0);
    if (File().outcome == Outcome::Plays) {
        EXPECT_GT(len, 0);
    }
    EXPECT_TRUE(IsMpegRate(p.GetAudioSamplesPerSec())) << p.GetAudioSamplesPerSec();
    EXPECT_EQ(p.Play(), 1);
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(p.SetPos(len / 2), 1);
    std::this_thread::sleep_for(100ms);
    const int pos = p.GetPos();
    EXPECT_GE(pos, 0);
    EXPECT_LE(pos, len);
    EXPECT_EQ(p.Stop(), 1);
    EXPECT_EQ(p.GetPos(), 0);
    p.Close();
}

// The preview and the cut accept the same files, and give them the same length and audio.
TEST_P(Hostile, PreviewAndCutAgree) {
    Watchdog watchdog(Name("agreement"), 60s);
    const PlayerTable& p = Player();
    ASSERT_NE(p.Open, nullptr);
    p.Close();
    const bool played = p.Open(path.c_str()) != 0;
    CMp3File reader;
    ASSERT_EQ(reader.Open(path.c_str()) != 0, played);
    if (played && File().sameLength) {
        AudioInfo info;
        reader.GetInfo(info);
        EXPECT_NEAR(info.durationMs, p.GetLen(), 1152 * 1000 / info.sampleRate + 1);
        const DecodedAudio preview = PreviewPcm(path);
        DecodedAudio cut{true, info.sampleRate, info.stereo ? 2 : 1, {}};
        ReadAll(reader, info.stereo != 0, &cut.pcm);
        ASSERT_EQ(preview.channels, cut.channels);
        EXPECT_NEAR(preview.Frames(), cut.Frames(), 1152);
        if (File().sameAudio && Rms(preview, 0, preview.Seconds()) > 0.01) {
            EXPECT_GT(Agreement(preview, cut), 40.0);
        }
    }
    p.Close();
}

INSTANTIATE_TEST_SUITE_P(Files, Hostile, testing::Range<size_t>(0, HostileFiles().size()),
                         [](const testing::TestParamInfo<size_t>& param) {
                             return HostileFiles()[param.param].name;
                         });

} // namespace
