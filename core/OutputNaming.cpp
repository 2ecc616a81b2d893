#include "OutputNaming.h"

#include "Utf8Cut.h"

#include <algorithm>
#include <cstring>

namespace {

const char kCutSuffix[] = "_剪切";

constexpr size_t DigitsOf(int number) {
    size_t digits = 1;
    for (; number >= 10; number /= 10) {
        ++digits;
    }
    return digits;
}
// Room for the "_2" ... a taken name gets, up to kHighestNumber.
constexpr size_t kNumberRoom = 1 + DigitsOf(kHighestNumber);

// Position of the file name's last dot in path, or npos.
size_t ExtensionStart(const std::string& path) {
    const size_t dot = path.rfind('.');
    return dot == std::string::npos || dot < FileNameStart(path) ? std::string::npos : dot;
}

// path with "_n" before the file name's extension.
std::string NumberedPath(const std::string& path, int n) {
    const size_t dot = ExtensionStart(path);
    const size_t at = dot == std::string::npos ? path.size() : dot;
    return path.substr(0, at) + "_" + std::to_string(n) + path.substr(at);
}

} // namespace

size_t FileNameStart(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? 0 : slash + 1;
}

std::string GetFileName(const std::string& path) {
    return path.substr(FileNameStart(path));
}

std::string GetBaseName(const std::string& path) {
    const size_t dot = ExtensionStart(path);
    if (dot == std::string::npos) {
        return {};
    }
    const size_t start = FileNameStart(path);
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
    const size_t room = kMaxFileNameBytes - std::min(fixed, kMaxFileNameBytes);

    std::string folder = saveFolder;
    if (folder.empty() || folder.back() != '/') {
        folder += '/';
    }
    return folder.append(CutUtf8(base, KeepSide::Start, room)) + kCutSuffix + stamp + extension;
}

std::string ClaimNumberedName(const std::string& path,
                              const std::function<NameClaim(const std::string&)>& claim) {
    for (int n = 1; n <= kHighestNumber; ++n) {
        const std::string name = n == 1 ? path : NumberedPath(path, n);
        const NameClaim result = claim(name);
        if (result != NameClaim::NameTaken) {
            return result == NameClaim::Claimed ? name : std::string();
        }
    }
    return {};
}
