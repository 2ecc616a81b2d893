#include "DynamicLibrary.h"

#include <dlfcn.h>

CDynamicLibrary::~CDynamicLibrary() {
    Unload();
}

bool CDynamicLibrary::Load(const std::string& path) {
    Unload();
    handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* err = dlerror();
        lastError = err ? err : "dlopen failed";
        return false;
    }
    lastError.clear();
    return true;
}

void* CDynamicLibrary::Symbol(const char* name) const {
    return handle ? dlsym(handle, name) : nullptr;
}

void CDynamicLibrary::Unload() {
    if (handle) {
        dlclose(handle);
        handle = nullptr;
    }
}
