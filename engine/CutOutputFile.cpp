#include "CutOutputFile.h"

#include "OutputFolder.h"
#include "Utf8Cut.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Room for the mark, the process id and the random part within the longest file name.
constexpr size_t kMaxNameInTemporary = kMaxFileNameBytes - 55;

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

} // namespace

FileIdentity FileIdentity::Of(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return {};
    }
    return {info.st_dev, info.st_ino, true};
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
    const size_t nameStart = FileNameStart(target);
    folder = std::make_unique<OutputFolder>(target.substr(0, nameStart));
    if (!folder->Opened()) {
        createErrno = errno;
        return false;
    }
    folder->RemoveStaleTemporaries();
    // Appended piece by piece: GCC 12 at -O3 flags "." + string with a false -Wrestrict.
    std::string prefix = ".";
    // Cut short at a character boundary, so the temporary name stays valid UTF-8.
    prefix += CutUtf8(target.substr(nameStart), KeepSide::Start, kMaxNameInTemporary);
    prefix += kTemporaryMark;
    prefix += std::to_string(getpid());
    prefix += "-";
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporaryName = prefix + RandomPart() + kTemporaryEnd;
        fd = ::openat(folder->Fd(), temporaryName.c_str(),
                      O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd < 0 && errno != EEXIST) {
            break;
        }
    }
    if (fd < 0) {
        createErrno = errno;
        temporaryName.clear();
        return false;
    }
    // Held until the stream closes: no other cut takes this file for a stale one.
    LockTemporary(fd);
    struct stat info {};
    fstat(fd, &info);
    device = info.st_dev;
    inode = info.st_ino;
    // A replaced file's permissions hold from the start; owner and set-id bits follow once
    // the cut is written.
    struct stat existing {};
    if (mode == OutputMode::ReplaceFile && ::stat(target.c_str(), &existing) == 0) {
        fchmod(fd, existing.st_mode & 0777);
    }
    stream = fdopen(fd, "wb");
    if (!stream) {
        createErrno = errno;
        ::close(fd);
        unlinkat(folder->Fd(), temporaryName.c_str(), 0);
        temporaryName.clear();
        return false;
    }
    return true;
}

// Root replacing a user's file gives it back to that user; whoever cannot give a file away
// keeps at least the group where allowed. Set-user-id and set-group-id bits stay only with
// the owner and group they were given for; set after the last write, which would clear them.
void CutOutputFile::TakeOverAttributes(int fd) const {
    struct stat existing {};
    const std::string name = target.substr(FileNameStart(target));
    if (fstatat(folder->Fd(), name.c_str(), &existing, 0) != 0) {
        return;
    }
    if (fchown(fd, existing.st_uid, existing.st_gid) != 0) {
        (void)fchown(fd, static_cast<uid_t>(-1), existing.st_gid);
    }
    struct stat made {};
    mode_t bits = existing.st_mode & 07777;
    if (fstat(fd, &made) != 0 || made.st_uid != existing.st_uid) {
        bits &= ~static_cast<mode_t>(S_ISUID | S_ISGID);
    }
    if (made.st_gid != existing.st_gid) {
        bits &= ~static_cast<mode_t>(S_ISGID);
    }
    fchmod(fd, bits);
}

bool CutOutputFile::NameFits() const {
    const size_t nameStart = FileNameStart(target);
    const std::string folderPath = nameStart == 0 ? "." : target.substr(0, nameStart);
    long longest = ::pathconf(folderPath.c_str(), _PC_NAME_MAX);
    if (longest <= 0) {
        longest = NAME_MAX;
    }
    return target.size() - nameStart <= static_cast<size_t>(longest);
}

bool CutOutputFile::TemporaryIsOurs() const {
    struct stat info {};
    return !temporaryName.empty() &&
           fstatat(folder->Fd(), temporaryName.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 &&
           info.st_dev == device && info.st_ino == inode;
}

void CutOutputFile::NoteFault(OutputStep step, int error) {
    OutputStep none = OutputStep::None;
    if (faultStep.compare_exchange_strong(none, step)) {
        faultErrno = error;
    }
}

void CutOutputFile::NoteWriteFault(int error) {
    NoteFault(OutputStep::Write, error);
}

PublishFailure CutOutputFile::ClaimName(const std::string& name) {
    const std::string inFolder = name.substr(FileNameStart(name));
    int error = 0;
    if (mode == OutputMode::ReplaceFile) {
        struct stat info {};
        if (fstatat(folder->Fd(), inFolder.c_str(), &info, 0) == 0 &&
            FileIdentity{info.st_dev, info.st_ino, true}.SameAs(sourceIdentity)) {
            return PublishFailure::Failed;
        }
        if (renameat(folder->Fd(), temporaryName.c_str(), folder->Fd(), inFolder.c_str()) == 0) {
            return PublishFailure::Claimed;
        }
        error = errno;
    } else {
        error = folder->RenameWithoutReplacing(temporaryName, inFolder);
        if (error == 0) {
            return PublishFailure::Claimed;
        }
        if (error == EEXIST) {
            return PublishFailure::NameTaken;
        }
    }
    NoteFault(OutputStep::Name, error);
    return PublishFailure::Failed;
}

bool CutOutputFile::Publish(const std::function<bool(const std::string&)>& beforeName) {
    std::lock_guard<std::mutex> hold(lock);
    publishFailure = PublishFailure::Failed;
    // Made safe on disk first: a published cut survives a crash whole.
    if (withdrawn || !stream) {
        // Discarded: nothing failed, the cut was given up.
    } else if (std::fflush(stream) != 0 || fsync(fileno(stream)) != 0) {
        NoteFault(OutputStep::Sync, errno);
    } else if (!folder->StillAtItsPath()) {
        // Named there, the cut would not be where it is reported.
        NoteFault(OutputStep::FolderMoved, 0);
    } else if (!TemporaryIsOurs()) {
        NoteFault(OutputStep::TemporaryGone, 0);
    } else {
        if (mode == OutputMode::ReplaceFile) {
            TakeOverAttributes(fileno(stream));
        }
        const auto claim = [&](const std::string& name) {
            if (name != requested && beforeName && !beforeName(name)) {
                return publishFailure = PublishFailure::Failed;
            }
            return publishFailure = ClaimName(mode == OutputMode::ReplaceFile ? target : name);
        };
        if (mode == OutputMode::NumberedName) {
            published = ClaimNumberedName(requested, claim);
        } else if (claim(requested) == PublishFailure::Claimed) {
            published = requested;
        }
        // The new name survives a crash too; a folder that cannot be synced leaves it as
        // safe as its file system keeps names.
        if (!published.empty()) {
            folder->Sync();
        }
    }
    // Removed while still locked, so no other cut takes it meanwhile.
    if (published.empty() && TemporaryIsOurs()) {
        unlinkat(folder->Fd(), temporaryName.c_str(), 0);
    }
    Close();
    withdrawn = true;
    return !published.empty();
}

void CutOutputFile::Discard() {
    std::lock_guard<std::mutex> hold(lock);
    if (!withdrawn && published.empty() && TemporaryIsOurs()) {
        unlinkat(folder->Fd(), temporaryName.c_str(), 0);
    }
    withdrawn = true;
}

void CutOutputFile::Close() {
    if (stream) {
        std::fclose(stream);
        stream = nullptr;
    }
}
