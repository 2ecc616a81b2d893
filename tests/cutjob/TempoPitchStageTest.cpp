#include "CTempoPitchStage.h"

#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace {

std::vector<int16_t> Tone(int frames, int channels, double hz, int rate) {
    std::vector<int16_t> pcm(static_cast<size_t>(frames * channels));
    for (int i = 0; i < frames; ++i) {
        const auto v = static_cast<int16_t>(10000 * std::sin(2 * M_PI * hz * i / rate));
        for (int c = 0; c < channels; ++c) {
            pcm[static_cast<size_t>(i * channels + c)] = v;
        }
    }
    return pcm;
}

// Runs a stream of 10240-sample blocks (one reader block) through the stage and flushes.
size_t ProcessedSamples(CTempoPitchStage& stage, const std::vector<int16_t>& in) {
    std::vector<int16_t> out(1048576 / 2);
    size_t total = 0;
    for (size_t at = 0; at < in.size(); at += 10240) {
        const int count = static_cast<int>(std::min<size_t>(10240, in.size() - at));
        total += static_cast<size_t>(stage.Process(out.data(), in.data() + at, count)) / 2;
    }
    total += static_cast<size_t>(stage.Flush(out.data(), static_cast<int>(out.size()))) / 2;
    return total;
}

} // namespace

TEST(TempoPitchStage, InactiveUntilAChangeIsSet) {
    CTempoPitchStage stage;
    EXPECT_FALSE(stage.IsActive());
    stage.SetPitch(0.9f);
    EXPECT_TRUE(stage.IsActive());
    stage.SetPitch(1.0f);
    EXPECT_TRUE(stage.SetTempoChange(5.0f));
    EXPECT_TRUE(stage.IsActive());
}

TEST(TempoPitchStage, TempoAndPitchLimitsKeepThePreviousChange) {
    CTempoPitchStage stage;
    EXPECT_TRUE(stage.SetPitch(2.0f));
    for (const float bad : {0.0f, -1.0f, 1e-9f, 0.49f, 2.01f, 1e4f, std::nanf("")}) {
        EXPECT_FALSE(stage.SetPitch(bad)) << bad;
    }
    EXPECT_FLOAT_EQ(stage.GetPitch(), 2.0f);
    EXPECT_TRUE(stage.SetPitch(0.5f));
    EXPECT_TRUE(stage.SetTempoChange(100.0f));
    EXPECT_FALSE(stage.SetTempoChange(-50.1f));
    EXPECT_FALSE(stage.SetTempoChange(900.5f));
    EXPECT_FLOAT_EQ(stage.GetTempoChange(), 100.0f);
    EXPECT_TRUE(stage.SetTempoChange(-50.0f));
    EXPECT_TRUE(stage.SetTempoChange(900.0f));
    EXPECT_FALSE(stage.SetTempoChange(std::nanf("")));
    EXPECT_FLOAT_EQ(stage.GetTempoChange(), 900.0f);
}

TEST(TempoPitchStage, DoubleSpeedHalvesAndHalfSpeedDoublesTheSamples) {
    const auto in = Tone(44100 * 4, 2, 440, 44100);
    CTempoPitchStage fast;
    fast.Configure(44100, 2);
    fast.SetTempoChange(100.0f);
    EXPECT_NEAR(static_cast<double>(ProcessedSamples(fast, in)) / in.size(), 0.5, 0.03);

    CTempoPitchStage slow;
    slow.Configure(44100, 2);
    slow.SetTempoChange(-50.0f);
    EXPECT_NEAR(static_cast<double>(ProcessedSamples(slow, in)) / in.size(), 2.0, 0.06);
}

TEST(TempoPitchStage, MonoCountsSamplesPerChannel) {
    const auto in = Tone(22050 * 4, 1, 440, 22050);
    CTempoPitchStage stage;
    stage.Configure(22050, 1);
    stage.SetTempoChange(25.0f);
    EXPECT_NEAR(static_cast<double>(ProcessedSamples(stage, in)) / in.size(), 0.8, 0.03);
}

TEST(TempoPitchStage, ClearForgetsWhatAnEarlierStreamLeftBehind) {
    const auto in = Tone(44100, 2, 1000, 44100);
    CTempoPitchStage stage;
    stage.Configure(44100, 2);
    stage.SetPitch(0.9f);
    std::vector<int16_t> out(1048576 / 2);
    stage.Process(out.data(), in.data(), 10240);
    stage.Clear();
    // After clearing, silence in gives silence out: nothing of the tone is left.
    const std::vector<int16_t> silence(10240 * 8, 0);
    int16_t loudest = 0;
    for (size_t at = 0; at < silence.size(); at += 10240) {
        const int bytes = stage.Process(out.data(), silence.data() + at, 10240);
        for (int i = 0; i < bytes / 2; ++i) {
            loudest = std::max<int16_t>(
                loudest, static_cast<int16_t>(std::abs(out[static_cast<size_t>(i)])));
        }
    }
    EXPECT_EQ(loudest, 0);
}

TEST(TempoPitchStage, UnconfiguredStageRaisesAnErrorTheWorkerCanCatch) {
    CTempoPitchStage stage;
    stage.SetPitch(0.9f);
    const std::vector<int16_t> in(2048, 100);
    std::vector<int16_t> out(1048576 / 2);
    bool raised = false;
    try {
        stage.Process(out.data(), in.data(), static_cast<int>(in.size()));
    } catch (...) {
        raised = true;
    }
    // SoundTouch refuses samples before its rate and channels are set.
    EXPECT_TRUE(raised);
}
