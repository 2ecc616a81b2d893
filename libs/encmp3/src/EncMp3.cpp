// The exported entry points; everything else in the library stays hidden.
#include "EncMp3Interface.h"
#include "EncoderStream.h"
#include "LameTagWriter.h"
#include "StreamTable.h"

#include <cstring>
#include <lame/lame.h>
#include <mutex>

using encmp3::EncoderStream;
using encmp3::EncoderThreading;
using encmp3::StreamTable;

namespace {

constexpr BYTE kLibraryMajor = 1;
constexpr BYTE kLibraryMinor = 0;
constexpr const char* kHomepage = "https://tesmira.example.org/";

// beWriteVBRHeader names no stream: it uses the last stream finished with a VBR header.
std::mutex lastTagLock;
std::vector<uint8_t> lastTagFrame;

void RememberTagFrame(const EncoderStream& stream) {
    std::vector<uint8_t> frame = stream.LameTagFrame();
    if (!frame.empty()) {
        std::lock_guard<std::mutex> guard(lastTagLock);
        lastTagFrame = std::move(frame);
    }
}

} // namespace

extern "C" {

BE_ERR beInitStream(PBE_CONFIG config, DWORD* samples, DWORD* bufferSize, HBE_STREAM* stream) {
    if (!config || !samples || !bufferSize || !stream) {
        return BE_ERR_INVALID_FORMAT_PARAMETERS;
    }
    BE_ERR error = BE_ERR_SUCCESSFUL;
    std::shared_ptr<EncoderStream> created =
        EncoderStream::Create(*config, error, EncoderThreading::OwnThread);
    if (!created) {
        return error;
    }
    *samples = created->SamplesPerChunk();
    *bufferSize = created->MinOutputBuffer();
    return StreamTable::Instance().Add(std::move(created), *stream);
}

BE_ERR beEncodeChunk(HBE_STREAM stream, DWORD samples, const int16_t* pcm, BYTE* out,
                     DWORD* produced) {
    const auto found = StreamTable::Instance().Find(stream);
    if (!found) {
        return BE_ERR_INVALID_HANDLE;
    }
    return found->Encode(samples, pcm, out, produced);
}

BE_ERR beDeinitStream(HBE_STREAM stream, BYTE* out, DWORD* produced) {
    const auto found = StreamTable::Instance().Find(stream);
    if (!found) {
        return BE_ERR_INVALID_HANDLE;
    }
    const BE_ERR error = found->Deinit(out, produced);
    if (error == BE_ERR_SUCCESSFUL) {
        RememberTagFrame(*found);
    }
    return error;
}

BE_ERR beCloseStream(HBE_STREAM stream) {
    return StreamTable::Instance().Remove(stream) ? BE_ERR_SUCCESSFUL : BE_ERR_INVALID_HANDLE;
}

void beVersion(PBE_VERSION version) {
    if (!version) {
        return;
    }
    std::memset(version, 0, sizeof(*version));
    lame_version_t lame{};
    get_lame_version_numerical(&lame);
    version->byDLLMajorVersion = kLibraryMajor;
    version->byDLLMinorVersion = kLibraryMinor;
    version->byMajorVersion = static_cast<BYTE>(lame.major);
    version->byMinorVersion = static_cast<BYTE>(lame.minor);
    // Release date of this version of the library.
    version->byDay = 1;
    version->byMonth = 6;
    version->wYear = 2024;
    std::strncpy(version->zHomepage, kHomepage, BE_MAX_HOMEPAGE);
    version->byAlphaLevel = static_cast<BYTE>(lame.alpha);
    version->byBetaLevel = static_cast<BYTE>(lame.beta);
}

BE_ERR beWriteVBRHeader(const char* path) {
    std::vector<uint8_t> frame;
    {
        std::lock_guard<std::mutex> guard(lastTagLock);
        frame = lastTagFrame;
    }
    return frame.empty() ? BE_ERR_INVALID_HANDLE : encmp3::WriteLameTagFrame(path, frame);
}

BE_ERR beWriteInfoTag(HBE_STREAM stream, const char* path) {
    const auto found = StreamTable::Instance().Remove(stream);
    if (!found) {
        return BE_ERR_INVALID_HANDLE;
    }
    const std::vector<uint8_t> frame = found->LameTagFrame();
    return frame.empty() ? BE_ERR_INVALID_FORMAT_PARAMETERS
                         : encmp3::WriteLameTagFrame(path, frame);
}

} // extern "C"
