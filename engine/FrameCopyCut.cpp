// A cut that copies the source's frames (LosslessCut) into the output.
#include "CutWork.h"
#include "LosslessCut.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

CutResult CopySourceFrames(CutWork& w) {
    StreamLayout layout;
    if (!w.reader.GetLayout(layout)) {
        return CutFailed(CutError::ReadFailed);
    }
    const int fd = ::open(w.plan->source.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    struct stat st {};
    // The frames are copied from the file the reader indexed, not one put in its place.
    if (fd < 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) ||
        !FileIdentity{st.st_dev, st.st_ino, true}.SameAs(w.sourceIdentity)) {
        if (fd >= 0) {
            ::close(fd);
        }
        return CutFailed(CutError::ReadFailed);
    }
    const LosslessResult result = WriteLosslessCut(
        fd, layout, w.startFrame, w.endFrame,
        [&w](const uint8_t* data, size_t size) { return w.encoder.AppendFrames(data, size); },
        [&w](double percent) {
            w.progress.Set(percent);
            return !w.stop.stop_requested();
        });
    ::close(fd);
    switch (result) {
    case LosslessResult::Done:
        return {};
    case LosslessResult::WriteFailed:
        return w.encoder.WriteResult();
    case LosslessResult::Stopped:
        return CutFailed(CutError::Stopped);
    default:
        return CutFailed(CutError::ReadFailed);
    }
}
