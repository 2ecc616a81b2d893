#pragma once
// One encoder stream: a libmp3lame encoder fed by a queue on a thread of its
// own, so the caller can decode the next blocks while earlier ones are encoded.
#include "EncMp3Interface.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <lame/lame.h>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace encmp3 {

// Where the stream runs libmp3lame. The library always uses its own thread; tests and
// benchmarks compare it with the caller's thread (the bytes are the same).
enum class EncoderThreading { OwnThread, CallerThread };

class EncoderStream {
public:
    // Returns the stream, or null with error set.
    static std::unique_ptr<EncoderStream> Create(const BE_CONFIG& config, BE_ERR& error,
                                                 EncoderThreading threading);
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
    struct Block {
        std::vector<int16_t> samples;
        size_t frames = 0;
        size_t worstBytes = 0;
    };

    explicit EncoderStream(lame_t encoder);
    void StartWorker();
    void WorkerLoop();
    // Encodes into scratch; the caller makes sure nobody else uses the encoder.
    int EncodeFrames(int16_t* samples, size_t frames, std::vector<uint8_t>& scratch);
    // Both under lock.
    void Append(const std::vector<uint8_t>& bytes, int count);
    DWORD TakePending(BYTE* out, size_t limit);
    bool Idle() const { return queuedWorstBytes == 0; }
    void Enqueue(const int16_t* pcm, DWORD samples, size_t worstBytes);
    BE_ERR EncodeHere(const int16_t* pcm, DWORD samples, std::unique_lock<std::mutex>& guard);

    lame_t lame;
    int channels = 2;
    bool flushed = false;
    std::vector<uint8_t> callerScratch;
    std::vector<uint8_t> workerScratch;

    std::mutex lock;
    std::condition_variable changed;
    std::deque<Block> queue;
    std::vector<std::vector<int16_t>> spare; // sample buffers kept for reuse
    // Worst-case MP3 bytes of the blocks queued or being encoded.
    size_t queuedWorstBytes = 0;
    // Finished bytes not yet handed out, from pendingStart on.
    std::vector<uint8_t> pending;
    size_t pendingStart = 0;
    bool failed = false;
    bool quit = false;
    // The thread starts with the first Encode, from the thread that feeds the stream, so it
    // runs at that thread's priority (a low-priority cut's encoder is low-priority too).
    bool workerWanted = false;
    std::thread worker;
};

} // namespace encmp3
