// The encoder output: its configuration record, the file it writes (all the
// audio, then the ID3v1 tag) and how it reports failed writes.
#include "CMp3enc.h"
#include "FileSizeLimit.h"
#include "Mp3Check.h"
#include "Mp3Gen.h"
#include "TempDir.h"

#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

constexpr uint32_t kBlockBytes = 20480; // the cut's block size

std::vector<int16_t> Tone(int channels, double seconds) {
    mp3gen::ToneSpec params;
    params.channels = channels;
    params.seconds = seconds;
    return mp3gen::SynthesizePcm(params);
}

// Feeds pcm in the cut's blocks; false when any block was refused.
bool EncodeInBlocks(CMp3enc& encoder, const std::vector<int16_t>& pcm) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(pcm.data());
    const size_t total = pcm.size() * 2;
    bool ok = true;
    for (size_t at = 0; at < total; at += kBlockBytes) {
        const auto n = static_cast<uint32_t>(std::min<size_t>(kBlockBytes, total - at));
        ok = encoder.EncodeChunk(bytes + at, n) && ok;
    }
    return ok;
}

// An encoder writing to path; the test fails where its output could not be made.
std::unique_ptr<CMp3enc> Encoder(const std::string& path, int channels,
                                 OutputMode mode = OutputMode::NumberedName) {
    auto encoder = std::make_unique<CMp3enc>(path, 44100, channels, "", mode);
    EXPECT_TRUE(encoder->Opened()) << path;
    return encoder;
}

// The 128-byte tag of an encoder's file written without audio.
std::vector<uint8_t> TagFor(const std::string& path) {
    EXPECT_TRUE(Encoder(path, 2)->Finish());
    const std::vector<uint8_t> bytes = mp3gen::ReadFileBytes(path);
    if (bytes.size() < 128) {
        ADD_FAILURE() << "no tag in " << path;
        return std::vector<uint8_t>(128);
    }
    return std::vector<uint8_t>(bytes.end() - 128, bytes.end());
}

std::string Field(const std::vector<uint8_t>& tag, size_t offset, size_t size) {
    return std::string(tag.begin() + static_cast<long>(offset),
                       tag.begin() + static_cast<long>(offset + size));
}

std::string Padded(const std::string& text, size_t size) {
    return text + std::string(size - text.size(), '\0');
}

void PutDword(std::vector<uint8_t>& bytes, size_t offset, uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[offset + static_cast<size_t>(i)] = static_cast<uint8_t>(value >> (8 * i));
    }
}

} // namespace

TEST(CMp3encConfig, RecordHoldsTheCutSettingsAndZerosElsewhere) {
    TempDir dir;
    for (const int channels : {1, 2}) {
        CMp3enc encoder(dir.File("c.mp3"), 22050, channels);
        EXPECT_TRUE(encoder.Opened());
        std::vector<uint8_t> expected(331, 0);
        PutDword(expected, 0, 256);
        PutDword(expected, 4, 1);
        PutDword(expected, 8, 331);
        PutDword(expected, 12, 22050);
        PutDword(expected, 20, channels == 1 ? 3 : 0);
        PutDword(expected, 24, 320);
        PutDword(expected, 36, 1);
        PutDword(expected, 48, 1);
        PutDword(expected, 56, 1);
        PutDword(expected, 60, 1);
        PutDword(expected, 84, 1);
        std::vector<uint8_t> actual(331);
        std::memcpy(actual.data(), &encoder.GetConfig(), actual.size());
        EXPECT_EQ(actual, expected) << channels << " channel(s)";
    }
}

TEST(CMp3encTag, FieldsAsTheTableHasThem) {
    TempDir dir;
    const std::vector<uint8_t> tag = TagFor(dir.File("song_剪切0612103000.mp3").c_str());
    EXPECT_EQ(Field(tag, 0, 3), "TAG");
    // "剪切" in GBK is BC F4 C7 D0.
    EXPECT_EQ(Field(tag, 3, 30), Padded("song_\xBC\xF4\xC7\xD0"
                                        "0612103000",
                                        30));
    EXPECT_EQ(Field(tag, 33, 30), Padded("tesmira.example.org", 30));
    EXPECT_EQ(Field(tag, 63, 34), std::string(34, '\0')); // album and year
    // "Lumasi音乐网Tesmira": 19 bytes in GBK.
    EXPECT_EQ(Field(tag, 97, 30), Padded("Lumasi\xD2\xF4\xC0\xD6\xCD\xF8Tesmira", 30));
    EXPECT_EQ(tag[127], 255);
}

TEST(CMp3encTag, TitleLengthsAndExtensions) {
    TempDir dir;
    const std::string thirty(30, 't');
    // Exactly 30 bytes: the artist overwrites the title's terminating zero.
    std::vector<uint8_t> tag = TagFor(dir.File(thirty + ".mp3"));
    EXPECT_EQ(Field(tag, 3, 30), thirty);
    EXPECT_EQ(tag[33], 't');
    // Longer: the first 30 bytes.
    tag = TagFor(dir.File(std::string(40, 'L') + ".x.mp3"));
    EXPECT_EQ(Field(tag, 3, 30), std::string(30, 'L'));
    // No dot in the name: an empty title, even when the folder has one.
    std::filesystem::create_directory(dir.Path() / "d.ir");
    tag = TagFor(dir.File("d.ir/noextension"));
    EXPECT_EQ(Field(tag, 3, 30), std::string(30, '\0'));
}

TEST(CMp3encTag, LongChineseTitleIsCutOnAWholeCharacter) {
    TempDir dir;
    // "a" and 15 times "测" (B2 E2 in GBK): 31 bytes, the 30th would split a character.
    std::string name = "a";
    for (int i = 0; i < 15; ++i) {
        name += "测";
    }
    const std::vector<uint8_t> tag = TagFor(dir.File(name + ".mp3"));
    std::string expected = "a";
    for (int i = 0; i < 14; ++i) {
        expected += "\xB2\xE2";
    }
    EXPECT_EQ(Field(tag, 3, 30), Padded(expected, 30));
}

TEST(CMp3encFile, FinishWritesTheWholeCutThenTheTag) {
    TempDir dir;
    const std::string path = dir.File("tail.mp3");
    const std::vector<int16_t> pcm = Tone(2, 1.0);
    {
        const auto encoder = Encoder(path, 2);
        EXPECT_TRUE(EncodeInBlocks(*encoder, pcm));
        EXPECT_TRUE(encoder->Finish());
        EXPECT_FALSE(encoder->HasWriteError());
    }
    const FrameWalk walk = WalkFrames(mp3gen::ReadFileBytes(path));
    EXPECT_TRUE(walk.clean);
    ASSERT_FALSE(walk.frames.empty());
    EXPECT_EQ(walk.frames.front().bitrateKbps, 320);
    EXPECT_EQ(walk.frames.front().channelMode, 0);
    const DecodedAudio audio = DecodeMp3File(path);
    ASSERT_TRUE(audio.ok);
    // No audio lost at the end: every sample frame comes back (plus the encoder's delay).
    EXPECT_GE(audio.Frames(), pcm.size() / 2);
}

TEST(CMp3encFile, DeletingWithoutFinishLeavesNoFile) {
    TempDir dir;
    const std::string path = dir.File("stopped.mp3");
    {
        const auto encoder = Encoder(path, 1);
        EncodeInBlocks(*encoder, Tone(1, 0.5));
        // Written meanwhile into a hidden file beside it, never under its name.
        EXPECT_FALSE(std::filesystem::exists(path));
        EXPECT_FALSE(std::filesystem::is_empty(dir.Path()));
    }
    EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
}

// Names taken by the end of the cut (a dangling link included) move a generated name on to
// "_2", "_3", ..., and the tag's title follows; a replaced file keeps its permissions, also
// through a symbolic link, which stays a link.
TEST(CMp3encFile, PublishesUnderAFreeNameOrReplacesInOneStep) {
    TempDir dir;
    const std::string path = dir.File("cut.mp3");
    const auto finish = [](const std::string& to, OutputMode mode) {
        const auto encoder = Encoder(to, 2, mode);
        EncodeInBlocks(*encoder, Tone(2, 0.2));
        EXPECT_TRUE(encoder->Finish());
        return encoder->GetPublishedPath();
    };
    const auto early = Encoder(path, 2);
    EXPECT_EQ(finish(path, OutputMode::NumberedName), path);
    std::filesystem::create_symlink(dir.File("nowhere"), dir.File("cut_2.mp3"));
    EXPECT_TRUE(early->Finish());
    EXPECT_EQ(early->GetPublishedPath(), dir.File("cut_3.mp3"));
    const std::vector<uint8_t> third = mp3gen::ReadFileBytes(dir.File("cut_3.mp3"));
    ASSERT_GE(third.size(), 128u);
    EXPECT_STREQ(reinterpret_cast<const char*>(&third[third.size() - 125]), "cut_3");

    ::chmod(path.c_str(), 0604);
    std::filesystem::create_symlink(path, dir.File("link.mp3"));
    EXPECT_EQ(finish(dir.File("link.mp3"), OutputMode::ReplaceFile), dir.File("link.mp3"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.File("link.mp3")));
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0604u);
    EXPECT_TRUE(WalkFrames(mp3gen::ReadFileBytes(path)).clean);

    bool refused = true;
    CMp3enc taken(path, 44100, 2, {}, OutputMode::NewFile);
    refused = taken.Opened();
    EXPECT_FALSE(refused);
    EXPECT_EQ(taken.OpenResult().error, CutError::OutputExists);
}

TEST(CMp3encFile, FullDiskIsReportedAsFailureAndLeavesNothing) {
    TempDir dir;
    const std::string path = dir.File("full.mp3");
    const auto encoder = Encoder(path, 2);
    {
        const FileSizeLimit full(10000);
        EncodeInBlocks(*encoder, Tone(2, 0.5));
        EXPECT_FALSE(encoder->Finish());
    }
    EXPECT_TRUE(encoder->HasWriteError());
    EXPECT_FALSE(encoder->Finish()); // the result stays
    EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
}

TEST(CMp3encFile, RefusedFormatIsRefusedBeforeAnyFileIsMade) {
    TempDir dir;
    CMp3enc encoder(dir.File("rate0.mp3"), 0, 2);
    EXPECT_EQ(encoder.OpenResult().error, CutError::EncoderStreamRefused);
    EXPECT_FALSE(encoder.Finish());
    EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
}

TEST(CMp3encFile, UncreatableOutputIsReportedAndNothingIsWritten) {
    TempDir dir;
    const std::string missingFolder = dir.File("no/such/folder/cut.mp3");
    // A folder that exists, but the whole path does not fit the encoder's 1000 bytes.
    std::filesystem::path deep = dir.Path();
    for (int i = 0; i < 5; ++i) {
        deep /= std::string(200, 'd');
    }
    std::filesystem::create_directories(deep);
    const std::string tooLong = (deep / "cut.mp3").string();
    for (const std::string& path : {missingFolder, tooLong}) {
        bool ok = true;
        {
            CMp3enc encoder(path, 44100, 2);
            ok = encoder.Opened();
            EXPECT_FALSE(ok);
            const std::vector<int16_t> pcm = Tone(2, 0.2);
            EXPECT_TRUE(EncodeInBlocks(encoder, pcm)); // encodes, writes nowhere
            EXPECT_FALSE(encoder.Finish());
        }
        EXPECT_FALSE(std::filesystem::exists(path));
    }
    EXPECT_TRUE(std::filesystem::is_empty(deep));
}
