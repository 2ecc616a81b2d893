// The packed records as the program and the library exchange them, and the
// rules that turn a record into encoder settings.
#include "EncMp3Api.h"
#include "LameSettings.h"

#include <cstring>
#include <gtest/gtest.h>

namespace {

uint32_t DwordAt(const BE_CONFIG& config, size_t offset) {
    uint8_t bytes[sizeof(BE_CONFIG)];
    std::memcpy(bytes, &config, sizeof(bytes));
    return uint32_t{bytes[offset]} | uint32_t{bytes[offset + 1]} << 8 |
           uint32_t{bytes[offset + 2]} << 16 | uint32_t{bytes[offset + 3]} << 24;
}

} // namespace

TEST(EncMp3Layout, CutConfigLandsAtTheFixedOffsets) {
    BE_CONFIG config = MakeCutEncoderConfig(44100, 2);
    config.format.LHV1.nQuality = 0xF609;
    ASSERT_EQ(sizeof(BE_CONFIG), 331u);
    EXPECT_EQ(DwordAt(config, 0), 256u);
    EXPECT_EQ(DwordAt(config, 4), 1u);
    EXPECT_EQ(DwordAt(config, 8), 331u);
    EXPECT_EQ(DwordAt(config, 12), 44100u);
    EXPECT_EQ(DwordAt(config, 20), 0u); // stereo
    EXPECT_EQ(DwordAt(config, 24), 320u);
    EXPECT_EQ(DwordAt(config, 36), 1u); // MPEG1
    EXPECT_EQ(DwordAt(config, 48), 1u); // private
    EXPECT_EQ(DwordAt(config, 52), 0u); // CRC
    EXPECT_EQ(DwordAt(config, 56), 1u); // copyright
    EXPECT_EQ(DwordAt(config, 60), 1u); // original
    EXPECT_EQ(DwordAt(config, 84), 1u); // no reservoir
    EXPECT_EQ(DwordAt(config, 92) & 0xFFFF, 0xF609u);
    config.format.LHV1.nMode = BE_MP3_MODE_MONO;
    EXPECT_EQ(DwordAt(config, 20), 3u);
}

TEST(EncMp3Layout, VersionRecordNamesLameAndTheLibrary) {
    ASSERT_EQ(sizeof(BE_VERSION), 265u);
    BE_VERSION version;
    std::memset(&version, 0xAB, sizeof(version));
    EncoderUnderTest().beVersion(&version);
    EXPECT_EQ(version.byDLLMajorVersion, 1);
    EXPECT_EQ(version.byMajorVersion, 3);   // libmp3lame 3.x
    EXPECT_GE(version.byMinorVersion, 100); // Debian 12 ships 3.100
    EXPECT_GT(std::strlen(version.zHomepage), 0u);
    EXPECT_EQ(version.zHomepage[BE_MAX_HOMEPAGE], '\0');
    EXPECT_EQ(version.btReserved[124], 0);
}

TEST(EncMp3Settings, QualityLowByteCountsOnlyWithItsComplement) {
    EXPECT_EQ(encmp3::QualityFromField(0), -1); // the program's 0: no quality given
    EXPECT_EQ(encmp3::QualityFromField(0xFD02), 2);
    EXPECT_EQ(encmp3::QualityFromField(0xF609), 9);
    EXPECT_EQ(encmp3::QualityFromField(0x0002), -1);
    EXPECT_EQ(encmp3::QualityFromField(0xF50A), -1); // 10 is out of range
}

TEST(EncMp3Settings, BitrateFollowsTheMpegVersionOfTheRate) {
    EXPECT_EQ(encmp3::NearestBitrate(320, 44100), 320);
    EXPECT_EQ(encmp3::NearestBitrate(320, 32000), 320);
    EXPECT_EQ(encmp3::NearestBitrate(320, 22050), 160);
    EXPECT_EQ(encmp3::NearestBitrate(320, 16000), 160);
    EXPECT_EQ(encmp3::NearestBitrate(320, 12000), 64);
    EXPECT_EQ(encmp3::NearestBitrate(32, 8000), 32);
    EXPECT_EQ(encmp3::NearestBitrate(150, 44100), 160);
    EXPECT_EQ(encmp3::NearestBitrate(8, 44100), 32);
    EXPECT_EQ(encmp3::NearestMp3SampleRate(44100), 44100);
    EXPECT_EQ(encmp3::NearestMp3SampleRate(96000), 48000);
    EXPECT_EQ(encmp3::NearestMp3SampleRate(23000), 22050);
}
