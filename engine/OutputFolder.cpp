#include "OutputFolder.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <linux/magic.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

namespace {

// A file just created is locked within microseconds; until its first write it is empty.
constexpr time_t kNewFileSec = 60;
// A live cut writes every block; on a network file system a day without a write is proof.
constexpr time_t kNetworkQuietSec = 24 * 60 * 60;

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

bool IsTemporaryName(const std::string& name) {
    return name.size() > 1 && name[0] == '.' && name.find(kTemporaryMark) != std::string::npos &&
           EndsWith(name, kTemporaryEnd);
}

// Network and user-space file systems, whose locks other machines may not see.
bool OnNetworkFileSystem(int fd) {
    struct statfs info {};
    if (fstatfs(fd, &info) != 0) {
        return true;
    }
    switch (static_cast<unsigned long>(info.f_type)) {
    case NFS_SUPER_MAGIC:
    case SMB_SUPER_MAGIC:
    case 0xFF534D42ul: // CIFS
    case 0xFE534D42ul: // SMB2
    case 0x65735546ul: // FUSE (sshfs and the like)
    case CEPH_SUPER_MAGIC:
    case AFS_SUPER_MAGIC:
    case CODA_SUPER_MAGIC:
    case V9FS_MAGIC:
    case 0x01161970ul: // GFS2
    case 0x7461636Ful: // OCFS2
        return true;
    default:
        return false;
    }
}

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

} // namespace

OutputFolder::OutputFolder(const std::string& folder) : path(folder.empty() ? "." : folder) {
    fd = ::open(path.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
}

OutputFolder::~OutputFolder() {
    if (fd >= 0) {
        ::close(fd);
    }
}

bool OutputFolder::StillAtItsPath() const {
    struct stat opened {};
    struct stat named {};
    return fd >= 0 && fstat(fd, &opened) == 0 && ::stat(path.c_str(), &named) == 0 &&
           SameFile(opened, named);
}

void OutputFolder::RemoveStaleTemporaries() const {
    const int listFd = fd < 0 ? -1 : ::openat(fd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* dir = listFd < 0 ? nullptr : fdopendir(listFd);
    if (!dir) {
        if (listFd >= 0) {
            ::close(listFd);
        }
        return;
    }
    const bool network = OnNetworkFileSystem(listFd);
    const time_t now = std::time(nullptr);
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        struct stat named {};
        if (!IsTemporaryName(name) ||
            fstatat(listFd, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISREG(named.st_mode)) {
            continue;
        }
        // Write access, as a lock over NFS needs; a file we may not write we leave alone.
        const int file = ::openat(listFd, name.c_str(),
                                  O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        struct stat info {};
        if (file < 0) {
            continue;
        }
        const bool stale = fstat(file, &info) == 0 && SameFile(info, named) &&
                           flock(file, LOCK_EX | LOCK_NB) == 0 &&
                           (info.st_size > 0 || now - info.st_mtime > kNewFileSec) &&
                           (!network || now - info.st_mtime > kNetworkQuietSec);
        // Removed while the lock is held, and only if the name still leads to that file.
        if (stale && fstatat(listFd, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
            SameFile(info, named)) {
            unlinkat(listFd, name.c_str(), 0);
        }
        ::close(file);
    }
    closedir(dir);
}

int OutputFolder::RenameWithoutReplacing(const std::string& from, const std::string& to) const {
    if (renameat2(fd, from.c_str(), fd, to.c_str(), RENAME_NOREPLACE) == 0) {
        return 0;
    }
    if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP) {
        return errno;
    }
    // A file system without that rename: a second link is made only where no name is.
    // Killed before the temporary name goes, the complete cut has its name, and the
    // temporary name is removed by the next cut as stale.
    if (linkat(fd, from.c_str(), fd, to.c_str(), 0) != 0) {
        return errno;
    }
    unlinkat(fd, from.c_str(), 0);
    return 0;
}

int OutputFolder::Sync() const {
    // The folder is held for its path only, which cannot be synced: opened once more for it.
    const int dirFd = fd < 0 ? -1 : ::openat(fd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd < 0) {
        return errno;
    }
    const int error = fsync(dirFd) == 0 ? 0 : errno;
    ::close(dirFd);
    return error;
}

bool LockTemporary(int fd) {
    // Another cut checking the new file holds the lock for a moment; anyone holding it
    // longer shall not stall the cut.
    for (int attempt = 0; attempt < 200; ++attempt) {
        if (flock(fd, LOCK_EX | LOCK_NB) == 0) {
            return true;
        }
        if (errno != EWOULDBLOCK && errno != EINTR) {
            return false;
        }
        usleep(1000);
    }
    return false;
}
