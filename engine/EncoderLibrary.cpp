#include "EncoderLibrary.h"

#include "DynamicLibrary.h"
#include "InstallLayout.h"

#include <map>
#include <mutex>
#include <string>

namespace {

constexpr const char* kLibraryName = "libencmp3.so";

std::mutex libraryLock;
std::map<std::string, EncoderEntryPoints> boundByPath; // under libraryLock

template <typename T> void Resolve(const CDynamicLibrary& library, const char* name, T& entry) {
    entry = reinterpret_cast<T>(library.Symbol(name));
}

bool OpenLibrary(CDynamicLibrary& library, const std::string& path) {
    if (!path.empty()) {
        return library.Load(path);
    }
    // Our own copy (beside the executable, or in an installed copy's private folder) comes
    // first, then the library path.
    return library.Load(GetPrivateLibraryFolder() + kLibraryName) || library.Load(kLibraryName);
}

EncoderEntryPoints ResolveAll(const CDynamicLibrary& library) {
    EncoderEntryPoints found;
    Resolve(library, TEXT_BEINITSTREAM, found.beInitStream);
    Resolve(library, TEXT_BEENCODECHUNK, found.beEncodeChunk);
    Resolve(library, TEXT_BEDEINITSTREAM, found.beDeinitStream);
    Resolve(library, TEXT_BECLOSESTREAM, found.beCloseStream);
    Resolve(library, TEXT_BEVERSION, found.beVersion);
    Resolve(library, TEXT_BEWRITEVBRHEADER, found.beWriteVBRHeader);
    Resolve(library, TEXT_BEWRITEINFOTAG, found.beWriteInfoTag);
    return found;
}

bool HasRequired(const EncoderEntryPoints& found) {
    return found.beInitStream && found.beEncodeChunk && found.beDeinitStream &&
           found.beCloseStream && found.beVersion && found.beWriteVBRHeader;
}

} // namespace

const EncoderEntryPoints* LoadEncoderLibrary(const std::string& path, CutResult& failure) {
    std::lock_guard<std::mutex> guard(libraryLock);
    if (const auto bound = boundByPath.find(path); bound != boundByPath.end()) {
        return &bound->second;
    }
    CDynamicLibrary library; // unloads itself unless released below
    if (!OpenLibrary(library, path)) {
        failure = CutFailed(CutError::EncoderLibraryMissing, 0, path);
        return nullptr;
    }
    const EncoderEntryPoints found = ResolveAll(library);
    if (!HasRequired(found)) {
        failure = CutFailed(CutError::EncoderLibraryIncomplete, 0, path);
        return nullptr;
    }
    library.Release();
    // std::map keeps the entry where it is, so the pointer stays valid.
    return &boundByPath.emplace(path, found).first->second;
}
