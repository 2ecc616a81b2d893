#include "FuzzInput.h"

#include <cstdio>
#include <cstdlib>

FuzzInput::FuzzInput(const uint8_t* bytes, size_t size, size_t paramBytes)
    : data(bytes), fileSize(size), params(bytes), paramCount(0) {
    if (size >= paramBytes) {
        fileSize = size - paramBytes;
        params = bytes + fileSize;
        paramCount = paramBytes;
    }
}

uint8_t FuzzInput::Param(size_t i) const {
    return i < paramCount ? params[i] : 0;
}

uint16_t FuzzInput::Param16(size_t i) const {
    return static_cast<uint16_t>(Param(i) << 8 | Param(i + 1));
}

void FuzzCheck(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "fuzz check failed: %s\n", what);
        std::abort();
    }
}
