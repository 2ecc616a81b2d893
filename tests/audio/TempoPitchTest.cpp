#include "TempoPitch.h"
#include "FactorRange.h"

#include <algorithm>
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

// Everything received into room for roomFrames at a time, until nothing more comes.
void ReceiveAll(CTempoPitch& stage, int channels, size_t roomFrames, std::vector<int16_t>& all) {
    std::vector<int16_t> room(roomFrames * static_cast<size_t>(channels));
    while (const size_t frames = stage.Receive(room.data(), roomFrames)) {
        all.insert(all.end(), room.begin(),
                   room.begin() + static_cast<ptrdiff_t>(frames * channels));
    }
}

// Puts in in blocks of 5120 frames (a reader block), then flushes.
std::vector<int16_t> Stretched(CTempoPitch& stage, const std::vector<int16_t>& in, int channels,
                               size_t roomFrames) {
    std::vector<int16_t> all;
    const size_t frames = in.size() / static_cast<size_t>(channels);
    for (size_t at = 0; at < frames; at += 5120) {
        stage.Put(in.data() + at * channels, std::min<size_t>(5120, frames - at));
        ReceiveAll(stage, channels, roomFrames, all);
    }
    stage.Flush();
    ReceiveAll(stage, channels, roomFrames, all);
    return all;
}

} // namespace

TEST(TempoPitch, StretchesByTheTempoWhateverRoomTheCallerGives) {
    const struct {
        int rate, channels;
        float tempoChange, pitch;
        double ratio, tolerance;
    } rows[] = {
        {44100, 2, 100.0f, 1.0f, 0.5, 0.03},
        {44100, 2, -50.0f, 1.0f, 2.0, 0.06},
        {22050, 1, 25.0f, 1.0f, 0.8, 0.03},
        {48000, 2, 0.0f, 1.5f, 1.0, 0.03},
    };
    for (const auto& row : rows) {
        const auto in = Tone(row.rate * 4, row.channels, 440, row.rate);
        std::vector<int16_t> outputs[2];
        for (const size_t room : {size_t{100000}, size_t{37}}) {
            CTempoPitch stage;
            stage.Configure(row.rate, row.channels);
            ASSERT_TRUE(stage.SetTempoChange(row.tempoChange));
            ASSERT_TRUE(stage.SetPitch(row.pitch));
            outputs[room == 37] = Stretched(stage, in, row.channels, room);
        }
        EXPECT_NEAR(static_cast<double>(outputs[0].size()) / in.size(), row.ratio, row.tolerance)
            << row.tempoChange << "% " << row.pitch;
        EXPECT_EQ(outputs[0], outputs[1]) << row.tempoChange << "% " << row.pitch;
    }
}

TEST(TempoPitch, ChangesOutsideTheirLimitsKeepThePreviousOne) {
    const struct {
        bool pitch;
        float value;
        bool accepted;
    } rows[] = {
        {true, kMinFactor, true}, {true, kMaxFactor, true},      {true, 0.0f, false},
        {true, -1.0f, false},     {true, 1e-9f, false},          {true, 0.49f, false},
        {true, 2.01f, false},     {true, 1e4f, false},           {true, std::nanf(""), false},
        {false, -50.0f, true},    {false, 900.0f, true},         {false, -50.1f, false},
        {false, 900.5f, false},   {false, std::nanf(""), false},
    };
    for (const auto& row : rows) {
        CTempoPitch stage;
        stage.SetPitch(1.25f);
        stage.SetTempoChange(10.0f);
        EXPECT_EQ(row.pitch ? stage.SetPitch(row.value) : stage.SetTempoChange(row.value),
                  row.accepted)
            << row.value;
        const float previous = row.pitch ? 1.25f : 10.0f;
        EXPECT_FLOAT_EQ(row.pitch ? stage.GetPitch() : stage.GetTempoChange(),
                        row.accepted ? row.value : previous)
            << row.value;
    }
}

TEST(TempoPitch, InactiveOnlyAtUnitPitchAndNoTempoChange) {
    CTempoPitch stage;
    EXPECT_FALSE(stage.IsActive());
    stage.SetPitch(0.9f);
    EXPECT_TRUE(stage.IsActive());
    stage.SetPitch(1.0f);
    EXPECT_FALSE(stage.IsActive());
    stage.SetTempoChange(5.0f);
    EXPECT_TRUE(stage.IsActive());
}

TEST(TempoPitch, ClearForgetsWhatAnEarlierStreamLeftBehind) {
    const auto in = Tone(44100, 2, 1000, 44100);
    CTempoPitch stage;
    stage.Configure(44100, 2);
    stage.SetPitch(0.9f);
    stage.Put(in.data(), 5120);
    stage.Clear();
    // After clearing, silence in gives silence out: nothing of the tone is left.
    const std::vector<int16_t> silence(5120 * 2 * 8, 0);
    const auto out = Stretched(stage, silence, 2, 4096);
    EXPECT_FALSE(out.empty());
    EXPECT_TRUE(std::all_of(out.begin(), out.end(), [](int16_t v) { return v == 0; }));
}
