#include "CMp3enc.h"

#include "EncoderConfig.h"
#include "Id3v1Tag.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace {

// A block whose worst-case MP3 size could pass the output buffer is fed in
// pieces (the library's bound is 1.25 bytes per sample frame + 7200).
constexpr uint32_t kMaxSamplesPerCall = 262144;

size_t WorstCaseBytes(uint32_t samples) {
    return samples + samples / 4 + 7200;
}

} // namespace

CMp3enc::CMp3enc(const std::string& outputPath, int sampleRate, int channels,
                 const std::string& libraryPath, OutputMode mode, const FileIdentity& source)
    : path(outputPath) {
    opened = Open(sampleRate, channels, libraryPath, mode, source);
}

CutResult CMp3enc::Open(int sampleRate, int channels, const std::string& libraryPath,
                        OutputMode mode, const FileIdentity& source) {
    CutResult failure;
    api = LoadEncoderLibrary(libraryPath, failure);
    if (api == nullptr) {
        return failure;
    }
    config = MakeCutEncoderConfig(sampleRate, channels);
    DWORD bufferBytes = 0;
    if (api->beInitStream(&config, &samplesPerChunk, &bufferBytes, &stream) != BE_ERR_SUCCESSFUL) {
        return CutFailed(CutError::EncoderStreamRefused);
    }
    streamOpen = true;
    // Room for what the stream asks for, and for the largest piece EncodeChunk feeds it.
    outputBuffer.resize(std::max<size_t>(bufferBytes, WorstCaseBytes(kMaxSamplesPerCall)));
    if (path.size() > kMaxPathBytes) {
        return CutFailed(CutError::OutputCannotCreate, ENAMETOOLONG, path);
    }
    output = std::make_unique<CutOutputFile>(path, mode, source);
    file = output->Stream();
    switch (output->Problem()) {
    case OutputProblem::None:
        return {};
    case OutputProblem::Exists:
        return CutFailed(CutError::OutputExists, 0, path);
    case OutputProblem::NotRegular:
        return CutFailed(CutError::OutputNotRegular, 0, path);
    case OutputProblem::IsSource:
        return CutFailed(CutError::OutputIsSource, 0, path);
    case OutputProblem::CannotCreate:
        break;
    }
    return CutFailed(CutError::OutputCannotCreate, output->CreateErrno(), path);
}

CutResult CMp3enc::WriteResult() const {
    if (encodeError) {
        return CutFailed(CutError::EncodeFailed);
    }
    if (output && output->GetPublishFailure() == PublishFailure::NameTaken) {
        return CutFailed(CutError::NameTaken, 0, path);
    }
    const OutputFault fault = output ? output->Fault() : OutputFault{};
    switch (fault.step) {
    case OutputStep::Sync:
        return CutFailed(CutError::SyncFailed, fault.error, path);
    case OutputStep::TemporaryGone:
        return CutFailed(CutError::TemporaryGone, fault.error, path);
    case OutputStep::FolderMoved:
        return CutFailed(CutError::FolderMoved, fault.error, path);
    case OutputStep::Name:
        return CutFailed(CutError::NameFailed, fault.error, path);
    default:
        return CutFailed(CutError::WriteFailed, fault.error, path);
    }
}

CMp3enc::~CMp3enc() {
    if (!finished) {
        DiscardOutput();
    }
    if (streamOpen) {
        api->beCloseStream(stream);
    }
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
    if (api->beEncodeChunk(stream, count, samples, outputBuffer.data(), &produced) !=
        BE_ERR_SUCCESSFUL) {
        encodeError = true;
        return false;
    }
    return !file || WriteBytes(outputBuffer.data(), produced);
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
        if (api->beDeinitStream(stream, outputBuffer.data(), &produced) != BE_ERR_SUCCESSFUL) {
            encodeError = true;
            break;
        }
        if (produced == 0 || !WriteBytes(outputBuffer.data(), produced)) {
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
