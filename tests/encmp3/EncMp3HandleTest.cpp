// Handles, refused input and the tag-writing entry points.
#include "EncMp3Api.h"
#include "Mp3Check.h"
#include "Mp3Gen.h"
#include "TempDir.h"

#include <gtest/gtest.h>

namespace {

struct Stream {
    HBE_STREAM handle = 0;
    DWORD samples = 0;
    DWORD minBuffer = 0;
    BE_ERR initResult = BE_ERR_SUCCESSFUL;

    explicit Stream(BE_CONFIG config) {
        initResult = EncoderUnderTest().beInitStream(&config, &samples, &minBuffer, &handle);
    }
    ~Stream() { EncoderUnderTest().beCloseStream(handle); }
};

} // namespace

TEST(EncMp3Handles, InitReportsFrameSizedChunksAndTheirBuffer) {
    Stream stereo(MakeCutEncoderConfig(44100, 2));
    ASSERT_EQ(stereo.initResult, BE_ERR_SUCCESSFUL);
    EXPECT_NE(stereo.handle, 0u);
    EXPECT_EQ(stereo.samples, 2304u);
    EXPECT_EQ(stereo.minBuffer, 1440u + 7200u);
    Stream mono(MakeCutEncoderConfig(44100, 1));
    EXPECT_EQ(mono.samples, 1152u);
    EXPECT_NE(mono.handle, stereo.handle);
}

TEST(EncMp3Handles, UnknownAndClosedHandlesAreRefused) {
    const EncoderEntryPoints& api = EncoderUnderTest();
    std::vector<BYTE> out(kLargestChunkOutput);
    int16_t pcm[4] = {};
    DWORD produced = 0;
    EXPECT_EQ(api.beEncodeChunk(0, 4, pcm, out.data(), &produced), BE_ERR_INVALID_HANDLE);
    EXPECT_EQ(api.beEncodeChunk(0xDEADBEEF, 4, pcm, out.data(), &produced), BE_ERR_INVALID_HANDLE);
    EXPECT_EQ(api.beDeinitStream(12345, out.data(), &produced), BE_ERR_INVALID_HANDLE);
    EXPECT_EQ(api.beCloseStream(0), BE_ERR_INVALID_HANDLE);

    BE_CONFIG config = MakeCutEncoderConfig(44100, 2);
    DWORD samples = 0;
    DWORD minBuffer = 0;
    HBE_STREAM first = 0;
    ASSERT_EQ(api.beInitStream(&config, &samples, &minBuffer, &first), BE_ERR_SUCCESSFUL);
    ASSERT_EQ(api.beCloseStream(first), BE_ERR_SUCCESSFUL);
    EXPECT_EQ(api.beCloseStream(first), BE_ERR_INVALID_HANDLE);
    // The slot is reused, but the old handle must not reach the new stream.
    HBE_STREAM second = 0;
    ASSERT_EQ(api.beInitStream(&config, &samples, &minBuffer, &second), BE_ERR_SUCCESSFUL);
    EXPECT_NE(second, first);
    EXPECT_EQ(api.beEncodeChunk(first, 4, pcm, out.data(), &produced), BE_ERR_INVALID_HANDLE);
    EXPECT_EQ(api.beCloseStream(second), BE_ERR_SUCCESSFUL);
}

TEST(EncMp3Handles, RefusesBadRecordsAndHalfSampleFrames) {
    BE_CONFIG config = MakeCutEncoderConfig(44100, 2);
    config.dwConfig = BE_CONFIG_MP3;
    EXPECT_EQ(Stream(config).initResult, BE_ERR_INVALID_FORMAT);
    config = MakeCutEncoderConfig(0, 2);
    EXPECT_EQ(Stream(config).initResult, BE_ERR_INVALID_FORMAT_PARAMETERS);
    config = MakeCutEncoderConfig(44100, 2);
    config.format.LHV1.nMode = 7;
    EXPECT_EQ(Stream(config).initResult, BE_ERR_INVALID_FORMAT_PARAMETERS);

    Stream stream(MakeCutEncoderConfig(44100, 2));
    std::vector<BYTE> out(kLargestChunkOutput);
    int16_t pcm[3] = {};
    DWORD produced = 0;
    EXPECT_EQ(EncoderUnderTest().beEncodeChunk(stream.handle, 3, pcm, out.data(), &produced),
              BE_ERR_INVALID_FORMAT_PARAMETERS);
}

TEST(EncMp3Handles, FlushedStreamTakesNoMoreSamplesAndHasNothingLeft) {
    const EncoderEntryPoints& api = EncoderUnderTest();
    Stream stream(MakeCutEncoderConfig(44100, 2));
    std::vector<int16_t> pcm(20000, 1000);
    std::vector<BYTE> out(kLargestChunkOutput);
    DWORD produced = 0;
    ASSERT_EQ(api.beEncodeChunk(stream.handle, 20000, pcm.data(), out.data(), &produced),
              BE_ERR_SUCCESSFUL);
    ASSERT_EQ(api.beDeinitStream(stream.handle, out.data(), &produced), BE_ERR_SUCCESSFUL);
    EXPECT_GT(produced, 0u);
    // Never more than the announced buffer: the rest comes in later calls, then nothing.
    int calls = 1;
    while (produced > 0 && calls < 100) {
        EXPECT_LE(produced, stream.minBuffer);
        ASSERT_EQ(api.beDeinitStream(stream.handle, out.data(), &produced), BE_ERR_SUCCESSFUL);
        ++calls;
    }
    EXPECT_GT(calls, 2); // the 20000 samples' frames do not fit into one buffer
    EXPECT_EQ(produced, 0u);
    EXPECT_EQ(api.beEncodeChunk(stream.handle, 2, pcm.data(), out.data(), &produced),
              BE_ERR_INVALID_HANDLE);
}

TEST(EncMp3Handles, TableRunsOutThenRecovers) {
    std::vector<std::unique_ptr<Stream>> streams;
    BE_ERR last = BE_ERR_SUCCESSFUL;
    while (last == BE_ERR_SUCCESSFUL && streams.size() < 1000) {
        streams.push_back(std::make_unique<Stream>(MakeCutEncoderConfig(44100, 1)));
        last = streams.back()->initResult;
    }
    EXPECT_EQ(last, BE_ERR_NO_MORE_HANDLES);
    EXPECT_GE(streams.size(), 64u);
    streams.clear();
    EXPECT_EQ(Stream(MakeCutEncoderConfig(44100, 1)).initResult, BE_ERR_SUCCESSFUL);
}

TEST(EncMp3Tags, InfoTagFillsTheVbrPlaceholderAndRefusesOtherFiles) {
    const EncoderEntryPoints& api = EncoderUnderTest();
    BE_CONFIG config = MakeCutEncoderConfig(44100, 2);
    config.format.LHV1.bEnableVBR = 1;
    config.format.LHV1.bWriteVBRHeader = 1;
    config.format.LHV1.nVBRQuality = 4;
    mp3gen::ToneSpec params;
    params.seconds = 1.0;
    const EncodeResult vbr = EncodeAll(config, mp3gen::SynthesizePcm(params), 4096);
    ASSERT_TRUE(vbr.ok);
    TempDir dir;
    const std::string path = dir.File("vbr.mp3");
    ASSERT_TRUE(mp3gen::WriteFileBytes(path, vbr.mp3));
    // The placeholder's frame count is zero until the header is written.
    ASSERT_EQ(api.beWriteVBRHeader(path.c_str()), BE_ERR_SUCCESSFUL);
    const std::vector<uint8_t> written = mp3gen::ReadFileBytes(path);
    ASSERT_EQ(written.size(), vbr.mp3.size());
    EXPECT_NE(written, vbr.mp3);
    EXPECT_TRUE(DecodeMp3File(path).ok);

    const std::string plain = dir.File("plain.mp3");
    ASSERT_TRUE(mp3gen::WriteFileBytes(plain, mp3gen::MakeMp3(params)));
    const std::vector<uint8_t> before = mp3gen::ReadFileBytes(plain);
    EXPECT_NE(api.beWriteVBRHeader(plain.c_str()), BE_ERR_SUCCESSFUL);
    EXPECT_EQ(mp3gen::ReadFileBytes(plain), before);

    Stream cbr(MakeCutEncoderConfig(44100, 2));
    EXPECT_NE(api.beWriteInfoTag(cbr.handle, path.c_str()), BE_ERR_SUCCESSFUL);
    EXPECT_EQ(api.beWriteInfoTag(cbr.handle, path.c_str()), BE_ERR_INVALID_HANDLE); // closed
}
