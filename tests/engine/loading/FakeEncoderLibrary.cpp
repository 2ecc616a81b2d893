// A stand-in encoder library that accepts everything and encodes nothing;
// built twice, each time without one of the entry points.
#include "EncMp3Interface.h"

#include <cstring>

extern "C" {

BE_ERR beInitStream(PBE_CONFIG, DWORD* samples, DWORD* bufferSize, HBE_STREAM* stream) {
    *samples = 2304;
    *bufferSize = 8640;
    *stream = 1;
    return BE_ERR_SUCCESSFUL;
}

BE_ERR beEncodeChunk(HBE_STREAM, DWORD, const int16_t*, BYTE*, DWORD* produced) {
    *produced = 0;
    return BE_ERR_SUCCESSFUL;
}

BE_ERR beDeinitStream(HBE_STREAM, BYTE*, DWORD* produced) {
    *produced = 0;
    return BE_ERR_SUCCESSFUL;
}

BE_ERR beCloseStream(HBE_STREAM) {
    return BE_ERR_SUCCESSFUL;
}

void beVersion(PBE_VERSION version) {
    std::memset(version, 0, sizeof(*version));
}

#ifndef WITHOUT_VBRHEADER
BE_ERR beWriteVBRHeader(const char*) {
    return BE_ERR_SUCCESSFUL;
}
#endif

#ifndef WITHOUT_INFOTAG
BE_ERR beWriteInfoTag(HBE_STREAM, const char*) {
    return BE_ERR_SUCCESSFUL;
}
#endif

} // extern "C"
