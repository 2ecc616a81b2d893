#include "CutFixture.h"

#include <gtest/gtest.h>

namespace {

mp3gen::ToneSpec Tone(double seconds, double hz, double amplitude = 0.5) {
    mp3gen::ToneSpec params;
    params.seconds = seconds;
    params.frequencyHz = hz;
    params.amplitude = amplitude;
    return params;
}

constexpr double kBlockSec = 20480.0 / 4 / 44100;
constexpr double kCodecSec = 0.06;

} // namespace

TEST(TempoPitchCut, PitchChangesTheToneNotTheLength) {
    CutFixture f;
    const auto source = f.MakeSource("tone.mp3", Tone(12, 1000));
    CutRequest r{1000, 11000};
    r.pitch = 0.9f;
    const auto audio = f.Cut(source, f.dir.File("out.mp3"), r);
    ASSERT_TRUE(audio.ok);
    EXPECT_NEAR(EstimateFrequency(audio, 1.0, 9.0), 900.0, 9.0);
    EXPECT_NEAR(audio.Seconds(), 10.0, kBlockSec + kCodecSec);
}

TEST(TempoPitchCut, SpeedShortensTheCutByItsFactor) {
    CutFixture f;
    const auto source = f.MakeSource("tone.mp3", Tone(32, 440));
    for (double speed : {1.05, 2.0, 0.5}) {
        CutRequest r{1000, 31000};
        r.speed = speed;
        const auto audio = f.Cut(source, f.dir.File("out.mp3"), r);
        ASSERT_TRUE(audio.ok) << speed;
        EXPECT_NEAR(audio.Seconds(), 30.0 / speed, kBlockSec + kCodecSec) << speed;
        EXPECT_NEAR(EstimateFrequency(audio, 1.0, 10.0), 440.0, 4.4) << speed;
    }
}

TEST(TempoPitchCut, NothingOfOneCutReachesTheNext) {
    CutFixture f;
    const auto loud = f.MakeSource("loud.mp3", Tone(10, 1000, 0.8));
    const auto silent = f.MakeSource("silent.mp3", Tone(10, 1000, 0.0));
    CutRequest r{1000, 9000};
    r.speed = 1.05;
    r.pitch = 0.95f;
    // A finished cut drains the stage; a stopped one leaves audio inside it.
    ASSERT_TRUE(f.Cut(loud, f.dir.File("first.mp3"), r).ok);
    CutRequest paced = r;
    paced.throttleMs = 20;
    ASSERT_TRUE(f.Start(loud, f.dir.File("stopped.mp3"), paced));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    f.job.Stop();
    const auto second = f.Cut(silent, f.dir.File("second.mp3"), r);
    ASSERT_TRUE(second.ok);
    EXPECT_LT(Rms(second, 0.0, second.Seconds()), 0.001);
}

TEST(TempoPitchCut, FadesRiseFromAndFallToNearSilence) {
    CutFixture f;
    const auto source = f.MakeSource("tone.mp3", Tone(45, 1000));
    // A 30 s range with 5 s fades, and a tempo change.
    CutRequest r{10000, 40000};
    r.fadeIn = true;
    r.fadeInMs = 5000;
    r.fadeOut = true;
    r.fadeOutMs = 5000;
    r.speed = 1.05;
    r.pitch = 0.9f;
    const auto audio = f.Cut(source, f.dir.File("out.mp3"), r);
    ASSERT_TRUE(audio.ok);
    const double length = audio.Seconds();
    EXPECT_NEAR(length, 30.0 / 1.05, kBlockSec + kCodecSec);
    const double full = Rms(audio, 10.0, 15.0);
    EXPECT_GT(full, 0.3);
    EXPECT_LT(Rms(audio, 0.0, 0.3), 0.1 * full);
    EXPECT_NEAR(Rms(audio, 2.2, 2.6), 0.5 * full, 0.12 * full);
    EXPECT_LT(Rms(audio, length - 0.3, length), 0.1 * full);
    EXPECT_NEAR(EstimateFrequency(audio, 8.0, 20.0), 900.0, 9.0);
}
