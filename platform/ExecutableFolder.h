#pragma once
#include <string>

// Folder of the running executable, always ending with '/'.
std::string GetExecutableFolder();
