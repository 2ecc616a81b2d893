// A cut that copies the source's frames (LosslessCut) into the job's output.
#include "CClipJob.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

LosslessRefusal CClipJob::CheckLosslessSource() {
    StreamLayout layout;
    if (!reader->GetLayout(layout)) {
        return LosslessRefusal::NotLayer3;
    }
    return CheckLossless(layout);
}

// 0 when the range was copied, 1 when stopped or failed.
int CClipJob::CopyFrames() {
    StreamLayout layout;
    if (!reader->GetLayout(layout)) {
        failure = ClipFailure::ReadFailed;
        return 1;
    }
    const int fd = ::open(sourcePath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    struct stat st {};
    // The frames are copied from the file the reader indexed, not one put in its place.
    if (fd < 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) ||
        !FileIdentity{st.st_dev, st.st_ino, true}.SameAs(sourceIdentity)) {
        if (fd >= 0) {
            ::close(fd);
        }
        failure = ClipFailure::ReadFailed;
        return 1;
    }
    const LosslessResult result = WriteLosslessCut(
        fd, layout, startFrame, endFrame,
        [this](const uint8_t* data, size_t size) { return encoder->AppendFrames(data, size); },
        [this](double percent) {
            std::lock_guard<std::mutex> hold(progressLock);
            progress = percent;
            return running.load();
        });
    ::close(fd);
    switch (result) {
    case LosslessResult::Done:
        return 0;
    case LosslessResult::WriteFailed:
        failure = ClipFailure::WriteFailed;
        return 1;
    case LosslessResult::Stopped:
        return 1;
    default:
        failure = ClipFailure::ReadFailed;
        return 1;
    }
}
