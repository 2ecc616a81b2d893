// A range encoded as segments on several streams, against one stream: decoded, each
// 1152-sample frame's error against the source may be no more than 0.5 dB worse near a
// join, and both decode to the same length and alignment.
#include "AudioMatch.h"
#include "CMp3enc.h"
#include "CutSegments.h"
#include "Mp3Check.h"
#include "Mp3Gen.h"
#include "Mp3SegmentEncoder.h"
#include "TempDir.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

constexpr int kRate = 44100;
constexpr long kEncoderLead = 576 + 529; // LAME's delay and the decoder's
constexpr int64_t kBlockFrames = 5120;
constexpr size_t kMp3Frame = 1152;

std::vector<uint8_t> Encode(const EncoderEntryPoints& library, const BE_CONFIG& config,
                            const std::vector<int16_t>& pcm, const CutSegment& s) {
    std::vector<uint8_t> frames;
    Mp3SegmentEncoder stream(library, config, s.skipFrames, s.keepFrames, frames);
    for (int64_t at = s.readFrom; at < s.readTo; at += kBlockFrames) {
        const int64_t count = std::min(kBlockFrames, s.readTo - at);
        EXPECT_TRUE(stream.Encode(reinterpret_cast<const uint8_t*>(pcm.data() + 2 * at),
                                  static_cast<uint32_t>(count * 4)));
    }
    EXPECT_TRUE(stream.Finish());
    return frames;
}

// Signal-to-error ratio in dB of each frame of the decoded output against the source.
std::vector<double> FrameSnr(const std::vector<int16_t>& source, const DecodedAudio& decoded) {
    std::vector<double> snr;
    const size_t frame = 2 * kMp3Frame;
    for (size_t at = 0; at + frame <= source.size(); at += frame) {
        double signal = 1e-9;
        double error = 1e-9;
        for (size_t i = at; i < at + frame; ++i) {
            const double s = source[i];
            signal += s * s;
            const double e = decoded.pcm[i + 2 * kEncoderLead] - s;
            error += e * e;
        }
        snr.push_back(10.0 * std::log10(signal / error));
    }
    return snr;
}

class SegmentJoin : public testing::TestWithParam<bool> {};

TEST_P(SegmentJoin, JoinsAreAsGoodAsOneStream) {
    mp3gen::ToneSpec params;
    params.seconds = 12;
    params.melody = !GetParam();
    params.noise = GetParam();
    const std::vector<int16_t> pcm = mp3gen::SynthesizePcm(params);
    const auto frames = static_cast<int64_t>(pcm.size() / 2);
    TempDir dir;
    bool ok = false;
    CMp3enc output(dir.File("config.mp3"), kRate, 2);
    ok = output.Opened();
    ASSERT_TRUE(ok);
    const auto plan = PlanCutSegments(
        frames, SegmentGrid{kBlockFrames, kMp3Frame, PaddingPeriodFrames(kRate)}, 0, frames / 4);
    ASSERT_EQ(plan.size(), 4u);
    std::vector<uint8_t> joined;
    for (const CutSegment& s : plan) {
        const auto part = Encode(output.GetLibrary(), output.GetConfig(), pcm, s);
        joined.insert(joined.end(), part.begin(), part.end());
    }
    const auto whole = Encode(output.GetLibrary(), output.GetConfig(), pcm,
                              CutSegment{0, 0, frames, frames, 0, Mp3SegmentEncoder::kKeepAll});
    mp3gen::WriteFileBytes(dir.File("joined.mp3"), joined);
    mp3gen::WriteFileBytes(dir.File("whole.mp3"), whole);
    const DecodedAudio a = DecodeMp3File(dir.File("joined.mp3"));
    const DecodedAudio b = DecodeMp3File(dir.File("whole.mp3"));
    ASSERT_TRUE(a.ok && b.ok);
    ASSERT_EQ(a.Frames(), b.Frames());
    ASSERT_GE(a.Frames(), static_cast<size_t>(frames + kEncoderLead));
    const auto source = Channel(pcm, 2, 0);
    const std::vector<double> head(source.begin(), source.begin() + kRate);
    EXPECT_EQ(BestMatch(Channel(a.pcm, 2, 0), head, 0, 2 * kEncoderLead).lag, kEncoderLead);
    EXPECT_EQ(BestMatch(Channel(b.pcm, 2, 0), head, 0, 2 * kEncoderLead).lag, kEncoderLead);
    const auto joinedSnr = FrameSnr(pcm, a);
    const auto wholeSnr = FrameSnr(pcm, b);
    for (size_t i = 1; i < plan.size(); ++i) {
        const auto join = static_cast<size_t>(plan[i].keepFrom / kMp3Frame);
        for (size_t k = join - 3; k <= join + 3 && k < wholeSnr.size(); ++k) {
            EXPECT_GE(joinedSnr[k], wholeSnr[k] - 0.5) << "frame " << k << " at join " << join;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Sources, SegmentJoin, testing::Values(false, true),
                         [](const auto& source) { return source.param ? "Noise" : "Melody"; });

} // namespace
