#pragma once
// The folder a cut is written into, held open: the cut's temporary file is named and removed
// there even when the folder is renamed meanwhile. A temporary file is locked for the cut's
// life, which tells a live cut's file from one left by a cut killed outright, whatever
// process-id namespace or machine the cut runs in.
#include <string>
#include <sys/types.h>

// ".NAME.tesmira-PID-RANDOM.part": hidden, and no player takes it for a song.
inline constexpr char kTemporaryMark[] = ".tesmira-";
inline constexpr char kTemporaryEnd[] = ".part";

class OutputFolder {
public:
    // path: the folder ("" for the current one). Not Opened() when it cannot be opened.
    explicit OutputFolder(const std::string& path);
    ~OutputFolder();
    OutputFolder(const OutputFolder&) = delete;
    OutputFolder& operator=(const OutputFolder&) = delete;

    bool Opened() const { return fd >= 0; }
    // For the *at() calls, with names inside the folder.
    int Fd() const { return fd; }
    // The folder's path still leads to the folder that was opened.
    bool StillAtItsPath() const;
    // Removes the temporary files of cuts that were killed outright: those nobody holds
    // locked. A file just created and not yet locked is empty and new, and is left alone;
    // on a network file system, whose locks may be only local, so is one written to within
    // the last day.
    void RemoveStaleTemporaries() const;
    // Gives the file `from` the name `to` unless `to` exists. 0 or an errno value.
    int RenameWithoutReplacing(const std::string& from, const std::string& to) const;
    // Makes the folder's entries, a new name among them, safe on disk. 0 or an errno value.
    int Sync() const;

private:
    std::string path;
    int fd = -1;
};

// Takes the temporary file's lock for the cut's life (held until fd is closed). False when
// the file system has no locks (its files are then never taken for stale) or someone else
// keeps the new file locked.
bool LockTemporary(int fd);
