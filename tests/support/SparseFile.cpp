#include "SparseFile.h"

#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Whether a 64 MiB hole in a new file beside path takes (almost) no blocks.
bool KeepsHolesBeside(const std::string& path) {
    const std::string probe = path + ".sparse-probe";
    const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
        return false;
    }
    struct stat st {};
    const bool sparse = ::ftruncate(fd, off_t{64} << 20) == 0 && ::fstat(fd, &st) == 0 &&
                        static_cast<uint64_t>(st.st_blocks) * 512 < (1u << 20);
    ::close(fd);
    std::remove(probe.c_str());
    return sparse;
}

} // namespace

bool ResizeSparse(const std::string& path, uint64_t bytes) {
    return KeepsHolesBeside(path) && ::truncate(path.c_str(), static_cast<off_t>(bytes)) == 0;
}
