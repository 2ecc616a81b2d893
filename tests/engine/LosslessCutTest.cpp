// The lossless cut, decoded by libmpg123: exact to the sample where the gapless tag is
// honoured, and no louder than the source where it is ignored.
#include "LosslessCut.h"
#include "ReaderFixture.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

namespace {

using namespace readertest;

struct Shape {
    const char* name;
    mp3gen::ToneSpec params;
};

mp3gen::ToneSpec Noise(int rate, int channels, int kbps) {
    mp3gen::ToneSpec params = Tone(rate, channels, 4.0);
    params.noise = true;
    params.infoTag = true;
    params.bitrateKbps = kbps;
    return params;
}

template <typename Change> Shape Make(const char* name, mp3gen::ToneSpec params, Change change) {
    change(params);
    return {name, params};
}

const Shape kShapes[] = {
    {"cbr128", Noise(44100, 2, 128)},
    Make("cbr128_nores", Noise(44100, 2, 128), [](auto& p) { p.noReservoir = true; }),
    Make("vbr", Noise(44100, 2, 0), [](auto& p) { p.vbr = true; }),
    {"cbr192_48k", Noise(48000, 2, 192)},
    {"mpeg2_mono", Noise(22050, 1, 32)},
    Make("crc", Noise(44100, 2, 160), [](auto& p) { p.crc = true; }),
    Make("no_lame_tag", Noise(44100, 2, 128), [](auto& p) { p.infoTag = false; }),
};

enum class Where { FileStart, FileEnd, InsideFrames };

class LosslessCutTest : public ::testing::TestWithParam<std::tuple<Shape, Where>> {};

TEST_P(LosslessCutTest, GaplessDecodeIsTheSourceRange) {
    const auto& [shape, where] = GetParam();
    TempDir dir;
    const std::string source = WriteBytes(dir, "source.mp3", mp3gen::MakeMp3(shape.params));
    CMp3File reader;
    ASSERT_EQ(reader.Open(source.c_str()), 1);
    StreamLayout layout;
    ASSERT_TRUE(reader.GetLayout(layout));
    ASSERT_EQ(CheckLossless(layout), LosslessRefusal::None);
    const int64_t s = layout.index.samplesPerFrame;
    const int64_t rate = layout.index.sampleRate;
    const int64_t length = layout.lengthFrames;
    // Timeline positions 5 samples into a frame and 2 before a frame's end, as decoded.
    const auto intoFrame = [&](int64_t frame, int64_t off) {
        return frame * s + off - layout.timelineStart;
    };
    int64_t a = 0;
    int64_t b = rate;
    if (where == Where::FileEnd) {
        a = length - rate * 13 / 10;
        b = length;
    } else if (where == Where::InsideFrames) {
        a = intoFrame(40, 5);
        b = intoFrame(90, s - 2);
    }
    // Without a gapless tag the timeline starts at the decoder's first sample, whose first
    // 529 a tag cannot reach: such a start is moved there.
    const int64_t expectedStart = std::max<int64_t>(a, 529 - layout.timelineStart);

    std::vector<uint8_t> cut;
    const int fd = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    const LosslessResult result = WriteLosslessCut(
        fd, layout, a, b,
        [&](const uint8_t* p, size_t n) {
            cut.insert(cut.end(), p, p + n);
            return true;
        },
        [](double) { return true; });
    ::close(fd);
    ASSERT_EQ(result, LosslessResult::Done);
    const std::string cutPath = WriteBytes(dir, "cut.mp3", cut);

    const DecodedAudio whole = DecodeMp3File(source);
    const DecodedAudio got = DecodeMp3File(cutPath);
    ASSERT_TRUE(whole.ok && got.ok);
    const int ch = whole.channels;
    const std::vector<int16_t> want(whole.pcm.begin() + expectedStart * ch,
                                    whole.pcm.begin() + b * ch);
    ASSERT_EQ(got.pcm.size(), want.size()) << shape.name;
    // libmpg123's synthesis rounds a mono or MPEG-2 stream by 1 now and then depending on
    // how many frames it decoded before (it does so when it seeks in the source, too).
    int worst = 0;
    size_t off = 0;
    for (size_t i = 0; i < want.size(); ++i) {
        const int d = std::abs(got.pcm[i] - want[i]);
        worst = std::max(worst, d);
        off += d != 0 ? 1 : 0;
    }
    const bool exact = shape.params.channels == 2 && shape.params.sampleRate >= 32000;
    EXPECT_LE(worst, exact ? 0 : 1) << shape.name;
    EXPECT_LE(off, want.size() / 1000) << shape.name;

    // A player that ignores the tag hears a lead of silence and the source from just before
    // the start: never louder than the source around the cut.
    const DecodedAudio plain = DecodeMp3File(cutPath, false);
    ASSERT_TRUE(plain.ok);
    const auto peak = [ch](const std::vector<int16_t>& pcm, int64_t from, int64_t to) {
        int loudest = 0;
        for (int64_t i = std::max<int64_t>(0, from) * ch;
             i < std::min<int64_t>(to * ch, static_cast<int64_t>(pcm.size())); ++i) {
            loudest = std::max(loudest, std::abs(static_cast<int>(pcm[static_cast<size_t>(i)])));
        }
        return loudest;
    };
    const int64_t lead = rate / 20;
    // The lead reaches back at most three frames and the priming before the start.
    EXPECT_LE(peak(plain.pcm, 0, lead),
              peak(whole.pcm, expectedStart - 3 * s - 1056, expectedStart + lead))
        << shape.name;
}

std::string CaseName(const ::testing::TestParamInfo<std::tuple<Shape, Where>>& param) {
    static const char* const kWhere[] = {"start", "end", "inside"};
    return std::string(std::get<0>(param.param).name) + "_" +
           kWhere[static_cast<int>(std::get<1>(param.param))];
}

INSTANTIATE_TEST_SUITE_P(Shapes, LosslessCutTest,
                         ::testing::Combine(::testing::ValuesIn(kShapes),
                                            ::testing::Values(Where::FileStart, Where::FileEnd,
                                                              Where::InsideFrames)),
                         CaseName);

} // namespace
