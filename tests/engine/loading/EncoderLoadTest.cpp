// The encoder library binding: its two load failures, the optional entry point,
// and a retry after a failed load. Each encoder is given the library's place.
#include "CMp3enc.h"
#include "Mp3Gen.h"
#include "TempDir.h"

#include <dlfcn.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace {

// Why creating an encoder failed.
CutError ErrorCreating(const std::string& outputPath, const std::string& libraryPath) {
    CMp3enc encoder(outputPath, 44100, 2, libraryPath);
    if (encoder.Opened()) {
        encoder.Finish(); // only a finished output gets its name
    }
    return encoder.OpenResult().error;
}

class EncoderLoad : public ::testing::Test {
protected:
    TempDir dir;
};

} // namespace

TEST_F(EncoderLoad, MissingLibraryIsReportedAndCreatesNoFile) {
    const std::string output = dir.File("cut.mp3");
    EXPECT_EQ(ErrorCreating(output, dir.File("libencmp3.so")), CutError::EncoderLibraryMissing);
    EXPECT_FALSE(std::filesystem::exists(output));
}

TEST_F(EncoderLoad, LibraryWithoutVbrHeaderIsRefusedAndUnloaded) {
    EXPECT_EQ(ErrorCreating(dir.File("cut.mp3"), WITHOUT_VBRHEADER_PATH),
              CutError::EncoderLibraryIncomplete);
    EXPECT_EQ(dlopen(WITHOUT_VBRHEADER_PATH, RTLD_NOW | RTLD_NOLOAD), nullptr);
    // A failed load binds nothing, so the next encoder tries again and fails again.
    EXPECT_EQ(ErrorCreating(dir.File("cut.mp3"), WITHOUT_VBRHEADER_PATH),
              CutError::EncoderLibraryIncomplete);
}

TEST_F(EncoderLoad, LibraryWithoutInfoTagIsEnough) {
    const std::string output = dir.File("cut.mp3");
    {
        CMp3enc encoder(output, 44100, 2, WITHOUT_INFOTAG_PATH);
        ASSERT_TRUE(encoder.Opened());
        const uint8_t pcm[8] = {};
        EXPECT_TRUE(encoder.EncodeChunk(pcm, sizeof(pcm)));
        EXPECT_TRUE(encoder.Finish());
    }
    // This library encodes nothing, so the file holds the tag alone.
    const std::vector<uint8_t> bytes = mp3gen::ReadFileBytes(output);
    ASSERT_EQ(bytes.size(), 128u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 3), "TAG");
}

TEST_F(EncoderLoad, DefaultSearchFindsTheLibraryBesideTheExecutableAfterAFailure) {
    EXPECT_EQ(ErrorCreating(dir.File("a.mp3"), dir.File("missing.so")),
              CutError::EncoderLibraryMissing);
    EXPECT_EQ(ErrorCreating(dir.File("b.mp3"), ""), CutError::None);
    EXPECT_TRUE(std::filesystem::exists(dir.File("b.mp3")));
}
