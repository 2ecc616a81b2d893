#include "AtomicFile.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The file a symbolic link names, so the rename replaces that file and not the link.
std::string ResolveTarget(const std::string& path) {
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
        return path;
    }
    char resolved[PATH_MAX];
    return realpath(path.c_str(), resolved) ? std::string(resolved) : path;
}

const char kTemporaryMark[] = ".tmp.";

int CreateTemporary(const std::string& target, std::string& name) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = target + kTemporaryMark + std::to_string(getpid()) + "." + std::to_string(attempt);
        const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

bool WriteAll(int fd, const std::string& contents) {
    size_t done = 0;
    while (done < contents.size()) {
        const ssize_t n = write(fd, contents.data() + done, contents.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

} // namespace

void RemoveStaleTemporaries(const std::string& path) {
    const std::string target = ResolveTarget(path);
    const size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : target.substr(0, slash + 1);
    const std::string prefix =
        target.substr(slash == std::string::npos ? 0 : slash + 1) + kTemporaryMark;
    DIR* dir = opendir(folder.c_str());
    if (!dir) {
        return;
    }
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.compare(0, prefix.size(), prefix) != 0) {
            continue;
        }
        // NAME.tmp.PID.N of a process that is gone: it was ended while it wrote.
        char* end = nullptr;
        const long pid = std::strtol(name.c_str() + prefix.size(), &end, 10);
        struct stat info {};
        if (*end == '.' && pid > 0 && pid != getpid() && kill(static_cast<pid_t>(pid), 0) != 0 &&
            errno == ESRCH && fstatat(dirfd(dir), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(info.st_mode)) {
            unlinkat(dirfd(dir), name.c_str(), 0);
        }
    }
    closedir(dir);
}

bool WriteFileAtomically(const std::string& path, const std::string& contents) {
    RemoveStaleTemporaries(path);
    const std::string target = ResolveTarget(path);
    std::string temporary;
    const int fd = CreateTemporary(target, temporary);
    if (fd < 0) {
        return false;
    }
    struct stat existing {};
    bool ok = true;
    if (stat(target.c_str(), &existing) == 0) {
        ok = fchmod(fd, existing.st_mode & 07777) == 0;
    }
    ok = ok && WriteAll(fd, contents) && fsync(fd) == 0;
    ok = (close(fd) == 0) && ok;
    ok = ok && rename(temporary.c_str(), target.c_str()) == 0;
    if (!ok) {
        unlink(temporary.c_str());
    }
    return ok;
}
