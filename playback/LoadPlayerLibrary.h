#pragma once
// Binds the player library: loaded once by full path and never unloaded.
#include "PlayerApi.h"

#include <string>

// Loads the library at path and stores each export, looked up by its name, in its entry of
// table. A library that does not load is reported with the message box "Plovex.dll打开失败!"
// (no owner window); missing exports are not reported. Either way every entry left empty gets
// its no-file stand-in, so the table is always safe to call.
// True when the library loaded and every export was found.
bool LoadPlayerLibrary(const std::string& path, PlayerApi& table);
