#pragma once
// Reads one MP3 file with libmad and delivers dithered 16-bit PCM, a play
// position and a duration estimate.
#include "CAudioFile.h"
#include "Mp3Dither.h"
#include "XingInfo.h"

#include <cstdint>
#include <mad.h>
#include <mutex>

struct FrameScanResult;

class CMp3File : public CAudioFile {
public:
    static constexpr uint32_t kBufferSize = 40000;
    static constexpr uint32_t kScanBufferSize = 8192;

    CMp3File();
    ~CMp3File() override;
    CMp3File(const CMp3File&) = delete;
    CMp3File& operator=(const CMp3File&) = delete;

    int Open(const char* path) override;
    void Close() override;
    void Seek(int64_t num, int64_t den) override;
    void GetInfo(AudioInfo& out) override;
    int Read(uint8_t* buffer, uint32_t& bytes) override;
    int GetPositionSec() override;
    void SeekTo(int64_t num, int64_t den) override;
    int GetPositionMs() override;

    // True when the duration is known, not estimated: from a Xing frame count or measured.
    bool HasExactDuration();
    // Walks every frame header to the end of the file, makes the result the duration
    // and returns it in ms; the read position is left as it was.
    int MeasureDurationMs();

private:
    bool OpenLocked(const char* path);
    bool FindAudio(FrameScanResult& scan);
    void CloseLocked();
    void SetOpenDuration();
    void UpdateDurationInfo();
    void SeekLocked(int64_t num, int64_t den);
    double FileFraction(double f) const;
    void PrimeDecoder();
    bool ReadMore();
    bool Refill();
    bool DecodeNextFrame();
    uint32_t ConvertPcm(uint8_t* out, uint32_t frames);

    int file = -1;
    uint32_t fileSize = 0;
    XingInfo xing;
    mad_stream stream{};
    mad_frame frame{};
    mad_synth synth{};
    int pcmIndex = 0;
    mad_timer_t position = mad_timer_zero;
    mad_timer_t duration = mad_timer_zero;
    uint32_t bitrateSum = 0;
    uint32_t frameCount = 0;
    AudioInfo info;
    uint8_t buffer[kBufferSize + MAD_BUFFER_GUARD] = {};
    uint32_t bufferFill = 0;
    DitherState dither[2]; // left, right
    std::mutex lock;

    uint32_t audioStart = 0;    // first believable frame; a seek to 0 starts here
    bool dataEnded = false;     // the file's end is in `buffer`, guard bytes behind it
    bool exactDuration = false; // `duration` is not an estimate
};
