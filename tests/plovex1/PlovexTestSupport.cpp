#include "PlovexTestSupport.h"

#include "DynamicLibrary.h"

#include <thread>

namespace {

// Never unloaded, as in the program: the player's thread and SDL's live until the process ends.
CDynamicLibrary& Library() {
    static auto* library = new CDynamicLibrary;
    return *library;
}

} // namespace

const PlovexTable& Plovex() {
    static PlovexTable table;
    static const bool loaded = [] {
        if (!Library().Load(PLOVEX1_LIBRARY_PATH)) {
            return false;
        }
#define PLOVEX_TEST_RESOLVE(name)                                                                  \
    table.name = reinterpret_cast<PlovexFn_##name>(Library().Symbol(#name));
        PLOVEX1_EXPORTS(PLOVEX_TEST_RESOLVE)
#undef PLOVEX_TEST_RESOLVE
        return true;
    }();
    EXPECT_TRUE(loaded) << Library().LastError();
    return table;
}

void* PlovexSymbol(const char* name) {
    Plovex();
    return Library().Symbol(name);
}

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= end) {
            return done();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

void PcmCapture::Callback(const int16_t* pcm, int samples, int channels, int rate, void* user) {
    auto* self = static_cast<PcmCapture*>(user);
    std::lock_guard guard(self->lock);
    self->pcm.insert(self->pcm.end(), pcm, pcm + samples);
    self->channels = channels;
    self->rate = rate;
}

std::vector<int16_t> PcmCapture::Samples() const {
    std::lock_guard guard(lock);
    return pcm;
}

size_t PcmCapture::SampleCount() const {
    std::lock_guard guard(lock);
    return pcm.size();
}

int PcmCapture::Channels() const {
    std::lock_guard guard(lock);
    return channels;
}

int PcmCapture::Rate() const {
    std::lock_guard guard(lock);
    return rate;
}

void PlayerTest::SetUp() {
    ASSERT_NE(api.Close, nullptr);
    api.Close();
    api.SetRate(1.0);
    api.SetPitch(1.0);
    api.SetVolume(50);
    api.EnableFade(0);
    api.SetFadeIn(0, 0);
    api.SetFadeOut(0, 0);
    api.SetOutPCMFun(nullptr, nullptr);
}

void PlayerTest::TearDown() {
    // The capture of a test dies with it: no callback may reach it afterwards.
    api.SetOutPCMFun(nullptr, nullptr);
    api.Close();
}

std::string PlayerTest::MakeFile(const std::string& name, const mp3gen::ToneSpec& params) {
    const std::string path = dir.File(name);
    EXPECT_TRUE(mp3gen::WriteFileBytes(path, mp3gen::MakeMp3(params)));
    return path;
}
