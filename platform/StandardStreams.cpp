#include "StandardStreams.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

void OpenMissingStandardStreams() {
    for (int fd = 0; fd <= 2; ++fd) {
        if (fcntl(fd, F_GETFD) != -1 || errno != EBADF) {
            continue;
        }
        // The lowest free number is fd itself. Without /dev/null (a bare chroot) a
        // descriptor that reads and writes nothing holds the place.
        int opened = ::open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
        if (opened < 0) {
            opened = ::open("/", O_PATH);
        }
        if (opened >= 0 && opened != fd) {
            dup2(opened, fd);
            ::close(opened);
        }
    }
}
