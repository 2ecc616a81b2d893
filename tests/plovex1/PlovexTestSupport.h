#pragma once
// The player library loaded by full path once per process, and what the tests share.
#include "Plovex1.h"
#include "TempDir.h"

#include <Mp3Gen.h>
#include <chrono>
#include <cstdint>
#include <functional>
#include <gtest/gtest.h>
#include <mutex>
#include <string>
#include <vector>

struct PlovexTable {
#define PLOVEX_TEST_FIELD(name) PlovexFn_##name name = nullptr;
    PLOVEX1_EXPORTS(PLOVEX_TEST_FIELD)
#undef PLOVEX_TEST_FIELD
};

// Fails the calling test when the library does not load.
const PlovexTable& Plovex();
// dlsym on the loaded library.
void* PlovexSymbol(const char* name);

// Polls until done() or the time is up; the answer of the last poll.
bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit);

// Collects what the player sends to the device.
class PcmCapture {
public:
    static void Callback(const int16_t* pcm, int samples, int channels, int rate, void* user);

    std::vector<int16_t> Samples() const;
    size_t SampleCount() const;
    int Channels() const;
    int Rate() const;

private:
    mutable std::mutex lock;
    std::vector<int16_t> pcm;
    int channels = 0;
    int rate = 0;
};

// Each test starts with no file open and every setting at its default.
class PlayerTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::string MakeFile(const std::string& name, const mp3gen::ToneSpec& params);

    const PlovexTable& api = Plovex();
    TempDir dir;
};
