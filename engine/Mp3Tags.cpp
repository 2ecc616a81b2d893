#include "Mp3Tags.h"

#include <cstring>
#include <unistd.h>

namespace {

constexpr uint32_t kId3v1Bytes = 128;
constexpr uint32_t kApeFooterBytes = 32;
constexpr uint32_t kLyrics3v1MaxBytes = 5100 + 20;

bool ReadAt(int fd, uint32_t offset, void* out, uint32_t bytes) {
    return ::pread(fd, out, bytes, static_cast<off_t>(offset)) == static_cast<ssize_t>(bytes);
}

uint32_t LittleEndian32(const uint8_t* p) {
    return p[0] | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}

// The tag ending at `end`, or 0 when none does.
uint32_t Id3v1Bytes(int fd, uint32_t end) {
    char magic[3];
    return end >= kId3v1Bytes && ReadAt(fd, end - kId3v1Bytes, magic, 3) &&
                   std::memcmp(magic, "TAG", 3) == 0
               ? kId3v1Bytes
               : 0;
}

uint32_t ApeBytes(int fd, uint32_t end) {
    uint8_t footer[kApeFooterBytes];
    if (end < kApeFooterBytes || !ReadAt(fd, end - kApeFooterBytes, footer, kApeFooterBytes) ||
        std::memcmp(footer, "APETAGEX", 8) != 0) {
        return 0;
    }
    // The size counts the items and the footer; a header, when flagged, comes on top.
    const uint64_t size =
        LittleEndian32(footer + 12) + ((footer[23] & 0x80) ? uint64_t{kApeFooterBytes} : 0);
    return size <= end && size >= kApeFooterBytes ? static_cast<uint32_t>(size) : 0;
}

uint32_t Lyrics3Bytes(int fd, uint32_t end) {
    char tail[15];
    if (end < 15 || !ReadAt(fd, end - 15, tail, 15)) {
        return 0;
    }
    if (std::memcmp(tail + 6, "LYRICS200", 9) == 0) {
        // Version 2: six digits give the size from "LYRICSBEGIN" to the digits.
        uint32_t size = 0;
        for (int i = 0; i < 6; ++i) {
            if (tail[i] < '0' || tail[i] > '9') {
                return 0;
            }
            size = size * 10 + static_cast<uint32_t>(tail[i] - '0');
        }
        char begin[11];
        const uint64_t total = uint64_t{size} + 15;
        return total <= end && ReadAt(fd, static_cast<uint32_t>(end - total), begin, 11) &&
                       std::memcmp(begin, "LYRICSBEGIN", 11) == 0
                   ? static_cast<uint32_t>(total)
                   : 0;
    }
    if (std::memcmp(tail + 6, "LYRICSEND", 9) != 0) {
        return 0;
    }
    // Version 1 states no size: look back for its beginning.
    const uint32_t span = end < kLyrics3v1MaxBytes ? end : kLyrics3v1MaxBytes;
    char text[kLyrics3v1MaxBytes];
    if (!ReadAt(fd, end - span, text, span)) {
        return 0;
    }
    for (uint32_t i = 0; i + 11 <= span; ++i) {
        if (std::memcmp(text + i, "LYRICSBEGIN", 11) == 0) {
            return span - i;
        }
    }
    return 0;
}

} // namespace

uint32_t SkipId3v2Tags(int fd, uint32_t start, uint32_t fileSize) {
    for (;;) {
        uint8_t h[10];
        if (uint64_t{start} + 10 > fileSize || !ReadAt(fd, start, h, 10) ||
            std::memcmp(h, "ID3", 3) != 0 || ((h[6] | h[7] | h[8] | h[9]) & 0x80)) {
            return start;
        }
        const uint32_t size = (static_cast<uint32_t>(h[6]) << 21) |
                              (static_cast<uint32_t>(h[7]) << 14) |
                              (static_cast<uint32_t>(h[8]) << 7) | h[9];
        // Version 4 may close the tag with a footer of ten more bytes.
        const uint64_t next = uint64_t{start} + 10 + size + ((h[5] & 0x10) ? 10 : 0);
        if (next > fileSize) {
            return start;
        }
        start = static_cast<uint32_t>(next);
    }
}

uint32_t AudioEndBeforeTags(int fd, uint32_t fileSize) {
    uint32_t end = fileSize;
    for (;;) {
        uint32_t tag = Id3v1Bytes(fd, end);
        if (tag == 0) {
            tag = ApeBytes(fd, end);
        }
        if (tag == 0) {
            tag = Lyrics3Bytes(fd, end);
        }
        if (tag == 0) {
            return end;
        }
        end -= tag;
    }
}
