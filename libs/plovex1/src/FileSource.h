#pragma once
// The file a CMp3Decoder reads, served to libmpg123 from a large buffer: libmpg123's own
// reader asks the system for every frame header and body separately, which makes the scan
// of a long file slow.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <sys/types.h>
#include <vector>

class CFileSource {
public:
    ~CFileSource();

    bool Open(const char* path);
    // Shows libmpg123 a file that ends `bytes` after where its data starts.
    void EndAt(off_t bytes) {
        size = std::min(size, bytes);
        bufferLength = 0; // it may hold bytes past the new end
    }
    // The callbacks libmpg123 calls (through mpg123_replace_reader_handle).
    static ssize_t ReadCallback(void* source, void* out, size_t bytes);
    static off_t SeekCallback(void* source, off_t offset, int whence);

private:
    ssize_t Read(uint8_t* out, size_t bytes);
    off_t Seek(off_t offset, int whence);
    bool Fill();
    void SkipImpossibleTag();

    int fd = -1;
    off_t base = 0; // where the file starts for libmpg123
    off_t size = 0; // bytes from `base` on
    off_t position = 0;
    std::vector<uint8_t> buffer;
    off_t bufferStart = 0;
    size_t bufferLength = 0;
};
