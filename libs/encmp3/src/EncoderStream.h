#pragma once
// One encoder stream: a libmp3lame encoder fed on a thread of its own, so the
// caller can decode the next block while this one is being encoded.
#include "EncMp3Interface.h"

#include <condition_variable>
#include <cstdint>
#include <lame/lame.h>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace encmp3 {

class EncoderStream {
public:
    // Returns the stream, or null with error set.
    static std::unique_ptr<EncoderStream> Create(const BE_CONFIG& config, BE_ERR& error);
    ~EncoderStream();
    EncoderStream(const EncoderStream&) = delete;
    EncoderStream& operator=(const EncoderStream&) = delete;

    DWORD SamplesPerChunk() const;
    DWORD MinOutputBuffer() const;
    BE_ERR Encode(DWORD samples, const int16_t* pcm, BYTE* out, DWORD* produced);
    // Finishes the stream and hands out what is left (see the interface header).
    BE_ERR Deinit(BYTE* out, DWORD* produced);
    // The Xing/LAME frame for the start of the file; empty when the stream writes none.
    std::vector<uint8_t> LameTagFrame() const;

private:
    explicit EncoderStream(lame_t encoder);
    void StartWorker();
    void WorkerLoop();
    // Encodes `input` into `encoded`; runs on the worker or, without one, on the caller.
    void EncodeInput();
    // Waits for the block in flight and moves its bytes to `pending`.
    BE_ERR CollectEncoded();
    DWORD TakePending(BYTE* out, size_t limit);
    size_t PendingSize() const { return pending.size() - pendingStart; }

    lame_t lame;
    int channels = 2;
    // Input values and output bytes of the block being encoded.
    std::vector<int16_t> input;
    size_t inputFrames = 0;
    std::vector<uint8_t> encoded;
    int encodedBytes = 0;
    // Finished bytes not yet handed out, from pendingStart on.
    std::vector<uint8_t> pending;
    size_t pendingStart = 0;
    bool flushed = false;

    std::mutex lock;
    std::condition_variable wake;
    bool busy = false; // a block is in flight on the worker
    bool quit = false;
    std::thread worker;
};

} // namespace encmp3
