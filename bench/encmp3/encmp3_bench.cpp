// Times the encoder library's stream on 120 s of 44.1 kHz stereo fed in 20480-byte
// blocks: encoding alone, and decoding each block (libmpg123) before encoding it, as a
// cut does, and with the cut worker's 10 ms pause after each block. Each in the
// caller's thread and with the library's encoder thread.
#include "EncoderConfig.h"
#include "EncoderStream.h"
#include "Mp3Gen.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <mpg123.h>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

constexpr size_t kBlockBytes = 20480;
constexpr double kSeconds = 120.0;

// Delivers the next block of PCM; false at the end.
using BlockSource = bool (*)(void* context, std::vector<uint8_t>& block);

struct PcmSource {
    const std::vector<int16_t>* pcm;
    size_t at = 0;
    bool pause = false; // the cut's worker sleeps 10 ms after each block
};

bool NextPcmBlock(void* context, std::vector<uint8_t>& block) {
    auto* source = static_cast<PcmSource*>(context);
    if (source->pause && source->at > 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    const size_t total = source->pcm->size() * 2;
    if (source->at >= total) {
        return false;
    }
    const size_t n = std::min(kBlockBytes, total - source->at);
    block.resize(n);
    std::memcpy(block.data(), reinterpret_cast<const uint8_t*>(source->pcm->data()) + source->at,
                n);
    source->at += n;
    return true;
}

bool NextDecodedBlock(void* context, std::vector<uint8_t>& block) {
    auto* handle = static_cast<mpg123_handle*>(context);
    block.resize(kBlockBytes);
    size_t filled = 0;
    while (filled < block.size()) {
        size_t done = 0;
        const int r = mpg123_read(handle, block.data() + filled, block.size() - filled, &done);
        filled += done;
        if (r != MPG123_OK && r != MPG123_NEW_FORMAT) {
            break;
        }
    }
    block.resize(filled);
    return filled > 0;
}

struct Timing {
    double wall = -1;
    double cpu = -1; // of the whole process, both threads
    size_t bytes = 0;
};

// One pass over the source: init, a call per block, flush, close.
Timing Run(bool threaded, BlockSource next, void* context) {
    const auto start = std::chrono::steady_clock::now();
    const std::clock_t cpuStart = std::clock();
    BE_ERR error = BE_ERR_SUCCESSFUL;
    const auto stream = encmp3::EncoderStream::Create(
        MakeCutEncoderConfig(44100, 2), error,
        threaded ? encmp3::EncoderThreading::OwnThread : encmp3::EncoderThreading::CallerThread);
    Timing timing;
    if (!stream) {
        return timing;
    }
    std::vector<uint8_t> block;
    std::vector<BYTE> out(512000);
    DWORD produced = 0;
    while (next(context, block)) {
        stream->Encode(static_cast<DWORD>(block.size() / 2),
                       reinterpret_cast<const int16_t*>(block.data()), out.data(), &produced);
        timing.bytes += produced;
    }
    do {
        produced = 0;
        stream->Deinit(out.data(), &produced);
        timing.bytes += produced;
    } while (produced > 0);
    timing.wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    timing.cpu = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    return timing;
}

void Print(const char* what, const Timing& timing) {
    std::printf("  %-34s %6.2f s wall %6.2f s cpu %8zu bytes\n", what, timing.wall, timing.cpu,
                timing.bytes);
}

mpg123_handle* OpenDecoder(const std::string& path) {
    mpg123_handle* handle = mpg123_new(nullptr, nullptr);
    mpg123_param(handle, MPG123_ADD_FLAGS, MPG123_QUIET, 0);
    mpg123_format_none(handle);
    mpg123_format(handle, 44100, MPG123_STEREO, MPG123_ENC_SIGNED_16);
    if (mpg123_open(handle, path.c_str()) != MPG123_OK) {
        mpg123_delete(handle);
        return nullptr;
    }
    return handle;
}

} // namespace

int main() {
    mp3gen::ToneSpec params;
    params.seconds = kSeconds;
    params.melody = true;
    params.bitrateKbps = 192;
    const std::vector<int16_t> pcm = mp3gen::SynthesizePcm(params);
    const std::string mp3Path = "/tmp/encmp3_bench_" + std::to_string(getpid()) + ".mp3";
    mp3gen::WriteFileBytes(mp3Path, mp3gen::EncodeMp3(pcm, params));
    mpg123_init();

    std::printf("120 s of 44.1 kHz stereo, 20480-byte blocks\n");
    for (const bool threaded : {false, true}) {
        std::printf("%s\n", threaded ? "encoder thread:" : "caller's thread:");
        PcmSource source{&pcm};
        Print("encode", Run(threaded, NextPcmBlock, &source));
        mpg123_handle* decoder = OpenDecoder(mp3Path);
        Print("decode (libmpg123) + encode", Run(threaded, NextDecodedBlock, decoder));
        mpg123_delete(decoder);
        PcmSource pausing{&pcm, 0, true};
        Print("encode + 10 ms pause per block", Run(threaded, NextPcmBlock, &pausing));
    }
    std::remove(mp3Path.c_str());
    return 0;
}
