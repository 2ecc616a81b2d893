#include "OutputNaming.h"

#include <algorithm>
#include <cstring>

namespace {

const char kCutSuffix[] = "_剪切";
// The longest file name the usual Linux file systems take, in bytes.
constexpr size_t kMaxFileNameBytes = 255;
// Room for the "_2" ... "_100000" a taken name gets.
constexpr size_t kNumberRoom = 7;

size_t NameStart(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? 0 : slash + 1;
}

// Position of the file name's last dot in path, or npos.
size_t ExtensionStart(const std::string& path) {
    const size_t dot = path.rfind('.');
    return dot == std::string::npos || dot < NameStart(path) ? std::string::npos : dot;
}

} // namespace

std::string GetFileName(const std::string& path) {
    return path.substr(NameStart(path));
}

std::string GetBaseName(const std::string& path) {
    const size_t dot = ExtensionStart(path);
    if (dot == std::string::npos) {
        return {};
    }
    const size_t start = NameStart(path);
    return path.substr(start, dot - start);
}

std::string GetExtension(const std::string& path) {
    const size_t dot = ExtensionStart(path);
    return dot == std::string::npos ? std::string() : path.substr(dot);
}

std::string MakeTimeStamp(std::time_t time) {
    std::tm local{};
    if (!localtime_r(&time, &local)) {
        return {};
    }
    char buffer[128];
    const size_t length = std::strftime(buffer, sizeof(buffer), "%m%d%H%M%S", &local);
    return std::string(buffer, length);
}

std::string BuildOutputPath(const std::string& saveFolder, const std::string& sourcePath,
                            std::time_t now) {
    const bool hasExtension = ExtensionStart(sourcePath) != std::string::npos;
    const std::string base = hasExtension ? GetBaseName(sourcePath) : GetFileName(sourcePath);
    const std::string extension = GetExtension(sourcePath);

    // A long song title is shortened (at a character boundary) rather than giving a name
    // that no file can have.
    const std::string stamp = MakeTimeStamp(now);
    const size_t fixed = std::strlen(kCutSuffix) + stamp.size() + extension.size() + kNumberRoom;
    size_t keep = std::min(base.size(), kMaxFileNameBytes - std::min(fixed, kMaxFileNameBytes));
    while (keep > 0 && keep < base.size() &&
           (static_cast<unsigned char>(base[keep]) & 0xC0) == 0x80) {
        --keep;
    }

    std::string folder = saveFolder;
    if (folder.empty() || folder.back() != '/') {
        folder += '/';
    }
    return folder + base.substr(0, keep) + kCutSuffix + stamp + extension;
}
