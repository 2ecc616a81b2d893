#include "Fades.h"

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
