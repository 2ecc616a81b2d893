#include "FuzzTempFile.h"

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {

std::string ScratchFolder() {
    const char* tmp = std::getenv("TMPDIR");
    if (tmp && *tmp) {
        return tmp;
    }
    return access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
}

} // namespace

FuzzTempFile::FuzzTempFile(const char* tag)
    : path(ScratchFolder() + "/tesmira-fuzz-" + std::to_string(getpid()) + "-" + tag + ".mp3") {}

FuzzTempFile::~FuzzTempFile() {
    Remove();
}

bool FuzzTempFile::Write(const uint8_t* data, size_t size) const {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        return false;
    }
    const bool ok = size == 0 || std::fwrite(data, 1, size, f) == size;
    return std::fclose(f) == 0 && ok;
}

void FuzzTempFile::Remove() const {
    ::unlink(path.c_str());
}

bool FuzzTempFile::Exists() const {
    return ::access(path.c_str(), F_OK) == 0;
}
