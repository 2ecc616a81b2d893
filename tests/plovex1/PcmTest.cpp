// What reaches the device: exact at unit factors, stretched or shifted as asked otherwise.
#include "Mp3Check.h"
#include "PlovexTestSupport.h"

#include <algorithm>

using namespace std::chrono_literals;

namespace {

DecodedAudio AsAudio(const PcmCapture& capture) {
    DecodedAudio audio;
    audio.ok = true;
    audio.pcm = capture.Samples();
    audio.channels = capture.Channels();
    audio.sampleRate = capture.Rate();
    return audio;
}

} // namespace

class PcmTest : public PlayerTest {
protected:
    std::string MakeTone(double seconds, int channels = 2, int rate = 44100) {
        mp3gen::ToneSpec params;
        params.seconds = seconds;
        params.channels = channels;
        params.sampleRate = rate;
        return MakeFile("tone.mp3", params);
    }

    // Opens a 2 s melody with the capture listening; decoded: the melody as the decoder gives it.
    void OpenMelody(DecodedAudio& decoded, int channels = 2) {
        mp3gen::ToneSpec params;
        params.seconds = 2.0;
        params.melody = true;
        params.channels = channels;
        const std::string path = MakeFile("melody.mp3", params);
        decoded = DecodeMp3File(path);
        ASSERT_TRUE(decoded.ok);
        api.SetOutPCMFun(&PcmCapture::Callback, &capture);
        ASSERT_EQ(api.Open(path.c_str()), 1);
    }

    // Plays from the current position until the player stops at the end.
    void PlayToTheEnd() {
        ASSERT_EQ(api.Play(), 1);
        ASSERT_TRUE(WaitUntil([&] { return api.GetState() == PLOVEX_STATE_STOPPED; }, 20s));
    }

    PcmCapture capture;
};

TEST_F(PcmTest, UnitFactorsSendExactlyWhatTheDecoderGives) {
    DecodedAudio decoded;
    ASSERT_NO_FATAL_FAILURE(OpenMelody(decoded));
    api.Play();
    const size_t wanted = 44100 * 2; // half a second, both channels
    ASSERT_TRUE(WaitUntil([&] { return capture.SampleCount() >= wanted; }, 10s));
    const std::vector<int16_t> sent = capture.Samples();
    EXPECT_EQ(capture.Channels(), 2);
    EXPECT_EQ(capture.Rate(), 44100);
    ASSERT_GE(sent.size(), wanted);
    EXPECT_TRUE(std::equal(sent.begin(), sent.begin() + wanted, decoded.pcm.begin()));
}

TEST_F(PcmTest, SeekStartsAtTheExactSample) {
    DecodedAudio decoded;
    ASSERT_NO_FATAL_FAILURE(OpenMelody(decoded, 1));
    api.SetPos(1000);
    api.Play();
    const size_t wanted = 4410;
    ASSERT_TRUE(WaitUntil([&] { return capture.SampleCount() >= wanted; }, 10s));
    const std::vector<int16_t> sent = capture.Samples();
    const auto from = decoded.pcm.begin() + 44100;
    EXPECT_TRUE(std::equal(sent.begin(), sent.begin() + wanted, from));
}

TEST_F(PcmTest, RateChangesTempoButKeepsPitch) {
    const std::string path = MakeTone(2.0);
    const DecodedAudio decoded = DecodeMp3File(path);
    api.SetOutPCMFun(&PcmCapture::Callback, &capture);
    ASSERT_EQ(api.Open(path.c_str()), 1);
    api.SetRate(1.10);
    PlayToTheEnd();
    const DecodedAudio sent = AsAudio(capture);
    EXPECT_NEAR(sent.Seconds(), decoded.Seconds() / 1.10, 0.08);
    EXPECT_NEAR(EstimateFrequency(sent, 0.3, 1.5), 1000.0, 20.0);
    EXPECT_EQ(api.GetPos(), api.GetLen());
}

TEST_F(PcmTest, PitchChangesPitchButKeepsTempo) {
    const std::string path = MakeTone(2.0, 1);
    const DecodedAudio decoded = DecodeMp3File(path);
    api.SetOutPCMFun(&PcmCapture::Callback, &capture);
    ASSERT_EQ(api.Open(path.c_str()), 1);
    api.SetPitch(1.20);
    EXPECT_DOUBLE_EQ(api.GetPitch(), 1.20);
    PlayToTheEnd();
    const DecodedAudio sent = AsAudio(capture);
    EXPECT_NEAR(sent.Seconds(), decoded.Seconds(), 0.08);
    EXPECT_NEAR(EstimateFrequency(sent, 0.3, 1.5), 1200.0, 24.0);
}

TEST_F(PcmTest, VolumeFiftyIsTheFilesOwnLoudness) {
    const std::string path = MakeTone(1.0);
    const DecodedAudio decoded = DecodeMp3File(path);
    api.SetOutPCMFun(&PcmCapture::Callback, &capture);
    ASSERT_EQ(api.Open(path.c_str()), 1);
    api.SetVolume(25);
    PlayToTheEnd();
    const double full = Rms(decoded, 0.2, 0.8);
    EXPECT_NEAR(Rms(AsAudio(capture), 0.2, 0.8), full / 2.0, full * 0.02);
}

TEST_F(PcmTest, FadeInAppliesOnlyWhenEnabled) {
    const std::string path = MakeTone(1.5);
    api.SetOutPCMFun(&PcmCapture::Callback, &capture);
    ASSERT_EQ(api.Open(path.c_str()), 1);
    api.SetFadeIn(0, 1000);
    api.EnableFade(1);
    PlayToTheEnd();
    const DecodedAudio faded = AsAudio(capture);
    EXPECT_LT(Rms(faded, 0.0, 0.2), Rms(faded, 1.1, 1.4) * 0.3);
    EXPECT_GT(Rms(faded, 0.6, 0.8), Rms(faded, 0.0, 0.2));
}

TEST_F(PcmTest, StopPositionEndsOnItsSampleAndStopsThere) {
    DecodedAudio decoded;
    ASSERT_NO_FATAL_FAILURE(OpenMelody(decoded));
    ASSERT_EQ(api.SetStopPos(1250), 1);
    api.SetPos(500);
    PlayToTheEnd();
    const std::vector<int16_t> sent = capture.Samples();
    const auto from = decoded.pcm.begin() + 22050 * 2;
    ASSERT_EQ(sent.size(), size_t{(55125 - 22050) * 2});
    EXPECT_TRUE(std::equal(sent.begin(), sent.end(), from));
    EXPECT_EQ(api.GetPos(), 1250);

    // Without it the same play runs on to the file's end.
    api.SetStopPos(-1);
    api.SetPos(1500);
    PlayToTheEnd();
    EXPECT_EQ(api.GetPos(), api.GetLen());
}
