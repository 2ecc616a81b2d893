// The MP3 reader over arbitrary bytes: open, info, a seek to a fraction taken from the
// input, reads to the end, a second seek and a read of exactly the whole length.
#include "CMp3File.h"
#include "FuzzInput.h"
#include "FuzzTempFile.h"

#include <vector>

namespace {

bool ValidRate(int rate) {
    for (const int r : {8000, 11025, 12000, 16000, 22050, 24000, 32000, 44100, 48000}) {
        if (rate == r) {
            return true;
        }
    }
    return false;
}

// Reads to the end in blocks of the given size; checks what every read promises and
// returns the sample frames delivered.
int64_t ReadToEnd(CMp3File& reader, uint32_t blockBytes, bool stereo) {
    std::vector<uint8_t> block(blockBytes);
    const uint32_t frameBytes = stereo ? 4 : 2;
    int lastMs = reader.GetPositionMs();
    int64_t frames = 0;
    for (;;) {
        uint32_t bytes = blockBytes;
        const int more = reader.Read(block.data(), bytes);
        FuzzCheck(bytes <= blockBytes, "Read delivers no more than asked");
        FuzzCheck(bytes % frameBytes == 0, "Read delivers whole sample frames");
        const int ms = reader.GetPositionMs();
        FuzzCheck(ms >= lastMs, "the position never goes back while reading");
        lastMs = ms;
        frames += bytes / frameBytes;
        if (!more || bytes == 0) {
            return frames;
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const FuzzTempFile file("reader");
    const FuzzInput in(data, size, 4);
    if (!file.Write(in.FileData(), in.FileSize())) {
        return 0;
    }
    CMp3File reader;
    if (!reader.Open(file.Path())) {
        uint32_t bytes = 64;
        uint8_t scratch[64];
        FuzzCheck(reader.Read(scratch, bytes) == 0 && bytes == 0, "a closed reader is empty");
        return 0;
    }
    AudioInfo info;
    reader.GetInfo(info);
    FuzzCheck(ValidRate(info.sampleRate), "the sample rate is an MPEG rate");
    FuzzCheck(info.durationMs >= 0, "the duration is not negative");
    const bool stereo = info.stereo != 0;

    // Odd block sizes as well as the job's 20480 bytes.
    const uint32_t blockBytes = 1 + (in.Param(2) << 8 | in.Param(3)) % 20480;
    reader.SeekTo(static_cast<int64_t>(in.Fraction(0) * info.durationMs), info.durationMs);
    ReadToEnd(reader, blockBytes, stereo);
    reader.GetInfo(info);
    FuzzCheck(info.durationMs >= 0, "the duration stays non-negative");

    reader.SeekTo(0, info.durationMs);
    FuzzCheck(ReadToEnd(reader, CMp3File::kBufferSize / 2, stereo) == reader.GetLengthFrames(),
              "the whole length is delivered, every frame in its place");
    reader.Close();
    return 0;
}
