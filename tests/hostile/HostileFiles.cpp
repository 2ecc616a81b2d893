#include "HostileFiles.h"

#include "FrameCraft.h"
#include "Mp3Check.h"
#include "Mp3Gen.h"
#include "WavBytes.h"

#include <algorithm>
#include <cstddef>
#include <random>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Tone(int rate, int channels, double seconds, bool vbr = false, int id3 = 0) {
    mp3gen::ToneSpec params;
    params.sampleRate = rate;
    params.channels = channels;
    params.seconds = seconds;
    params.vbr = vbr;
    params.bitrateKbps = rate >= 32000 ? 128 : 64;
    params.id3v2PayloadBytes = id3;
    return mp3gen::MakeMp3(params);
}

// A little tune with LAME's Info frame (its frame count, delay and padding), as people's files are.
Bytes Song(int rate, int channels, double seconds, bool crc = false) {
    mp3gen::ToneSpec params;
    params.sampleRate = rate;
    params.channels = channels;
    params.seconds = seconds;
    params.melody = true;
    params.infoTag = true;
    params.crc = crc;
    return mp3gen::MakeMp3(params);
}

// Every seventh frame's CRC made wrong.
Bytes BadCrcs(Bytes file) {
    const FrameWalk walk = WalkFrames(file);
    for (size_t i = 1; i < walk.frames.size(); i += 7) {
        file[walk.frames[i].offset + 4] ^= 0x5A;
    }
    return file;
}

Bytes Cat(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Bytes Pattern(size_t n, unsigned seed) {
    std::mt19937 gen(seed);
    Bytes out(n);
    std::generate(out.begin(), out.end(), [&gen] { return static_cast<uint8_t>(gen()); });
    return out;
}

Bytes Wav(int rate, int channels, double seconds) {
    mp3gen::ToneSpec params;
    params.sampleRate = rate;
    params.channels = channels;
    params.seconds = seconds;
    return MakeWavBytes(params);
}

// An ID3v2.3 header whose four size bytes are written as given.
Bytes Id3Header(const uint8_t (&size)[4]) {
    return {'I', 'D', '3', 3, 0, 0, size[0], size[1], size[2], size[3]};
}

size_t XingAt(const Bytes& file) {
    const char* magic = "Xing";
    const auto it = std::search(file.begin(), file.end(), magic, magic + 4);
    return static_cast<size_t>(it - file.begin());
}

// A VBR tone whose Xing frame count (flags, then the count) is replaced.
Bytes XingFrames(uint32_t frames) {
    Bytes file = Tone(44100, 2, 3.0, true);
    const size_t at = XingAt(file) + 8;
    for (int i = 0; i < 4; ++i) {
        file[at + static_cast<size_t>(i)] = static_cast<uint8_t>(frames >> (24 - 8 * i));
    }
    return file;
}

Bytes CorruptToc() {
    Bytes file = Tone(44100, 2, 3.0, true);
    // Flags, frames and bytes precede the table; it now runs backwards and jumps about.
    const size_t at = XingAt(file) + 16;
    for (size_t i = 0; i < 100; ++i) {
        file[at + i] = static_cast<uint8_t>((i * 97 + 200) & 0xFF);
    }
    return file;
}

Bytes FrameSlice(const Bytes& file, size_t first, size_t count) {
    const FrameWalk walk = WalkFrames(file);
    const auto& f = walk.frames;
    const size_t from = f.at(first).offset;
    const size_t to = f.at(first + count - 1).offset + f.at(first + count - 1).length;
    return Bytes(file.begin() + static_cast<ptrdiff_t>(from),
                 file.begin() + static_cast<ptrdiff_t>(to));
}

Bytes JunkBetweenFrames() {
    const Bytes file = Tone(44100, 2, 2.0);
    const FrameWalk walk = WalkFrames(file);
    Bytes out;
    size_t from = 0;
    // Junk with false syncs every ten frames.
    for (size_t i = 10; i < walk.frames.size(); i += 10) {
        const size_t at = walk.frames[i].offset;
        out.insert(out.end(), file.begin() + static_cast<ptrdiff_t>(from),
                   file.begin() + static_cast<ptrdiff_t>(at));
        const Bytes junk = {0xFF, 0xFB, 0x00, 0x12, 'j', 'u', 'n', 'k', 0xFF, 0xE0, 0x55};
        out.insert(out.end(), junk.begin(), junk.end());
        from = at;
    }
    out.insert(out.end(), file.begin() + static_cast<ptrdiff_t>(from), file.end());
    return out;
}

Bytes RandomBetweenFrames() {
    const Bytes file = Song(44100, 2, 2.0);
    const FrameWalk walk = WalkFrames(file);
    Bytes out;
    for (size_t i = 0; i < walk.frames.size(); ++i) {
        const auto at = file.begin() + static_cast<ptrdiff_t>(walk.frames[i].offset);
        out.insert(out.end(), at, at + static_cast<ptrdiff_t>(walk.frames[i].length));
        if (i % 10 == 9) {
            const Bytes junk = Pattern(7, static_cast<unsigned>(i));
            out.insert(out.end(), junk.begin(), junk.end());
        }
    }
    return out;
}

FrameSpec Layer(int layer, int bitrateIndex, int mode) {
    FrameSpec s;
    s.layer = layer;
    s.bitrateIndex = bitrateIndex;
    s.mode = mode;
    return s;
}

std::vector<HostileFile> Make() {
    using O = Outcome;
    std::vector<HostileFile> v;
    const auto add = [&v](const char* name, Bytes bytes, O outcome, bool sameLength = true) {
        v.push_back({name, std::move(bytes), outcome, sameLength});
    };
    const Bytes tone = Tone(44100, 2, 2.0);
    const Bytes vbr = Tone(44100, 2, 3.0, true);
    const uint8_t big[4] = {0x7F, 0x7F, 0x7F, 0x7F};
    const uint8_t plain[4] = {0x00, 0x00, 0x81, 0xB0}; // meant as 33200, high bits set
    const uint8_t small[4] = {0x00, 0x00, 0x0F, 0x50};

    add("Empty", {}, O::Refused);
    add("FewBytes", {0xFF, 0xFB, 0x90}, O::Refused);
    add("RandomBytes", Pattern(200000, 7), O::Either);
    add("AllZeros", Bytes(200000, 0x00), O::Refused);
    add("AllFF", Bytes(200000, 0xFF), O::Refused);
    add("WavRenamed", Wav(44100, 2, 2.0), O::Refused);
    add("TagWithoutAudio", Cat(Id3Header(small), Bytes(2000, 0)), O::Refused);
    add("Id3SizePastTheEnd", Cat(Cat(Id3Header(big), Bytes(100, 0)), tone), O::Plays);
    add("Id3SizeNotSynchsafe", Cat(Cat(Id3Header(plain), Bytes(33200, 0)), tone), O::Plays);
    add("TwoTagsInARow", Cat(Cat(mp3gen::MakeId3v2Tag(500), mp3gen::MakeId3v2Tag(300)), tone),
        O::Plays);
    add("JunkBeforeTheAudio", Cat(Pattern(5000, 3), tone), O::Plays);
    // libmpg123 takes the junk's false free-format header for a frame and drops the real one.
    add("JunkBetweenFrames", JunkBetweenFrames(), O::Plays, false);
    // Where junk holds no false header both keep every frame; libmpg123 conceals the frames
    // beside the junk, the reader decodes them.
    v.push_back({"RandomBytesBetweenFrames", RandomBetweenFrames(), O::Plays, true, false});
    add("TruncatedLastFrame", Bytes(tone.begin(), tone.end() - 150), O::Plays);
    // The first frame alone: no player locks onto a stream of one frame.
    add("SingleFrame", FrameSlice(tone, 0, 1), O::Refused);
    add("LoneXingFrame", FrameSlice(vbr, 0, 1), O::Refused);
    add("XingFrameCountZero", XingFrames(0), O::Plays);
    add("XingFrameCountMax", XingFrames(0xFFFFFFFF), O::Plays);
    add("CorruptToc", CorruptToc(), O::Plays);
    // One stream format per cut: both end where the rate changes.
    add("MixedSampleRates", Cat(Cat(Tone(44100, 2, 1.0), Tone(22050, 1, 1.0)), Tone(48000, 2, 1.0)),
        O::Plays);
    // Files joined with `cat`: the frames win over the first part's frame count.
    add("JoinedWithCat", Cat(Song(44100, 2, 2.0), Song(44100, 2, 2.0)), O::Plays);
    add("ChannelsChange", Cat(Song(44100, 2, 1.5), Song(44100, 1, 1.5)), O::Plays);
    add("CrcBadInASong", BadCrcs(Song(44100, 2, 2.0, true)), O::Plays);
    // Random bytes before a song: searched through for 128 KiB, as far as a careful player.
    add("RandomBytesBeforeASong", Cat(Pattern(100 * 1024, 11), Song(48000, 2, 2.0)), O::Plays);
    add("RandomBytesPastTheSearch", Cat(Pattern(140 * 1024, 12), Song(48000, 2, 2.0)), O::Refused);
    // A long run without a frame ends the stream.
    add("LongSilenceOfZeros", Cat(Cat(tone, Bytes(200000, 0)), tone), O::Plays);
    add("TwoFrames", FrameSlice(tone, 5, 2), O::Plays);
    FrameSpec free = Layer(3, 0, 3);
    free.freeBytes = 600;
    add("FreeFormat", MakeFrames(free, 200), O::Refused);
    FrameSpec crc = Layer(3, 9, 3);
    crc.crc = true;
    add("CrcGood", MakeFrames(crc, 200), O::Plays);
    crc.badCrc = true;
    add("CrcBad", MakeFrames(crc, 200), O::Plays);
    add("Mpeg2Mono", Tone(22050, 1, 2.0), O::Plays);
    add("Mpeg25Mono", Tone(8000, 1, 2.0), O::Plays);
    add("LayerIINamedMp3", MakeFrames(Layer(2, 10, 0), 200), O::Plays);
    add("LayerINamedMp3", MakeFrames(Layer(1, 8, 3), 400), O::Plays);
    return v;
}

} // namespace

const std::vector<HostileFile>& HostileFiles() {
    static const std::vector<HostileFile> files = Make();
    return files;
}
