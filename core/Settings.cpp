#include "Settings.h"

#include "AtomicFile.h"
#include "ExecutableFolder.h"
#include "Folders.h"
#include "IniFile.h"
#include "InstallLayout.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace {

const char kSettingsFileName[] = "Set.ini";
const char kSettingsSection[] = "PLAYERSET";
const char kSaveFolderKey[] = "EditDir";
const char kDefaultFolderName[] = "剪切";

std::string Join(const std::string& folder, const std::string& name) {
    return !folder.empty() && folder.back() == '/' ? folder + name : folder + "/" + name;
}

} // namespace

SettingsEnvironment SettingsEnvironment::FromProcess() {
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    return {GetExecutableFolder(), GetHomeFolder(), configHome ? configHome : "",
            IsInstalledCopy()};
}

Settings::Settings(SettingsEnvironment env) : environment(std::move(env)) {
    // An installed copy never writes into its installation, even when run as root.
    settingsPath = !environment.installedCopy && FolderWritable(environment.executableFolder)
                       ? Join(environment.executableFolder, kSettingsFileName)
                       : Join(ConfigFolder(), kSettingsFileName);
    saveFolder = DefaultSaveFolder();
}

std::string Settings::ConfigFolder() const {
    // A relative XDG_CONFIG_HOME is invalid and ignored.
    const std::string& configHome = environment.configHome;
    const std::string base = !configHome.empty() && configHome.front() == '/'
                                 ? configHome
                                 : Join(environment.homeFolder, ".config");
    return Join(base, "tesmira");
}

std::string Settings::DefaultSaveFolder() const {
    return Join(environment.homeFolder, kDefaultFolderName);
}

void Settings::LoadSettings() {
    RemoveStaleTemporaries(settingsPath); // left by a program ended while it wrote
    const IniFile file(settingsPath);
    saveFolder = file.ReadString(kSettingsSection, kSaveFolderKey, DefaultSaveFolder());
    if (!CheckFolder(saveFolder)) {
        saveFolder = DefaultSaveFolder();
    }
    CreateDirectory(saveFolder); // only the last level; an existing folder is fine
}

bool Settings::CheckFolder(const std::string& path) {
    if (path.empty()) {
        return false;
    }
    // A file of that name is no folder, although mkdir reports it as existing.
    return CreateDirectory(path) == 0 || FolderExists(path);
}

bool Settings::SetSaveFolder(const std::string& path) {
    saveFolder = path;
    const std::filesystem::path folder = std::filesystem::path(settingsPath).parent_path();
    std::error_code error;
    std::filesystem::create_directories(folder, error); // the configuration folder may be new
    return IniFile(settingsPath).WriteString(kSettingsSection, kSaveFolderKey, path);
}
