#include "LoadPlayerLibrary.h"

#include "DynamicLibrary.h"
#include "MessageBox.h"

#include <QString>

bool LoadPlayerLibrary(const std::string& path, PlayerApi& table) {
    CDynamicLibrary library;
    if (!library.Load(path)) {
        ShowMessageBox(nullptr, QString::fromUtf8("Plovex.dll打开失败!"));
        FillMissingPlayerEntries(table);
        return false;
    }
    bool complete = true;
#define TESMIRA_BIND_PLAYER_EXPORT(name)                                                           \
    table.name = reinterpret_cast<PlovexFn_##name>(library.Symbol(#name));                         \
    complete = complete && table.name != nullptr;
    PLOVEX1_EXPORTS(TESMIRA_BIND_PLAYER_EXPORT)
#undef TESMIRA_BIND_PLAYER_EXPORT
    // The process keeps the library until it ends.
    library.Release();
    FillMissingPlayerEntries(table);
    return complete;
}
