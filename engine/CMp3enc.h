#pragma once
// Encodes one cut's PCM into an MP3 file through the encoder library loaded at
// run time, and ends the file with an ID3v1 tag.
#include "CutOutputFile.h"
#include "CutResult.h"
#include "EncMp3Interface.h"
#include "EncoderLibrary.h"

#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class CMp3enc {
public:
    // Loads the encoder library from libraryPath (empty: the usual search), opens an encoder
    // stream and creates the output's temporary file beside path (CutOutputFile).
    // OpenResult() says whether all of that worked, and what failed.
    CMp3enc(const std::string& path, int sampleRate, int channels,
            const std::string& libraryPath = {}, OutputMode mode = OutputMode::NumberedName,
            const FileIdentity& source = {});
    // Discards the output unless Finish() published it, then closes the stream.
    ~CMp3enc();
    CMp3enc(const CMp3enc&) = delete;
    CMp3enc& operator=(const CMp3enc&) = delete;

    // pcm: interleaved 16-bit samples; bytes: their size. Returns false on a write
    // error or when the encoder refuses the block.
    bool EncodeChunk(const uint8_t* pcm, uint32_t bytes);
    // The tag that goes before the audio; called before anything else is written. forName
    // gives the tag anew, of the same size, for a numbered name (empty: the tag stays).
    using TagForName = std::function<std::vector<uint8_t>(const std::string& name)>;
    bool WriteLeadingTag(const std::vector<uint8_t>& tag, TagForName forName);
    // Appends MP3 frames encoded elsewhere with this encoder's configuration (GetConfig);
    // a cut is made either by EncodeChunk or by this. False on a write error.
    bool AppendFrames(const uint8_t* frames, size_t bytes);
    // Writes what the encoder still holds, then the tag, and publishes the file under its
    // name (a numbered one when the name was taken meanwhile). Returns false, leaving no
    // file, if any write failed, the encoder refused a block, the temporary file was removed
    // or replaced meanwhile, or the name could not be had.
    bool Finish();
    // Removes the unfinished output (after a failed or stopped cut); nothing is published.
    void DiscardOutput();
    bool HasWriteError() const { return writeError; }
    const CutResult& OpenResult() const { return opened; }
    bool Opened() const { return opened.Ok(); }
    // Why writing or publishing the output failed, once EncodeChunk, AppendFrames or Finish
    // said so.
    CutResult WriteResult() const;
    // Where Finish() published the file; empty before.
    std::string GetPublishedPath() const { return output ? output->PublishedPath() : ""; }
    const BE_CONFIG& GetConfig() const { return config; }
    const EncoderEntryPoints& GetLibrary() const { return *api; }
    // Sample frames per MP3 frame of the stream (1152, or 576 at the lower rates).
    uint32_t GetSamplesPerFrame() const {
        return config.format.LHV1.nMode == BE_MP3_MODE_MONO ? samplesPerChunk : samplesPerChunk / 2;
    }

private:
    CutResult Open(int sampleRate, int channels, const std::string& libraryPath, OutputMode mode,
                   const FileIdentity& source);
    bool RetitleFor(const std::string& name);
    bool WriteBytes(const void* data, size_t size);
    bool WriteEncoded(const int16_t* samples, uint32_t count);

    // Paths this long are refused rather than cut short: the tag takes its title from it.
    static constexpr size_t kMaxPathBytes = 999;
    const std::string path;
    BE_CONFIG config{};
    HBE_STREAM stream = 0;
    uint32_t samplesPerChunk = 0;
    std::unique_ptr<CutOutputFile> output;
    FILE* file = nullptr; // the output's stream while it may be written
    std::vector<uint8_t> outputBuffer;

    const EncoderEntryPoints* api = nullptr; // the binding outlives every encoder
    bool writeError = false;
    bool encodeError = false;
    bool finished = false;
    bool finishResult = false;
    bool framesAppended = false; // the stream itself was never fed: nothing to flush
    bool streamOpen = false;
    CutResult opened;
    long tagOffset = -1; // where the tag was written, for a numbered name's title
    TagForName leadingTagFor;
    size_t leadingTagSize = 0;
};
