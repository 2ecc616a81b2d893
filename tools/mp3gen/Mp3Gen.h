#pragma once
// Makes MP3 files of our own for tests, benchmarks and the demo: tones and a
// short melody synthesised here, encoded with libmp3lame.
#include <cstdint>
#include <string>
#include <vector>

namespace mp3gen {

struct ToneSpec {
    int sampleRate = 44100;
    int channels = 2;
    double seconds = 5.0;
    double frequencyHz = 1000.0;
    double amplitude = 0.5;    // of full scale
    bool melody = false;       // a little tune instead of a steady tone
    bool noise = false;        // pink noise with a slow tremolo: every moment differs
    bool vbr = false;          // VBR with a Xing header in the first frame
    bool abr = false;          // average bit rate (bitrateKbps) with a Xing header
    bool infoTag = false;      // CBR with LAME's Info frame (delay and padding)
    bool crc = false;          // every frame carries a CRC
    bool noReservoir = false;  // no frame borrows bits from the frames before it
    int bitrateKbps = 128;     // CBR or ABR bit rate (ignored for VBR)
    int id3v2PayloadBytes = 0; // > 0: prepend an ID3v2 tag of that many payload bytes
};

// Interleaved 16-bit PCM of the described sound.
std::vector<int16_t> SynthesizePcm(const ToneSpec& params);

// Encodes interleaved PCM as described (rate, channels, CBR or VBR+Xing, ID3v2).
std::vector<uint8_t> EncodeMp3(const std::vector<int16_t>& pcm, const ToneSpec& params);

std::vector<uint8_t> MakeMp3(const ToneSpec& params);

// "ID3" v2.3 header with a synchsafe size and a zero-padded payload.
std::vector<uint8_t> MakeId3v2Tag(uint32_t payloadBytes);

bool WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes);
std::vector<uint8_t> ReadFileBytes(const std::string& path);

} // namespace mp3gen
