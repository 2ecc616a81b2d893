// The C exports: each forwards to the one player. Video calls are accepted and ignored.
#include "Player.h"
#include "Plovex1.h"

namespace {

CPlayer& P() {
    return CPlayer::Instance();
}

int Result(bool done) {
    return done ? 1 : 0;
}

} // namespace

extern "C" {

int Open(const char* utf8Path) {
    return utf8Path ? Result(P().Open(utf8Path)) : 0;
}
int SetShowHWnd(void* /*window*/) {
    return 0;
}
int Play(void) {
    return Result(P().Play());
}
int Pause(void) {
    return Result(P().Pause());
}
int Stop(void) {
    return Result(P().Stop());
}
int Stop2(void) {
    return Result(P().Stop());
}
int Pause2(void) {
    return Result(P().Pause());
}
int Resume2(void) {
    return Result(P().Play());
}
int IsOpend(void) {
    return Result(P().IsOpen());
}
int GetLen(void) {
    return P().LengthMs();
}
int GetPos(void) {
    return P().PositionMs();
}
int SetPos(int ms) {
    return Result(P().SetPositionMs(ms));
}
int GetWidth(void) {
    return 0;
}
int GetHeight(void) {
    return 0;
}
int GetAduioChannels(void) {
    return P().Channels();
}
int GetAudioSamplesPerSec(void) {
    return P().SampleRate();
}
int GetState(void) {
    return P().State();
}

int SetRate(double tempo) {
    P().SetTempo(tempo);
    return 1;
}

int SetVolume(int volume) {
    P().SetVolume(volume);
    return 1;
}

int GetEncodeType(void) {
    return P().Layer();
}
int Close(void) {
    return Result(P().Close());
}
int EnableHWDecode(int /*enable*/) {
    return 0;
}
int IsHaveVideo(void) {
    return 0;
}
int SetVideoShowMod(int /*mode*/) {
    return 0;
}
int SetSyncAudioVideo(int /*enable*/) {
    return 0;
}

int SetPitch(double pitch) {
    P().SetPitch(pitch);
    return 1;
}

double GetPitch(void) {
    return P().Pitch();
}

int SetFadeIn(int64_t startMs, int64_t lengthMs) {
    P().SetFadeIn(startMs, lengthMs);
    return 1;
}

int SetFadeOut(int64_t startMs, int64_t endMs) {
    P().SetFadeOut(startMs, endMs);
    return 1;
}

int EnableFade(int enable) {
    P().EnableFade(enable != 0);
    return 1;
}

int SetOutPCMFun(PlovexPcmCallback fn, void* user) {
    P().SetPcmCallback(fn, user);
    return 1;
}

int SetStopPos(int ms) {
    P().SetStopMs(ms);
    return 1;
}

int HasAudioDevice(void) {
    return Result(P().HasAudioDevice());
}

} // extern "C"
