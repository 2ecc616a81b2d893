#include "InstallLayout.h"

#include "ExecutableFolder.h"
#include "Folders.h"

#include <filesystem>

#ifndef TESMIRA_PRIVATE_LIBDIR_FROM_BINDIR
#error "TESMIRA_PRIVATE_LIBDIR_FROM_BINDIR: the private library folder relative to the binaries"
#endif

namespace {

std::string InstalledLibraryFolder() {
    const std::filesystem::path folder =
        std::filesystem::path(GetExecutableFolder()) / TESMIRA_PRIVATE_LIBDIR_FROM_BINDIR / "";
    return folder.lexically_normal().string();
}

} // namespace

bool IsInstalledCopy() {
    return FolderExists(InstalledLibraryFolder());
}

std::string GetPrivateLibraryFolder() {
    return IsInstalledCopy() ? InstalledLibraryFolder() : GetExecutableFolder();
}
