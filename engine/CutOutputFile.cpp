#include "CutOutputFile.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// ".NAME.tesmira-PID-RANDOM.part": hidden, and no player takes it for a song.
const char kTemporaryMark[] = ".tesmira-";
const char kTemporaryEnd[] = ".part";
// Room for the mark, the process id and the random part within a 255-byte file name.
constexpr size_t kMaxNameInTemporary = 200;
// Numbered names tried before a cut gives up on a folder full of its namesakes.
constexpr int kMaxNumber = 100000;

size_t NameStart(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? 0 : slash + 1;
}

// The name cut short at a character boundary, so the temporary name stays valid UTF-8.
std::string ShortName(const std::string& name) {
    size_t n = std::min(name.size(), kMaxNameInTemporary);
    while (n > 0 && n < name.size() && (static_cast<unsigned char>(name[n]) & 0xC0) == 0x80) {
        --n;
    }
    return name.substr(0, n);
}

std::string RandomPart() {
    static std::atomic<uint64_t> counter{0};
    uint64_t value = 0;
    if (getrandom(&value, sizeof(value), GRND_NONBLOCK) != sizeof(value)) {
        value = static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    }
    value ^= ++counter * 0x9E3779B97F4A7C15ull;
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::string text;
    for (int i = 0; i < 8; ++i) {
        text += kLetters[value % 36];
        value /= 36;
    }
    return text;
}

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// Temporary files of cuts whose process is gone (killed outright) are removed.
void RemoveStaleTemporaries(const std::string& folder) {
    DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
    if (!dir) {
        return;
    }
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        const size_t mark = name.rfind(kTemporaryMark);
        if (name[0] != '.' || mark == std::string::npos || !EndsWith(name, kTemporaryEnd)) {
            continue;
        }
        char* end = nullptr;
        const long pid = std::strtol(name.c_str() + mark + std::strlen(kTemporaryMark), &end, 10);
        struct stat info {};
        if (*end != '-' || pid <= 0 || pid == getpid() ||
            fstatat(dirfd(dir), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISREG(info.st_mode)) {
            continue;
        }
        if (kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) {
            unlinkat(dirfd(dir), name.c_str(), 0);
        }
    }
    closedir(dir);
}

} // namespace

FileIdentity FileIdentity::Of(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return {};
    }
    return {info.st_dev, info.st_ino, true};
}

std::string NumberedPath(const std::string& path, int n) {
    if (n <= 1) {
        return path;
    }
    const size_t dot = path.rfind('.');
    const size_t at = dot == std::string::npos || dot < NameStart(path) ? path.size() : dot;
    return path.substr(0, at) + "_" + std::to_string(n) + path.substr(at);
}

CutOutputFile::CutOutputFile(const std::string& path, OutputMode outputMode,
                             const FileIdentity& source)
    : requested(path), target(path), mode(outputMode), sourceIdentity(source) {
    if (CheckDestination(source) && !CreateTemporary()) {
        problem = OutputProblem::CannotCreate;
    }
}

CutOutputFile::~CutOutputFile() {
    Discard();
    Close();
}

bool CutOutputFile::CheckDestination(const FileIdentity& source) {
    struct stat own {};
    struct stat followed {};
    const bool named = ::lstat(requested.c_str(), &own) == 0;
    const bool leads = named && ::stat(requested.c_str(), &followed) == 0;
    if (leads && FileIdentity{followed.st_dev, followed.st_ino, true}.SameAs(source)) {
        problem = OutputProblem::IsSource;
        return false;
    }
    if (!named || mode == OutputMode::NumberedName) {
        return true; // a numbered name that is taken moves on to the next number
    }
    if (!leads || !S_ISREG(followed.st_mode)) {
        problem = OutputProblem::NotRegular;
        return false;
    }
    if (mode == OutputMode::NewFile) {
        problem = OutputProblem::Exists;
        return false;
    }
    // Replacing through a symbolic link replaces the file it names, not the link.
    char resolved[PATH_MAX];
    if (S_ISLNK(own.st_mode) && ::realpath(requested.c_str(), resolved)) {
        target = resolved;
    }
    return true;
}

bool CutOutputFile::CreateTemporary() {
    // Found out now, not when the finished cut is to be named.
    if (!NameFits()) {
        createErrno = ENAMETOOLONG;
        return false;
    }
    const size_t nameStart = NameStart(target);
    const std::string folder = target.substr(0, nameStart);
    RemoveStaleTemporaries(folder);
    const std::string prefix = folder + "." + ShortName(target.substr(nameStart)) + kTemporaryMark +
                               std::to_string(getpid()) + "-";
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = prefix + RandomPart() + kTemporaryEnd;
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd < 0 && errno != EEXIST) {
            break;
        }
    }
    if (fd < 0) {
        createErrno = errno;
        temporary.clear();
        return false;
    }
    struct stat info {};
    fstat(fd, &info);
    device = info.st_dev;
    inode = info.st_ino;
    // A replaced file keeps its permissions.
    struct stat existing {};
    if (mode == OutputMode::ReplaceFile && ::stat(target.c_str(), &existing) == 0) {
        fchmod(fd, existing.st_mode & 07777);
    }
    stream = fdopen(fd, "wb");
    if (!stream) {
        createErrno = errno;
        ::close(fd);
        ::unlink(temporary.c_str());
        temporary.clear();
        return false;
    }
    return true;
}

bool CutOutputFile::NameFits() const {
    const size_t nameStart = NameStart(target);
    const std::string folder = nameStart == 0 ? "." : target.substr(0, nameStart);
    long longest = ::pathconf(folder.c_str(), _PC_NAME_MAX);
    if (longest <= 0) {
        longest = NAME_MAX;
    }
    return target.size() - nameStart <= static_cast<size_t>(longest);
}

bool CutOutputFile::TemporaryIsOurs() const {
    struct stat info {};
    return !temporary.empty() && ::lstat(temporary.c_str(), &info) == 0 && info.st_dev == device &&
           info.st_ino == inode;
}

PublishFailure CutOutputFile::ClaimName(const std::string& name) {
    if (mode == OutputMode::ReplaceFile) {
        if (FileIdentity::Of(name).SameAs(sourceIdentity)) {
            return PublishFailure::Failed;
        }
        return ::rename(temporary.c_str(), name.c_str()) == 0 ? PublishFailure::None
                                                              : PublishFailure::Failed;
    }
    if (::renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, name.c_str(), RENAME_NOREPLACE) == 0) {
        return PublishFailure::None;
    }
    if (errno == EEXIST) {
        return PublishFailure::NameTaken;
    }
    if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP) {
        return PublishFailure::Failed;
    }
    // A file system without that rename: claim the name by creating it exclusively, then
    // put the cut in its place.
    const int claim = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (claim < 0) {
        return errno == EEXIST ? PublishFailure::NameTaken : PublishFailure::Failed;
    }
    ::close(claim);
    if (::rename(temporary.c_str(), name.c_str()) != 0) {
        ::unlink(name.c_str());
        return PublishFailure::Failed;
    }
    return PublishFailure::None;
}

bool CutOutputFile::Publish(const std::function<bool(const std::string&)>& beforeName) {
    std::lock_guard<std::mutex> hold(lock);
    publishFailure = PublishFailure::Failed;
    // Made safe on disk first: a published cut survives a crash whole.
    if (!withdrawn && stream && std::fflush(stream) == 0 && fsync(fileno(stream)) == 0 &&
        TemporaryIsOurs()) {
        const int last = mode == OutputMode::NumberedName ? kMaxNumber : 1;
        publishFailure = PublishFailure::NameTaken;
        for (int n = 1; n <= last && publishFailure == PublishFailure::NameTaken; ++n) {
            const std::string name = NumberedPath(requested, n);
            if (n > 1 && beforeName && !beforeName(name)) {
                publishFailure = PublishFailure::Failed;
                break;
            }
            publishFailure = ClaimName(mode == OutputMode::ReplaceFile ? target : name);
            if (publishFailure == PublishFailure::None) {
                published = name;
            }
        }
    }
    Close();
    if (published.empty() && TemporaryIsOurs()) {
        ::unlink(temporary.c_str());
    }
    withdrawn = true;
    return !published.empty();
}

void CutOutputFile::Discard() {
    std::lock_guard<std::mutex> hold(lock);
    if (!withdrawn && published.empty() && TemporaryIsOurs()) {
        ::unlink(temporary.c_str());
    }
    withdrawn = true;
}

void CutOutputFile::Close() {
    if (stream) {
        std::fclose(stream);
        stream = nullptr;
    }
}
