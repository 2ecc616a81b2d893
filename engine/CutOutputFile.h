#pragma once
// Where a cut's bytes go until the cut is complete: a hidden temporary file beside the
// destination, created exclusively. Only a complete cut is published under the real name,
// so a failed, stopped or interrupted cut never leaves a file that looks finished, and an
// existing file is never touched unless the caller asked for it to be replaced.
#include "OutputNaming.h"

#include <atomic>
#include <cstdio>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <sys/types.h>

enum class OutputMode {
    NumberedName, // a generated name: when it is taken, "_2", "_3", ... go before the extension
    NewFile,      // the name as given; never replaces a file that exists
    ReplaceFile,  // an existing regular file is replaced in one step by the complete cut
};

// Why no temporary file was made.
enum class OutputProblem {
    None,
    Exists,      // NewFile: something already has that name
    NotRegular,  // the name is a folder, FIFO, device, socket or dangling link
    IsSource,    // the name leads to the source being cut (any name, link or hard link)
    CannotCreate // the temporary file could not be created (folder missing, no permission)
};

// Why a finished output was not published (Claimed: it was).
using PublishFailure = NameClaim;

// Which step of writing the output failed, and the system's reason (an errno value or 0).
enum class OutputStep {
    None,
    Write,         // writing the bytes
    Sync,          // making them safe on disk
    TemporaryGone, // the temporary file was removed or replaced during the cut
    FolderMoved,   // the output folder was renamed or removed during the cut
    Name,          // giving the finished file its name
};
struct OutputFault {
    OutputStep step = OutputStep::None;
    int error = 0;
};

class OutputFolder;

struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    bool known = false;

    // The file the path leads to (symbolic links followed); unknown when there is none.
    static FileIdentity Of(const std::string& path);
    bool SameAs(const FileIdentity& other) const {
        return known && other.known && device == other.device && inode == other.inode;
    }
};

class CutOutputFile {
public:
    // Checks the destination and creates the temporary file; see Problem().
    CutOutputFile(const std::string& path, OutputMode mode, const FileIdentity& source);
    // Removes the temporary file unless it was published.
    ~CutOutputFile();
    CutOutputFile(const CutOutputFile&) = delete;
    CutOutputFile& operator=(const CutOutputFile&) = delete;

    OutputProblem Problem() const { return problem; }
    int CreateErrno() const { return createErrno; }
    // The temporary file; null unless Problem() is None.
    std::FILE* Stream() const { return stream; }
    // The first step of writing the output that failed; a writer reports its own failures.
    void NoteWriteFault(int error);
    OutputFault Fault() const { return {faultStep.load(), faultErrno.load()}; }

    // Flushes the written bytes to disk and gives them their name. Before each further
    // numbered name is claimed, beforeName(name) may adjust the file for it (false gives
    // up). Returns false, leaving nothing behind, when the bytes could not be made safe,
    // the temporary file was removed or replaced meanwhile, or the name was taken.
    bool Publish(const std::function<bool(const std::string&)>& beforeName);
    PublishFailure GetPublishFailure() const { return publishFailure; }
    // Empty until published.
    const std::string& PublishedPath() const { return published; }

    // Removes the temporary file; nothing is published afterwards. Safe to call from
    // another thread while the writer still runs (its stream stays open until Close).
    void Discard();
    // Closes the stream; for the writer's thread.
    void Close();

private:
    bool CheckDestination(const FileIdentity& source);
    bool CreateTemporary();
    // The destination's file name is within its file system's limit.
    bool NameFits() const;
    bool TemporaryIsOurs() const;
    PublishFailure ClaimName(const std::string& name);
    void NoteFault(OutputStep step, int error);
    // Keeps a replaced file's owner, group and permissions where the process may.
    void TakeOverAttributes(int fd) const;

    std::string requested; // the name the caller gave
    std::string target;    // the file to replace or create (a link's target for ReplaceFile)
    OutputMode mode;
    FileIdentity sourceIdentity;
    OutputProblem problem = OutputProblem::None;
    int createErrno = 0;
    std::string temporaryName; // the temporary file's name in the output folder
    std::unique_ptr<OutputFolder> folder;
    std::FILE* stream = nullptr;
    dev_t device = 0;
    ino_t inode = 0;
    std::string published;
    PublishFailure publishFailure = PublishFailure::Claimed;

    std::mutex lock; // Publish against Discard
    bool withdrawn = false;
    std::atomic<OutputStep> faultStep{OutputStep::None};
    std::atomic<int> faultErrno{0};
};
