#include "Fade.h"
#include "Gain.h"

#include <gtest/gtest.h>
#include <vector>

TEST(ApplyGain, TruncatesTowardZeroAndLimitsToTheSymmetricRange) {
    const struct {
        std::vector<int16_t> in;
        float gain;
        std::vector<int16_t> out;
    } rows[] = {
        {{32767, -32768, 0, 1234, -1234}, 1.0f, {32767, -32767, 0, 1234, -1234}},
        {{3, -3, 1000, -1000, 32767}, 0.5f, {1, -1, 500, -500, 16383}},
        {{1000, -1000}, -0.05f, {-50, 50}},
        {{20000, -20000, 7}, 2.0f, {32767, -32767, 14}},
    };
    for (const auto& row : rows) {
        auto pcm = row.in;
        ApplyGain(pcm.data(), pcm.size(), row.gain);
        EXPECT_EQ(pcm, row.out) << row.gain;
    }
}

TEST(FadeGain, RampsInsideTheWindowAndLeavesTheRestAlone) {
    const struct {
        bool out;
        int enabled, startMs, endOrLengthMs;
        int64_t t;
        std::optional<float> gain;
    } rows[] = {
        // Blocks of about 116 ms: the gain is the block's end time over the length.
        {false, 1, 0, 5000, 116, 116.0f / 5000.0f},
        {false, 1, 0, 5000, 2500, 0.5f},
        {false, 1, 0, 5000, 5000, 1.0f},
        {false, 1, 0, 5000, 5001, {}},
        {false, 1, 0, 5000, -1, {}},
        {false, 1, 2000, 1000, 2250, 0.25f},
        {false, 0, 0, 5000, 100, {}},
        {false, 1, 0, 100, 50, {}}, // 100 ms or shorter is no fade
        {false, 1, 0, 101, 50, 50.0f / 101.0f},
        {true, 1, 30000, 30000, 30000, {}},
        {true, 1, 9000, 10000, 8999, {}},
        {true, 1, 9000, 10000, 9000, 1.0f},
        {true, 1, 9000, 10000, 9500, 0.5f},
        {true, 1, 9000, 10000, 10000, 0.0f},
        {true, 1, 9000, 10000, 10050, 0.0f},
        // The window test adds both offsets: up to start + end the ramp's end still applies.
        {true, 1, 9000, 10000, 19000, 0.0f},
        {true, 1, 9000, 10000, 19001, {}},
        {true, 0, 9000, 10000, 9500, {}},
    };
    for (const auto& row : rows) {
        const auto gain = row.out
                              ? FadeOutGain({row.enabled, row.startMs, row.endOrLengthMs}, row.t)
                              : FadeInGain({row.enabled, row.startMs, row.endOrLengthMs}, row.t);
        ASSERT_EQ(gain.has_value(), row.gain.has_value()) << row.out << " at " << row.t;
        if (gain) {
            EXPECT_FLOAT_EQ(*gain, *row.gain) << row.out << " at " << row.t;
        }
    }
}
