#pragma once
// Encodes one cut's PCM into an MP3 file through the encoder library loaded at
// run time, and ends the file with an ID3v1 tag.
#include <cstdint>
#include <cstdio>
#include <string>

class CMp3enc {
public:
    static constexpr uint32_t kOutputBufferSize = 512000;

    // Loads the encoder library (throws its error text as const char* on failure),
    // opens an encoder stream and creates the output file. ok = file created.
    CMp3enc(bool& ok, const char* path, int sampleRate, int channels);
    // Finish() if not done yet, then closes the stream.
    ~CMp3enc();
    CMp3enc(const CMp3enc&) = delete;
    CMp3enc& operator=(const CMp3enc&) = delete;

    // pcm: interleaved 16-bit samples; bytes: their size. Returns false on a write error.
    virtual bool EncodeChunk(const uint8_t* pcm, uint32_t bytes);
    // Writes what the encoder still holds, then the tag, and closes the file.
    // Returns false if any write (or the close) failed since the file was created.
    bool Finish();
    // Closes and removes the output file (after a failed cut).
    void DiscardOutput();
    bool HasWriteError() const { return writeError; }
    const char* GetPath() const { return path; }
};
