#include "SourceTagStream.h"

#include <algorithm>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr size_t kHeaderBytes = 10;

uint32_t SyncSafe(const uint8_t* b) {
    return static_cast<uint32_t>(b[0]) << 21 | b[1] << 14 | b[2] << 7 | b[3];
}

void PutSyncSafe(TagLib::ByteVector& tag, uint32_t size) {
    for (int i = 0; i < 4; ++i) {
        tag[6 + i] = static_cast<char>(size >> (7 * (3 - i)) & 0x7F);
    }
}

// A frame's size as its header gives it; version 4 sizes are synchsafe, except from writers
// that put plain numbers there.
uint64_t FrameSize(const uint8_t* h, unsigned version) {
    if (version == 2) {
        return static_cast<uint64_t>(h[3]) << 16 | h[4] << 8 | h[5];
    }
    const bool plain = version == 3 || ((h[4] | h[5] | h[6] | h[7]) & 0x80);
    return plain ? static_cast<uint64_t>(h[4]) << 24 | h[5] << 16 | h[6] << 8 | h[7]
                 : SyncSafe(h + 4);
}

std::string Megabytes(uint64_t bytes) {
    return std::to_string((bytes + (1u << 19)) >> 20) + " MB";
}

} // namespace

SourceTagStream::SourceTagStream(const std::string& source, int file,
                                 std::vector<std::string>& notes)
    : path(source), fd(file) {
    struct stat info {};
    if (fd < 0 || fstat(fd, &info) != 0) {
        fd = -1;
        return;
    }
    fileSize = static_cast<uint64_t>(info.st_size);
    ReadHead(notes);
}

bool SourceTagStream::ReadAt(uint64_t offset, size_t size, TagLib::ByteVector& into) {
    const size_t old = into.size();
    into.resize(static_cast<unsigned>(old + size));
    size_t done = 0;
    while (done < size) {
        const ssize_t n =
            pread(fd, into.data() + old + done, size - done, static_cast<off_t>(offset + done));
        if (n <= 0) {
            into.resize(static_cast<unsigned>(old + done));
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

void SourceTagStream::ReadHead(std::vector<std::string>& notes) {
    TagLib::ByteVector header;
    if (!ReadAt(0, kHeaderBytes, header) || !header.startsWith("ID3")) {
        return;
    }
    const auto* b = reinterpret_cast<const uint8_t*>(header.data());
    if ((b[6] | b[7] | b[8] | b[9]) & 0x80) {
        return; // not a tag header after all: no size to trust
    }
    const unsigned version = b[3];
    const uint64_t end = kHeaderBytes + SyncSafe(b + 6);
    const bool footer = version == 4 && (b[5] & 0x10);
    restStart = std::min(fileSize, end + (footer ? kHeaderBytes : 0));
    if (end <= kMaxCarriedTagBytes) {
        head.clear();
        ReadAt(0, restStart, head);
        return;
    }
    // Frames can be skipped one by one unless the whole tag is unsynchronised or has an
    // extended header; such a tag is cut at the limit, its frames up to there kept.
    head = header;
    head[5] = static_cast<char>(b[5] & ~0x10);
    const bool walkable =
        version >= 2 && version <= 4 && !(b[5] & 0x40) && !(version < 4 && (b[5] & 0x80));
    if (walkable) {
        CopyFrames(version, std::min(end, fileSize), notes);
    } else {
        ReadAt(kHeaderBytes, kMaxCarriedTagBytes - kHeaderBytes, head);
        notes.push_back("the source's tag is larger than " + Megabytes(kMaxCarriedTagBytes) +
                        "; what lies past that was not carried");
    }
    PutSyncSafe(head, head.size() - kHeaderBytes);
}

void SourceTagStream::CopyFrames(unsigned version, uint64_t end, std::vector<std::string>& notes) {
    const size_t frameHeader = version == 2 ? 6 : 10;
    uint64_t at = kHeaderBytes;
    while (at + frameHeader <= end) {
        TagLib::ByteVector bytes;
        if (!ReadAt(at, frameHeader, bytes) || bytes[0] == 0) {
            break; // padding
        }
        const auto* h = reinterpret_cast<const uint8_t*>(bytes.data());
        const uint64_t size = FrameSize(h, version);
        const std::string id(bytes.data(), version == 2 ? 3 : 4);
        const uint64_t next = at + frameHeader + size;
        if (next > end ||
            id.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789") != std::string::npos) {
            break;
        }
        if (head.size() + (next - at) <= kMaxCarriedTagBytes) {
            ReadAt(at, next - at, head);
        } else if (id == "APIC" || id == "PIC") {
            notes.push_back("a picture of " + Megabytes(size) +
                            " was not carried: the tag would pass its limit of " +
                            Megabytes(kMaxCarriedTagBytes));
        }
        at = next;
    }
}

void SourceTagStream::seek(long offset, Position p) {
    const long base = p == Beginning ? 0 : p == Current ? position : length();
    position = std::max(0L, base + offset);
}

TagLib::ByteVector SourceTagStream::readBlock(unsigned long wanted) {
    TagLib::ByteVector out;
    const auto at = static_cast<uint64_t>(position);
    const uint64_t total = static_cast<uint64_t>(length());
    if (fd < 0 || wanted > kMaxCarriedTagBytes || at >= total) {
        return out;
    }
    const uint64_t size = std::min<uint64_t>(wanted, total - at);
    if (at < head.size()) {
        out = head.mid(static_cast<unsigned>(at), static_cast<unsigned>(size));
    }
    if (out.size() < size) {
        const uint64_t inRest = at + out.size() - head.size();
        ReadAt(restStart + inRest, size - out.size(), out);
    }
    position += static_cast<long>(out.size());
    return out;
}
