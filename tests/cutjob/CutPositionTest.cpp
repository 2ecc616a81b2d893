// Cuts begin at the start mark and end at the end mark, to the sample, on the MP3 files
// people have: tags of every size around the audio, CBR, VBR and ABR, with and without an
// information frame, and every MPEG version. The marks are on the preview's (libmpg123's
// gapless) timeline; time-coded noise shows where each piece of a cut came from.
#include "AudioMatch.h"
#include "CutFixture.h"

#include <cmath>
#include <gtest/gtest.h>
#include <random>

namespace {

using Bytes = std::vector<uint8_t>;

// Our encoder's output has no Info frame: its audio starts behind LAME's 576 samples of
// delay and the decoder's 529.
constexpr long kEncoderLead = 576 + 529;
constexpr double kSourceSeconds = 20.0;

struct Shape {
    const char* name;
    int rate = 44100;
    int channels = 2;
    int kbps = 192;
    bool vbr = false;
    bool abr = false;
    bool infoTag = false;
    uint32_t coverBytes = 0; // an ID3v2 tag holding a picture of this size
    bool noXingFrame = false;
    bool endTags = false; // APEv2 and ID3v1 behind the audio
};

const Shape kShapes[] = {
    {"Plain"},
    {"Cover300K", 44100, 2, 192, false, false, false, 300000},
    {"Cover3M", 44100, 2, 192, false, false, false, 3000000},
    {"LameInfoCbr", 44100, 2, 192, false, false, true},
    {"XingVbr", 44100, 2, 0, true},
    {"VbrWithoutHeader", 44100, 2, 0, true, false, false, 0, true},
    {"Abr", 44100, 2, 160, false, true},
    {"Id3v1AndApe", 44100, 2, 192, false, false, true, 0, false, true},
    {"Rate48k", 48000, 2, 192},
    {"Mpeg2Mono", 22050, 1, 64, false, false, true},
    {"Mpeg25Mono", 8000, 1, 16, false, false, true},
};

Bytes CoverTag(uint32_t pictureBytes) {
    Bytes tag = mp3gen::MakeId3v2Tag(pictureBytes);
    // Picture data is full of bytes that look like frame syncs.
    std::mt19937 gen(pictureBytes);
    std::generate(tag.begin() + 10, tag.end(), [&gen] { return static_cast<uint8_t>(gen()); });
    return tag;
}

Bytes EndTags() {
    const std::string item = "Artist";
    const std::string value = "Someone";
    Bytes ape;
    const auto le32 = [&ape](uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            ape.push_back(static_cast<uint8_t>(v >> (8 * i)));
        }
    };
    const auto block = [&](uint32_t flags) {
        ape.insert(ape.end(), {'A', 'P', 'E', 'T', 'A', 'G', 'E', 'X'});
        le32(2000);
        le32(static_cast<uint32_t>(8 + item.size() + 1 + value.size() + 32));
        le32(1);
        le32(flags);
        ape.insert(ape.end(), 8, 0);
    };
    block(0xA0000000); // header
    le32(static_cast<uint32_t>(value.size()));
    le32(0);
    ape.insert(ape.end(), item.begin(), item.end());
    ape.push_back(0);
    ape.insert(ape.end(), value.begin(), value.end());
    block(0x80000000); // footer
    Bytes id3v1(128, 0);
    std::copy_n("TAGTitle", 8, id3v1.begin());
    ape.insert(ape.end(), id3v1.begin(), id3v1.end());
    return ape;
}

Bytes MakeShape(const Shape& s) {
    mp3gen::ToneSpec params;
    params.sampleRate = s.rate;
    params.channels = s.channels;
    params.seconds = kSourceSeconds;
    params.noise = true;
    params.vbr = s.vbr;
    params.abr = s.abr;
    params.infoTag = s.infoTag;
    params.bitrateKbps = s.kbps;
    Bytes audio = mp3gen::MakeMp3(params);
    if (s.noXingFrame) {
        audio.erase(audio.begin(),
                    audio.begin() + static_cast<long>(WalkFrames(audio).frames[0].length));
    }
    Bytes file = s.coverBytes ? CoverTag(s.coverBytes) : Bytes{};
    file.insert(file.end(), audio.begin(), audio.end());
    if (s.endTags) {
        const Bytes tags = EndTags();
        file.insert(file.end(), tags.begin(), tags.end());
    }
    return file;
}

double Rms(const std::vector<double>& x, long from, long to) {
    double sum = 0;
    for (long i = std::max(0L, from); i < std::min(to, static_cast<long>(x.size())); ++i) {
        sum += x[static_cast<size_t>(i)] * x[static_cast<size_t>(i)];
    }
    return std::sqrt(sum / static_cast<double>(std::max(1L, to - from)));
}

// The last sample of the cut's audio: where a 0.5 ms RMS last reaches a tenth of the level
// just before the expected end.
long ContentEnd(const std::vector<double>& cut, long expectedEnd, int rate) {
    const long half = std::max(2L, rate / 4000L);
    const double level = Rms(cut, expectedEnd - rate / 20, expectedEnd - rate / 200);
    long last = expectedEnd - rate / 200;
    for (long i = last; i < std::min<long>(expectedEnd + rate / 20, static_cast<long>(cut.size()));
         ++i) {
        if (Rms(cut, i - half, i + half) > 0.1 * level) {
            last = i;
        }
    }
    return last - half; // the window reaches half its width past the audio
}

enum class Range { NearStart, Middle, EndingBeforeTheEnd };

class CutPosition : public testing::TestWithParam<std::tuple<size_t, Range>> {};

TEST_P(CutPosition, BeginsAndEndsOnTheMarks) {
    const Shape& shape = kShapes[std::get<0>(GetParam())];
    CutFixture fx;
    const std::string source = fx.dir.File("source.mp3");
    ASSERT_TRUE(mp3gen::WriteFileBytes(source, MakeShape(shape)));
    const DecodedAudio preview = DecodeMp3File(source); // the player's timeline
    ASSERT_TRUE(preview.ok);
    const int rate = preview.sampleRate;

    // Marks in ms, as the window passes them; 20 s of audio and more.
    const int lengthMs = static_cast<int>(preview.Frames() * 1000 / static_cast<size_t>(rate));
    const auto [startMs, endMs] = std::get<1>(GetParam()) == Range::NearStart ? std::pair{317, 3400}
                                  : std::get<1>(GetParam()) == Range::Middle
                                      ? std::pair{9123, 12500}
                                      : std::pair{lengthMs - 5000, lengthMs - 2000};
    EXPECT_NEAR(SourceInfo(source).durationMs, lengthMs, 1) << "the reader's duration";
    const DecodedAudio cut = fx.Cut(source, fx.dir.File("cut.mp3"), CutRequest{startMs, endMs});
    ASSERT_TRUE(cut.ok);

    const std::vector<double> src = Channel(preview.pcm, preview.channels, 0);
    const std::vector<double> out = Channel(cut.pcm, cut.channels, 0);
    const long startSample = std::lround(startMs * rate / 1000.0);
    const long samples = std::lround(endMs * rate / 1000.0) - startSample;
    const long second = rate;
    // The first and the last second of the cut, found in the source near where they belong.
    const long slack = rate / 100;
    const std::vector<double> head(out.begin() + kEncoderLead, out.begin() + kEncoderLead + second);
    const Match first = BestMatch(src, head, startSample - slack, startSample + slack);
    const long tailAt = kEncoderLead + samples - second;
    const std::vector<double> tail(out.begin() + tailAt, out.begin() + tailAt + second);
    const Match last = BestMatch(src, tail, startSample + samples - second - slack,
                                 startSample + samples - second + slack);
    const long end = ContentEnd(out, kEncoderLead + samples, rate) + 1 - kEncoderLead;

    const double beginError = (first.lag - startSample) * 1000.0 / rate;
    const double endError = (end - samples) * 1000.0 / rate;
    RecordProperty("begin_error_ms", std::to_string(beginError));
    RecordProperty("end_error_ms", std::to_string(endError));
    EXPECT_GT(first.correlation, 0.9);
    EXPECT_GT(last.correlation, 0.9);
    EXPECT_LE(std::abs(beginError), 1.0);
    // Nothing lost or repeated in between: the last second lies as far on as the first.
    EXPECT_EQ(last.lag - first.lag, samples - second);
    EXPECT_LE(std::abs(endError), 1.0);
}

std::string CaseName(const testing::TestParamInfo<CutPosition::ParamType>& info) {
    static const char* const kRanges[] = {"NearStart", "Middle", "EndingBeforeTheEnd"};
    return std::string(kShapes[std::get<0>(info.param)].name) + "_" +
           kRanges[static_cast<int>(std::get<1>(info.param))];
}

INSTANTIATE_TEST_SUITE_P(Shapes, CutPosition,
                         testing::Combine(testing::Range<size_t>(0, std::size(kShapes)),
                                          testing::Values(Range::NearStart, Range::Middle,
                                                          Range::EndingBeforeTheEnd)),
                         CaseName);

} // namespace
