#include "Folders.h"

#include <cerrno>
#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

int CreateDirectory(const std::string& path) {
    if (path.empty()) {
        return ENOENT;
    }
    return mkdir(path.c_str(), 0777) == 0 ? 0 : errno;
}

bool FolderExists(const std::string& path) {
    struct stat info {};
    return !path.empty() && stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool FolderWritable(const std::string& path) {
    return FolderExists(path) && access(path.c_str(), W_OK | X_OK) == 0;
}

namespace {

std::string HomeFromPasswordDatabase() {
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<size_t>(size) : 16384);
    struct passwd entry {};
    struct passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found ||
        !found->pw_dir) {
        return {};
    }
    return found->pw_dir;
}

} // namespace

std::string GetHomeFolder() {
    const char* env = std::getenv("HOME");
    std::string home = env && *env ? std::string(env) : HomeFromPasswordDatabase();
    if (home.empty()) {
        return "/";
    }
    while (home.size() > 1 && home.back() == '/') {
        home.pop_back();
    }
    return home;
}
