#pragma once
// Folder operations the settings need: create one level, test that a folder is
// there, and the user's home folder.
#include <string>

// mkdir of the path's last level only. 0 when the folder was created, otherwise
// mkdir's errno (EEXIST when something of that name is already there).
int CreateDirectory(const std::string& path);

// True when the path names an existing folder (a symbolic link to one counts).
bool FolderExists(const std::string& path);

// True when files can be created in the folder (write and search permission).
bool FolderWritable(const std::string& path);

// $HOME, or the home folder of the password database when HOME is unset or empty;
// never ends with '/' unless it is the root.
std::string GetHomeFolder();
