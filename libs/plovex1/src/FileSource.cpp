#include "FileSource.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr size_t kBufferBytes = 256 * 1024;

} // namespace

CFileSource::~CFileSource() {
    if (fd >= 0) {
        ::close(fd);
    }
}

bool CFileSource::Open(const char* path) {
    // Non-blocking so that a FIFO cannot hang the open; only regular files are played.
    fd = ::open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        return false;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    size = st.st_size;
    buffer.resize(kBufferBytes);
    SkipImpossibleTag();
    return true;
}

ssize_t CFileSource::ReadCallback(void* source, void* out, size_t bytes) {
    return static_cast<CFileSource*>(source)->Read(static_cast<uint8_t*>(out), bytes);
}

off_t CFileSource::SeekCallback(void* source, off_t offset, int whence) {
    return static_cast<CFileSource*>(source)->Seek(offset, whence);
}

// An ID3v2 header whose size reaches past the end of the file is damage, not a tag:
// libmpg123 would skip the whole file; the cutter looks for audio behind the header.
void CFileSource::SkipImpossibleTag() {
    uint8_t h[10];
    if (::pread(fd, h, sizeof(h), 0) != static_cast<ssize_t>(sizeof(h)) ||
        std::memcmp(h, "ID3", 3) != 0) {
        return;
    }
    const off_t tagBytes =
        10 + ((h[6] & 0x7F) << 21 | (h[7] & 0x7F) << 14 | (h[8] & 0x7F) << 7 | (h[9] & 0x7F));
    if (tagBytes > size) {
        base = 10;
        size -= base;
    }
}

bool CFileSource::Fill() {
    bufferStart = position;
    bufferLength = 0;
    for (;;) {
        // Nothing past `size`: the stream may be made to end before the file does.
        const auto want = static_cast<size_t>(std::clamp<off_t>(size - position, 0, buffer.size()));
        const ssize_t got = want ? ::pread(fd, buffer.data(), want, base + position) : 0;
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return false;
        }
        bufferLength = static_cast<size_t>(got);
        return true;
    }
}

ssize_t CFileSource::Read(uint8_t* out, size_t bytes) {
    size_t done = 0;
    while (done < bytes) {
        const bool inside =
            position >= bufferStart && position < bufferStart + static_cast<off_t>(bufferLength);
        if (!inside) {
            if (!Fill()) {
                return done > 0 ? static_cast<ssize_t>(done) : -1;
            }
            if (bufferLength == 0) {
                break; // the end of the file
            }
        }
        const auto at = static_cast<size_t>(position - bufferStart);
        const size_t n = std::min(bytes - done, bufferLength - at);
        std::memcpy(out + done, buffer.data() + at, n);
        done += n;
        position += static_cast<off_t>(n);
    }
    return static_cast<ssize_t>(done);
}

off_t CFileSource::Seek(off_t offset, int whence) {
    off_t target = offset;
    if (whence == SEEK_CUR) {
        target += position;
    } else if (whence == SEEK_END) {
        target += size;
    } else if (whence != SEEK_SET) {
        return -1;
    }
    if (target < 0) {
        return -1;
    }
    position = target;
    return position;
}
