#pragma once
// The player behind the exports: one open file, one output, one feeder thread that decodes
// ahead of the device. Every public operation is quick: none waits for audio to be played.
#include "AudioOutput.h"
#include "FadeEnvelope.h"
#include "Mp3Decoder.h"
#include "Plovex1.h"
#include "TempoPitch.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class CPlayer {
public:
    // The one player of the process, made on first use.
    static CPlayer& Instance();

    CPlayer();
    ~CPlayer();
    CPlayer(const CPlayer&) = delete;
    CPlayer& operator=(const CPlayer&) = delete;

    bool Open(const std::string& path);
    bool Close();
    bool Play();
    bool Pause();
    bool Stop();
    bool SetPositionMs(int ms);

    bool IsOpen() const;
    int LengthMs() const;
    int PositionMs() const;
    int State() const;
    int Channels() const;
    int SampleRate() const;
    int Layer() const;
    // The open file's sound goes to a device, not to the silent stand-in.
    bool HasAudioDevice() const;

    void SetTempo(double factor);
    void SetPitch(double factor);
    double Pitch() const;
    void SetVolume(int volume);
    void SetFadeIn(int64_t startMs, int64_t lengthMs);
    void SetFadeOut(int64_t startMs, int64_t endMs);
    void EnableFade(bool on);
    void SetPcmCallback(PlovexPcmCallback callback, void* user);
    // ms < 0: none.
    void SetStopMs(int ms);

private:
    // Feeder thread (PlayerFeeder.cpp).
    void FeederLoop();
    bool ProduceBlockLocked();
    void FinishAtEndLocked();
    void ReportBlock(int channels, int sampleRate);
    // Sets block to every frame SoundTouch has ready.
    void ReceiveStretched(int channels);

    // Everything the output holds is dropped and decoding goes on from frame.
    void SeekLocked(int64_t frame);
    // Source frame of what the device is playing now.
    int64_t HeardFrameLocked() const;
    int MsFromFrames(int64_t frames) const;
    int64_t FrameFromMsLocked(int ms) const;
    // The frame playback ends at: the stop position, or the end of the file.
    int64_t EndFrameLocked() const;
    void ChangeFactorsLocked(double newTempo, double newPitch);

    mutable std::mutex mutex;
    std::condition_variable wake;
    std::mutex openMutex; // one Open or Close at a time; never taken by the feeder

    std::unique_ptr<CMp3Decoder> decoder;
    std::unique_ptr<CAudioOutput> output;
    int outputRate = 0;
    int outputChannels = 0;
    CTempoPitch tempoPitch;
    CFadeEnvelope fades;

    int state = PLOVEX_STATE_CLOSED;
    double tempo = 1.0;
    double pitch = 1.0;
    int volume = 50;
    int stopMs = -1;

    // Since the last seek: decoding started at anchorFrame, writtenFrames went to the output,
    // and while stretching every output frame stands for stretchTempo source frames.
    int64_t anchorFrame = 0;
    int64_t writtenFrames = 0;
    bool stretching = false;
    double stretchTempo = 1.0;
    bool sourceEnded = false;
    bool flushed = false;

    // Feeder-only scratch buffers.
    std::vector<int16_t> decoded;
    std::vector<int16_t> block;

    std::recursive_mutex callbackMutex; // guards the two fields below, held during a callback
    PlovexPcmCallback pcmCallback = nullptr;
    void* pcmUser = nullptr;

    bool quit = false;
    std::thread feeder;
};
