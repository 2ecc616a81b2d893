#pragma once
// One wrapper around dlopen/dlsym/dlclose so no other folder touches the loader.
#include <string>

class CDynamicLibrary {
public:
    CDynamicLibrary() = default;
    ~CDynamicLibrary();
    CDynamicLibrary(const CDynamicLibrary&) = delete;
    CDynamicLibrary& operator=(const CDynamicLibrary&) = delete;

    // Loads the library by full path (or by bare name through the library path).
    bool Load(const std::string& path);
    // Address of an exported symbol, or nullptr.
    void* Symbol(const char* name) const;
    void Unload();
    // Keeps the library loaded for the rest of the process, whatever happens to this object.
    void Release() { handle = nullptr; }
    // The loader's last error text, for diagnostics.
    const std::string& LastError() const { return lastError; }

private:
    void* handle = nullptr;
    std::string lastError;
};
