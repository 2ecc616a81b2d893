// The fake player library: every export logs its call; a few answer as configured.
#include "FakePlayerControl.h"
#include "Plovex1.h"

#include <charconv>
#include <mutex>
#include <sstream>
#include <string>

namespace {

struct State {
    std::mutex lock;
    std::string log;
    int openResult = 1;
    int lengthMs = 0;
    int positionMs = 0;
    int isOpen = 0;
    int playState = 0; // what GetState answers: stopped 1, playing 2, paused 3 after the calls
    int audioDevice = 1;
};

State& Fake() {
    static State state;
    return state;
}

template <class T> void Put(std::ostringstream& line, const T& value) {
    line << value;
}

// The shortest text that reads back as the same double: 1.1 and 1.1000000000000001 differ.
void Put(std::ostringstream& line, double value) {
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof(buffer), value).ptr;
    line.write(buffer, end - buffer);
}

template <class... Args> void Record(const char* name, const Args&... args) {
    std::ostringstream line;
    line << name;
    ((line << ' ', Put(line, args)), ...);
    line << '\n';
    std::lock_guard<std::mutex> guard(Fake().lock);
    Fake().log += line.str();
}

} // namespace

extern "C" {

PLOVEX1_API void FakePlayerConfigure(int openResult, int lengthMs, int positionMs) {
    std::lock_guard<std::mutex> guard(Fake().lock);
    Fake().log.clear();
    Fake().openResult = openResult;
    Fake().lengthMs = lengthMs;
    Fake().positionMs = positionMs;
    Fake().isOpen = 0;
    Fake().playState = 0;
    Fake().audioDevice = 1;
}

PLOVEX1_API void FakePlayerSetAudioDevice(int present) {
    std::lock_guard<std::mutex> guard(Fake().lock);
    Fake().audioDevice = present;
}

PLOVEX1_API void FakePlayerSetPosition(int positionMs) {
    std::lock_guard<std::mutex> guard(Fake().lock);
    Fake().positionMs = positionMs;
}

PLOVEX1_API const char* FakePlayerLog(void) {
    static std::string copy;
    std::lock_guard<std::mutex> guard(Fake().lock);
    copy = Fake().log;
    return copy.c_str();
}

#ifndef FAKE_PLAYER_INCOMPLETE
int Open(const char* utf8Path) {
    Record("Open", utf8Path);
    if (Fake().openResult != 0) {
        Fake().isOpen = 1;
    }
    return Fake().openResult;
}
int SetShowHWnd(void* window) {
    Record("SetShowHWnd", window != nullptr ? "window" : "none");
    return 0;
}
int IsOpend(void) {
    Record("IsOpend");
    return Fake().isOpen;
}
int GetLen(void) {
    Record("GetLen");
    return Fake().lengthMs;
}
#endif
int Play(void) {
    Fake().playState = 2;
    return Record("Play"), 1;
}
int Pause(void) {
    Fake().playState = 3;
    return Record("Pause"), 1;
}
int Stop(void) {
    Fake().playState = 1;
    return Record("Stop"), 1;
}
int Stop2(void) {
    return Record("Stop2"), 1;
}
int Pause2(void) {
    return Record("Pause2"), 1;
}
int Resume2(void) {
    return Record("Resume2"), 1;
}
int GetPos(void) {
    return Record("GetPos"), Fake().positionMs;
}
int SetPos(int ms) {
    return Record("SetPos", ms), 1;
}
int GetWidth(void) {
    return Record("GetWidth"), 0;
}
int GetHeight(void) {
    return Record("GetHeight"), 0;
}
int GetAduioChannels(void) {
    return Record("GetAduioChannels"), 2;
}
int GetAudioSamplesPerSec(void) {
    return Record("GetAudioSamplesPerSec"), 44100;
}
int HasAudioDevice(void) {
    return Record("HasAudioDevice"), Fake().audioDevice;
}
int GetState(void) {
    return Record("GetState"), Fake().playState;
}
int SetRate(double tempo) {
    return Record("SetRate", tempo), 1;
}
int SetVolume(int volume) {
    return Record("SetVolume", volume), 1;
}
int GetEncodeType(void) {
    return Record("GetEncodeType"), 3;
}
int Close(void) {
    return Record("Close"), 1;
}
int EnableHWDecode(int enable) {
    return Record("EnableHWDecode", enable), 0;
}
int IsHaveVideo(void) {
    return Record("IsHaveVideo"), 0;
}
int SetVideoShowMod(int mode) {
    return Record("SetVideoShowMod", mode), 0;
}
int SetSyncAudioVideo(int enable) {
    return Record("SetSyncAudioVideo", enable), 0;
}
int SetPitch(double pitch) {
    return Record("SetPitch", pitch), 1;
}
double GetPitch(void) {
    return Record("GetPitch"), 1.0;
}
int SetFadeIn(int64_t startMs, int64_t lengthMs) {
    return Record("SetFadeIn", startMs, lengthMs), 1;
}
int SetFadeOut(int64_t startMs, int64_t endMs) {
    return Record("SetFadeOut", startMs, endMs), 1;
}
int EnableFade(int enable) {
    return Record("EnableFade", enable), 1;
}
int SetOutPCMFun(PlovexPcmCallback fn, void*) {
    return Record("SetOutPCMFun", fn != nullptr ? "fn" : "none"), 1;
}
int SetStopPos(int ms) {
    return Record("SetStopPos", ms), 1;
}
// No waveform: the fake decodes nothing. Not logged, as the window's worker thread calls it.
PlovexDecoder* DecoderOpen(const char*) {
    return nullptr;
}
int DecoderFormat(PlovexDecoder*, int*, int*, int*) {
    return 0;
}
int DecoderRead(PlovexDecoder*, int16_t*, int) {
    return 0;
}
int DecoderClose(PlovexDecoder*) {
    return 1;
}

} // extern "C"
