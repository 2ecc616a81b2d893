#pragma once
// Test seam: the encoder library's file. An empty path restores the usual search
// (beside the executable, then the library path). Setting it forgets a binding
// made before, so the next LoadEncoderLibrary loads from the new place.
#include <string>

void SetEncoderLibraryPathForTesting(const std::string& path);
