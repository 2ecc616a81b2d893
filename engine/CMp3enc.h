#pragma once
// Encodes one cut's PCM into an MP3 file through the encoder library loaded at
// run time, and ends the file with an ID3v1 tag.
#include "EncMp3Interface.h"
#include "EncoderLibrary.h"

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <sys/types.h>

class CMp3enc {
public:
    static constexpr uint32_t kOutputBufferSize = 512000;

    // Loads the encoder library from libraryPath (empty: the usual search; throws its error
    // text as const char* on failure), opens an encoder stream and creates the output file.
    // ok = file created.
    CMp3enc(bool& ok, const char* path, int sampleRate, int channels,
            const std::string& libraryPath = {});
    // Finish() if not done yet, then closes the stream.
    virtual ~CMp3enc();
    CMp3enc(const CMp3enc&) = delete;
    CMp3enc& operator=(const CMp3enc&) = delete;

    // pcm: interleaved 16-bit samples; bytes: their size. Returns false on a write
    // error or when the encoder refuses the block.
    virtual bool EncodeChunk(const uint8_t* pcm, uint32_t bytes);
    // Writes what the encoder still holds, then the tag, and closes the file.
    // Returns false if any write (or the close) failed since the file was created,
    // the encoder refused a block, or the file was removed or replaced meanwhile.
    bool Finish();
    // Closes and removes the output file (after a failed cut); a file that has taken its
    // place at the path since is someone else's and stays.
    void DiscardOutput();
    bool HasWriteError() const { return writeError; }
    const char* GetPath() const { return path; }
    const BE_CONFIG& GetConfig() const { return config; }

private:
    void FillConfig(int sampleRate, int channels);
    bool OpenOutputFile();
    bool PathIsOurFile() const;
    bool WriteBytes(const void* data, size_t size);
    bool WriteEncoded(const int16_t* samples, uint32_t count);

    char path[1000] = {};
    BE_CONFIG config{};
    HBE_STREAM stream = 0;
    uint32_t outputBufferSize = 0;
    uint32_t samplesPerChunk = 0;
    FILE* file = nullptr;
    std::unique_ptr<uint8_t[]> outputBuffer;

    EncoderEntryPoints api; // copied at construction, the binding outlives it anyway
    bool writeError = false;
    bool encodeError = false;
    bool finished = false;
    bool finishResult = false;
    bool removable = false;  // a regular file this object created
    bool outputGone = false; // the path no longer names that file (removed or replaced)
    dev_t fileDevice = 0;
    ino_t fileInode = 0;
};
