#pragma once
// One scratch file per fuzz process in RAM (/dev/shm, or $TMPDIR when set), rewritten by
// every run and removed at exit.
#include <cstddef>
#include <cstdint>
#include <string>

class FuzzTempFile {
public:
    explicit FuzzTempFile(const char* tag);
    ~FuzzTempFile();
    FuzzTempFile(const FuzzTempFile&) = delete;
    FuzzTempFile& operator=(const FuzzTempFile&) = delete;

    bool Write(const uint8_t* data, size_t size) const;
    void Remove() const;
    bool Exists() const;
    const char* Path() const { return path.c_str(); }

private:
    std::string path;
};
