#pragma once
#include <string>

// Replaces (or creates) the file at path with contents in one step: the text goes to a
// temporary file in the same folder, is flushed to disk and then renamed over the file,
// so readers see the old file or the new one, never a part. An existing file keeps its
// permissions, and a symbolic link keeps pointing at the file it names.
bool WriteFileAtomically(const std::string& path, const std::string& contents);

// Removes the temporary files (PATH.tmp.PID.N) that writers of path left when they were
// ended while writing; a writer still running keeps its own. WriteFileAtomically does this
// first; a reader may call it too.
void RemoveStaleTemporaries(const std::string& path);
