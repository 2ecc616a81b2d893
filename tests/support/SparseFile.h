#pragma once
// Files of gigabytes for the size limits, made of a hole so that nothing writes or reads them.
#include <cstdint>
#include <string>

// Grows or shrinks the file at path to `bytes`, any growth a hole. False, with the file as it
// was, where the folder's file system would store the hole as written blocks (a probe file
// beside it tells) or the size cannot be set.
bool ResizeSparse(const std::string& path, uint64_t bytes);
