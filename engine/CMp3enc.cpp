#include "CMp3enc.h"

#include "Id3v1Tag.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace {

// A block whose worst-case MP3 size could pass the output buffer is fed in
// pieces (the library's bound is 1.25 bytes per sample frame + 7200).
constexpr uint32_t kMaxSamplesPerCall = 262144;

} // namespace

CMp3enc::CMp3enc(bool& ok, const char* outputPath, int sampleRate, int channels,
                 const std::string& libraryPath, OutputMode mode, const FileIdentity& source) {
    ok = false;
    api = LoadEncoderLibrary(libraryPath);
    FillConfig(sampleRate, channels);
    api.beInitStream(&config, &samplesPerChunk, &outputBufferSize, &stream);
    try {
        outputBuffer = std::make_unique<uint8_t[]>(kOutputBufferSize);
        // A path that does not fit the field is refused rather than cut short.
        if (outputPath && std::strlen(outputPath) < sizeof(path)) {
            std::strcpy(path, outputPath);
            output = std::make_shared<CutOutputFile>(path, mode, source);
            problem = output->Problem();
            file = output->Stream();
            createErrno = output->CreateErrno();
            ok = file != nullptr;
        } else {
            createErrno = ENAMETOOLONG;
        }
    } catch (...) {
        api.beCloseStream(stream);
        throw;
    }
}

CMp3enc::~CMp3enc() {
    if (!finished) {
        DiscardOutput();
    }
    api.beCloseStream(stream);
}

void CMp3enc::FillConfig(int sampleRate, int channels) {
    std::memset(&config, 0, sizeof(config));
    config.dwConfig = BE_CONFIG_LAME;
    auto& c = config.format.LHV1;
    c.dwStructVersion = 1;
    c.dwStructSize = sizeof(BE_CONFIG);
    c.dwSampleRate = static_cast<DWORD>(sampleRate);
    c.dwReSampleRate = 0;
    c.nMode = channels == 1 ? BE_MP3_MODE_MONO : BE_MP3_MODE_STEREO;
    c.dwBitrate = 320;
    c.nPreset = LQP_NORMAL_QUALITY;
    c.dwMpegVersion = MPEG1;
    c.bPrivate = 1;
    c.bCRC = 0;
    c.bCopyright = 1;
    c.bOriginal = 1;
    c.bWriteVBRHeader = 0;
    c.bEnableVBR = 0;
    c.bNoRes = 1;
    c.nQuality = 0;
}

bool CMp3enc::WriteBytes(const void* data, size_t size) {
    if (size > 0 && std::fwrite(data, 1, size, file) != size) {
        writeError = true;
        output->NoteWriteFault(errno);
    }
    return !writeError;
}

bool CMp3enc::WriteEncoded(const int16_t* samples, uint32_t count) {
    DWORD produced = 0;
    if (api.beEncodeChunk(stream, count, samples, outputBuffer.get(), &produced) !=
        BE_ERR_SUCCESSFUL) {
        encodeError = true;
        return false;
    }
    return !file || WriteBytes(outputBuffer.get(), produced);
}

bool CMp3enc::EncodeChunk(const uint8_t* pcm, uint32_t bytes) {
    const auto* samples = reinterpret_cast<const int16_t*>(pcm);
    uint32_t left = bytes / 2;
    do {
        const uint32_t count = std::min(left, kMaxSamplesPerCall);
        if (!WriteEncoded(samples, count)) {
            return false;
        }
        samples += count;
        left -= count;
    } while (left > 0);
    return true;
}

bool CMp3enc::WriteLeadingTag(const std::vector<uint8_t>& tag, TagForName forName) {
    leadingTagFor = std::move(forName);
    leadingTagSize = tag.size();
    return file && WriteBytes(tag.data(), tag.size());
}

bool CMp3enc::AppendFrames(const uint8_t* frames, size_t bytes) {
    framesAppended = true;
    return file && WriteBytes(frames, bytes);
}

bool CMp3enc::Finish() {
    if (finished) {
        return finishResult;
    }
    finished = true;
    if (!file) {
        finishResult = false;
        return false;
    }
    // The encoder still holds the last frames: they belong before the tag. They come in
    // pieces no larger than the buffer the library asked for.
    while (!framesAppended) {
        DWORD produced = 0;
        if (api.beDeinitStream(stream, outputBuffer.get(), &produced) != BE_ERR_SUCCESSFUL) {
            encodeError = true;
            break;
        }
        if (produced == 0 || !WriteBytes(outputBuffer.get(), produced)) {
            break;
        }
    }
    uint8_t tag[kId3v1TagSize];
    MakeId3v1Tag(path, tag);
    tagOffset = std::ftell(file);
    WriteBytes(tag, sizeof(tag));
    if (std::fflush(file) != 0) {
        writeError = true;
        output->NoteWriteFault(errno);
    }
    finishResult = !writeError && !encodeError &&
                   output->Publish([this](const std::string& name) { return RetitleFor(name); });
    file = nullptr;
    if (!finishResult) {
        output->Discard();
    }
    output->Close();
    return finishResult;
}

// The tag's title follows the name the file finally gets.
bool CMp3enc::RetitleFor(const std::string& name) {
    uint8_t tag[kId3v1TagSize];
    MakeId3v1Tag(name, tag);
    constexpr size_t kTitleOffset = 3;
    constexpr size_t kTitleSize = 30;
    if (leadingTagFor) {
        const std::vector<uint8_t> leading = leadingTagFor(name);
        if (leading.size() == leadingTagSize && pwrite(fileno(file), leading.data(), leading.size(),
                                                       0) != static_cast<ssize_t>(leading.size())) {
            return false;
        }
    }
    return tagOffset >= 0 &&
           pwrite(fileno(file), tag + kTitleOffset, kTitleSize,
                  tagOffset + static_cast<long>(kTitleOffset)) == static_cast<ssize_t>(kTitleSize);
}

void CMp3enc::DiscardOutput() {
    finished = true;
    finishResult = false;
    file = nullptr;
    if (output) {
        output->Discard();
        output->Close();
    }
}
