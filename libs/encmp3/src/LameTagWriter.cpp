#include "LameTagWriter.h"

#include <cstdio>
#include <cstring>

namespace encmp3 {
namespace {

long Id3v2Size(const uint8_t* head) {
    if (std::memcmp(head, "ID3", 3) != 0) {
        return 0;
    }
    const long body = (long{head[6] & 0x7F} << 21) | (long{head[7] & 0x7F} << 14) |
                      (long{head[8] & 0x7F} << 7) | long{head[9] & 0x7F};
    const long footer = (head[5] & 0x10) ? 10 : 0;
    return 10 + body + footer;
}

// libmp3lame reserves the frame with the tag's own header and a zero body, and
// a tag written before carries "Xing" or "Info"; audio frames have neither.
bool IsPlaceholder(const std::vector<uint8_t>& found, const std::vector<uint8_t>& frame) {
    if (found.size() < 4 || std::memcmp(found.data(), frame.data(), 4) != 0) {
        return false;
    }
    bool zeroBody = true;
    for (size_t i = 4; i < found.size() && zeroBody; ++i) {
        zeroBody = found[i] == 0;
    }
    if (zeroBody) {
        return true;
    }
    for (size_t i = 4; i + 4 <= found.size() && i < 64; ++i) {
        if (std::memcmp(&found[i], "Xing", 4) == 0 || std::memcmp(&found[i], "Info", 4) == 0) {
            return true;
        }
    }
    return false;
}

bool OverwriteAt(FILE* file, long offset, const std::vector<uint8_t>& frame) {
    std::vector<uint8_t> found(frame.size());
    if (std::fseek(file, offset, SEEK_SET) != 0 ||
        std::fread(found.data(), 1, found.size(), file) != found.size() ||
        !IsPlaceholder(found, frame)) {
        return false;
    }
    return std::fseek(file, offset, SEEK_SET) == 0 &&
           std::fwrite(frame.data(), 1, frame.size(), file) == frame.size();
}

} // namespace

BE_ERR WriteLameTagFrame(const char* path, const std::vector<uint8_t>& frame) {
    if (!path || frame.empty()) {
        return BE_ERR_INVALID_FORMAT_PARAMETERS;
    }
    FILE* file = std::fopen(path, "r+b");
    if (!file) {
        return BE_ERR_INVALID_FORMAT_PARAMETERS;
    }
    uint8_t head[10] = {};
    const bool headRead = std::fread(head, 1, sizeof(head), file) == sizeof(head);
    bool ok = headRead && OverwriteAt(file, Id3v2Size(head), frame);
    ok = (std::fclose(file) == 0) && ok;
    return ok ? BE_ERR_SUCCESSFUL : BE_ERR_INVALID_FORMAT_PARAMETERS;
}

} // namespace encmp3
