#pragma once
// The program's one setting, the save folder, and the file that keeps it.
#include <string>

// Where the settings come from; the process's own values by default, others in tests.
struct SettingsEnvironment {
    std::string executableFolder; // ends with '/'
    std::string homeFolder;
    std::string configHome;     // $XDG_CONFIG_HOME, empty when unset
    bool installedCopy = false; // settings then always live in the configuration folder

    static SettingsEnvironment FromProcess();
};

class Settings {
public:
    explicit Settings(SettingsEnvironment environment = SettingsEnvironment::FromProcess());

    // Reads the save folder from the settings file, falls back to the default folder when
    // the stored one cannot be used, and creates the folder's last level.
    void LoadSettings();

    // Passes for an existing folder and for one whose last level could be created.
    static bool CheckFolder(const std::string& path);

    // The folder the user picked: kept and written to the settings file, neither created
    // nor tested. The result of the write is returned (callers may ignore it).
    bool SetSaveFolder(const std::string& path);

    const std::string& SaveFolder() const { return saveFolder; }
    // Set.ini beside the executable, or under the user's configuration folder for an
    // installed copy and when the executable's folder cannot be written.
    const std::string& SettingsPath() const { return settingsPath; }
    // "剪切" in the home folder.
    std::string DefaultSaveFolder() const;

private:
    std::string ConfigFolder() const;

    SettingsEnvironment environment;
    std::string settingsPath;
    std::string saveFolder;
};
