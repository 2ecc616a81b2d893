#include "Fades.h"

#include "CutFades.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

std::vector<uint8_t> Block(const std::vector<int16_t>& samples) {
    std::vector<uint8_t> bytes;
    for (int16_t s : samples) {
        const auto u = static_cast<uint16_t>(s);
        bytes.push_back(static_cast<uint8_t>(u & 0xFF));
        bytes.push_back(static_cast<uint8_t>(u >> 8));
    }
    return bytes;
}

std::vector<int16_t> Samples(const std::vector<uint8_t>& bytes) {
    std::vector<int16_t> samples;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        samples.push_back(
            static_cast<int16_t>(static_cast<uint16_t>(bytes[i] | (bytes[i + 1] << 8))));
    }
    return samples;
}

} // namespace

TEST(FadeIn, FiveSecondRampRisesBlockByBlockThenLeavesBlocksAlone) {
    const FadeInWindow fade{1, 0, 5000};
    // Blocks of about 116 ms: the gain is the block's end time over the length.
    EXPECT_FLOAT_EQ(*FadeInGain(fade, 116), 116.0f / 5000.0f);
    EXPECT_FLOAT_EQ(*FadeInGain(fade, 2500), 0.5f);
    EXPECT_FLOAT_EQ(*FadeInGain(fade, 5000), 1.0f);
    EXPECT_FALSE(FadeInGain(fade, 5001).has_value());
    EXPECT_FALSE(FadeInGain(fade, -1).has_value());
    float previous = 0.0f;
    for (int t = 116; t <= 5000; t += 116) {
        const float gain = *FadeInGain(fade, t);
        EXPECT_GT(gain, previous);
        previous = gain;
    }
}

TEST(FadeIn, OffOrHundredMillisecondsOrShorterIsNotApplied) {
    EXPECT_FALSE(FadeInGain({0, 0, 5000}, 100).has_value());
    EXPECT_FALSE(FadeInGain({1, 0, 100}, 50).has_value());
    EXPECT_TRUE(FadeInGain({1, 0, 101}, 50).has_value());
}

TEST(FadeOut, ZeroLengthWindowChangesNothing) {
    const FadeOutWindow fade{1, 30000, 30000};
    for (int t : {0, 29999, 30000, 30050, 60000}) {
        EXPECT_FALSE(FadeOutGain(fade, t).has_value()) << t;
    }
}

TEST(FadeOut, ReachesZeroAtItsEndAndStaysThere) {
    const FadeOutWindow fade{1, 9000, 10000};
    EXPECT_FLOAT_EQ(*FadeOutGain(fade, 9000), 1.0f);
    EXPECT_FLOAT_EQ(*FadeOutGain(fade, 9500), 0.5f);
    EXPECT_FLOAT_EQ(*FadeOutGain(fade, 10000), 0.0f);
    EXPECT_FLOAT_EQ(*FadeOutGain(fade, 10050), 0.0f);
    EXPECT_FALSE(FadeOutGain(fade, 8999).has_value());
    // The window test adds both offsets: up to start + end the ramp still applies.
    EXPECT_TRUE(FadeOutGain(fade, 19000).has_value());
    EXPECT_FALSE(FadeOutGain(fade, 19001).has_value());
}

TEST(ApplyGain, FullScaleStaysExceptMostNegativeWhichIsLimited) {
    auto block = Block({32767, -32768, 0, 1234, -1234});
    ApplyGain(block.data(), static_cast<int>(block.size()), 1.0f);
    EXPECT_EQ(Samples(block), (std::vector<int16_t>{32767, -32767, 0, 1234, -1234}));
}

TEST(ApplyGain, TruncatesTowardZeroAndHandlesNegativeGain) {
    auto block = Block({3, -3, 1000, -1000, 32767});
    ApplyGain(block.data(), static_cast<int>(block.size()), 0.5f);
    EXPECT_EQ(Samples(block), (std::vector<int16_t>{1, -1, 500, -500, 16383}));
    block = Block({1000, -1000});
    ApplyGain(block.data(), static_cast<int>(block.size()), -0.05f);
    EXPECT_EQ(Samples(block), (std::vector<int16_t>{-50, 50}));
}

TEST(ApplyGain, EmptyOrOddBlocksStayInBounds) {
    auto block = Block({1000, 1000});
    ApplyGain(block.data(), 0, 0.0f);
    ApplyGain(block.data(), -4, 0.0f);
    EXPECT_EQ(Samples(block), (std::vector<int16_t>{1000, 1000}));
    // Three bytes: one whole sample is scaled, the odd byte is left as it is.
    ApplyGain(block.data(), 3, 0.0f);
    EXPECT_EQ(block[0], 0);
    EXPECT_EQ(block[1], 0);
    EXPECT_EQ(block[2], 1000 & 0xFF);
}

TEST(CutFadesFit, FadesLongerThanTheCutAreShortenedToFitIt) {
    const struct {
        bool in;
        int inMs;
        bool out;
        int outMs;
        int lengthMs;
        CutFades expected;
    } rows[] = {
        {true, 3000, true, 2000, 10000, {1, 0, 3000, 1, 8000, 10000, false}},
        {true, 15000, false, 15000, 10000, {1, 0, 10000, 0, 0, 0, true}},
        {false, 0, true, 15000, 10000, {0, 0, 0, 1, 0, 10000, true}},
        {true, 15000, true, 15000, 10000, {1, 0, 5000, 1, 5000, 10000, true}},
        {true, 6000, true, 2000, 4000, {1, 0, 3000, 1, 3000, 4000, true}}, // in proportion
        {true, 5000, true, 5000, 10000, {1, 0, 5000, 1, 5000, 10000, false}},
        {true, 0, true, 0, 10000, {1, 0, 0, 1, 10000, 10000, false}},
        {true, 1000, true, 1000, 1, {1, 0, 0, 1, 0, 1, true}},
        {true,
         86400000,
         true,
         86400000,
         2147483647,
         {1, 0, 86400000, 1, 2061083647, 2147483647, false}},
    };
    for (const auto& row : rows) {
        const CutFades f = MakeCutFades(row.in, row.inMs, row.out, row.outMs, row.lengthMs);
        const CutFades& e = row.expected;
        EXPECT_EQ(std::vector<int>({f.inEnabled, f.inStartMs, f.inLengthMs, f.outEnabled,
                                    f.outStartMs, f.outEndMs, f.shortened}),
                  std::vector<int>({e.inEnabled, e.inStartMs, e.inLengthMs, e.outEnabled,
                                    e.outStartMs, e.outEndMs, e.shortened}))
            << row.inMs << "+" << row.outMs << " in " << row.lengthMs;
    }
}
