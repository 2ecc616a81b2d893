#pragma once
#include "AudioInfo.h"

#include <cstdint>

// An audio source delivering interleaved 16-bit PCM; the base does nothing.
class CAudioFile {
public:
    virtual ~CAudioFile() = default;
    virtual int Open(const char* /*path*/) { return 1; }
    virtual void Close() {}
    virtual void Seek(int64_t /*num*/, int64_t /*den*/) {}
    virtual void GetInfo(AudioInfo& /*info*/) {}
    virtual int Read(uint8_t* /*buffer*/, uint32_t& /*bytes*/) { return 1; }
    virtual int GetPositionSec() { return 0; }
    virtual void SeekTo(int64_t /*num*/, int64_t /*den*/) {}
    virtual int GetPositionMs() { return 0; }
};
