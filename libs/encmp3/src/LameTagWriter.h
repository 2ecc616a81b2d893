#pragma once
// Puts the final Xing/LAME frame over the placeholder frame at the start of a file.
#include "EncMp3Interface.h"

#include <cstdint>
#include <vector>

namespace encmp3 {

// Refuses (and leaves the file untouched) unless the first frame after any
// ID3v2 tag is a Xing/Info placeholder of the tag frame's size.
BE_ERR WriteLameTagFrame(const char* path, const std::vector<uint8_t>& frame);

} // namespace encmp3
