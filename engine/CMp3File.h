#pragma once
// Reads one MP3 file with libmad and delivers dithered 16-bit PCM, a play
// position and a duration estimate.
#include "CAudioFile.h"

#include <cstdint>
#include <mad.h>
#include <mutex>

struct XingInfo {
    int flags = 0; // bit 0 frames, bit 1 bytes, bit 2 toc, bit 3 scale; 0 = no Xing header
    uint32_t frames = 0;
    uint32_t bytes = 0;
    uint8_t toc[100] = {};
    int scale = 0;
};

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

private:
    // (implementation helpers are private members declared by the implementer)
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
    std::recursive_mutex lock;
};
