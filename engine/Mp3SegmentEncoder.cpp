#include "Mp3SegmentEncoder.h"

#include "Mp3Header.h"

#include <algorithm>

namespace {

// Pieces small enough that one call's output always fits the buffer.
constexpr uint32_t kMaxSamplesPerCall = 65536;

uint32_t WorstCaseBytes(uint32_t samples) {
    return samples + samples / 4 + 7200;
}

} // namespace

Mp3SegmentEncoder::Mp3SegmentEncoder(const EncoderEntryPoints& library, const BE_CONFIG& config,
                                     uint64_t skipFrames, uint64_t keepFrames,
                                     std::vector<uint8_t>& keptFrames)
    : api(library), streamConfig(config), kept(keptFrames), skip(skipFrames), keep(keepFrames) {
    kept.clear();
    DWORD samples = 0;
    opened = api.beInitStream(&streamConfig, &samples, &bufferSize, &stream) == BE_ERR_SUCCESSFUL;
    buffer.resize(std::max(bufferSize, WorstCaseBytes(kMaxSamplesPerCall)));
}

Mp3SegmentEncoder::~Mp3SegmentEncoder() {
    if (opened) {
        api.beCloseStream(stream);
    }
}

bool Mp3SegmentEncoder::Encode(const uint8_t* pcm, uint32_t bytes) {
    const auto* samples = reinterpret_cast<const int16_t*>(pcm);
    uint32_t left = bytes / 2;
    while (opened && !broken && left > 0) {
        const uint32_t count = std::min(left, kMaxSamplesPerCall);
        DWORD produced = 0;
        if (api.beEncodeChunk(stream, count, samples, buffer.data(), &produced) !=
                BE_ERR_SUCCESSFUL ||
            !Take(buffer.data(), produced)) {
            return false;
        }
        samples += count;
        left -= count;
    }
    return opened && !broken;
}

bool Mp3SegmentEncoder::Finish() {
    while (opened && !broken) {
        DWORD produced = 0;
        if (api.beDeinitStream(stream, buffer.data(), &produced) != BE_ERR_SUCCESSFUL) {
            return false;
        }
        if (produced == 0) {
            return partial.empty();
        }
        if (!Take(buffer.data(), produced)) {
            return false;
        }
    }
    return false;
}

// Splits the stream's bytes into frames by their headers and keeps the wanted ones.
bool Mp3SegmentEncoder::Take(const uint8_t* bytes, uint32_t size) {
    partial.insert(partial.end(), bytes, bytes + size);
    size_t at = 0;
    RawHeader header;
    while (partial.size() - at >= 4) {
        if (!ParseRawHeader(partial.data() + at, header) || header.frameBytes == 0) {
            broken = true;
            return false;
        }
        if (partial.size() - at < header.frameBytes) {
            break;
        }
        if (framesSeen >= skip && framesSeen - skip < keep) {
            kept.insert(kept.end(), partial.begin() + static_cast<ptrdiff_t>(at),
                        partial.begin() + static_cast<ptrdiff_t>(at + header.frameBytes));
        }
        ++framesSeen;
        at += header.frameBytes;
    }
    partial.erase(partial.begin(), partial.begin() + static_cast<ptrdiff_t>(at));
    return true;
}
