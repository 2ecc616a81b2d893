#include "PlayerApi.h"

namespace {

// What a player without a file answers.
int NoOpen(const char*) {
    return 0;
}
int NoWindow(void*) {
    return 0;
}
int Nothing() {
    return 0;
}
int NoInt(int) {
    return 0;
}
int NoFactor(double) {
    return 0;
}
double UnitPitch() {
    return 1.0;
}
int NoFade(int64_t, int64_t) {
    return 0;
}
int NoPcm(PlovexPcmCallback, void*) {
    return 0;
}
PlovexDecoder* NoDecoder(const char*) {
    return nullptr;
}
int NoFormat(PlovexDecoder*, int*, int*, int*) {
    return 0;
}
int NoRead(PlovexDecoder*, int16_t*, int) {
    return 0;
}
int NoClose(PlovexDecoder*) {
    return 0;
}
int AssumedDevice() {
    return 1;
}

template <typename Fn, typename Fallback> void Fill(Fn& entry, Fallback fallback) {
    if (!entry) {
        entry = fallback;
    }
}

} // namespace

void FillMissingPlayerEntries(PlayerApi& t) {
    Fill(t.Open, NoOpen);
    Fill(t.SetShowHWnd, NoWindow);
    Fill(t.Play, Nothing);
    Fill(t.Pause, Nothing);
    Fill(t.Stop, Nothing);
    Fill(t.Stop2, Nothing);
    Fill(t.Pause2, Nothing);
    Fill(t.Resume2, Nothing);
    Fill(t.IsOpend, Nothing);
    Fill(t.GetLen, Nothing);
    Fill(t.GetPos, Nothing);
    Fill(t.SetPos, NoInt);
    Fill(t.GetWidth, Nothing);
    Fill(t.GetHeight, Nothing);
    Fill(t.GetAduioChannels, Nothing);
    Fill(t.GetAudioSamplesPerSec, Nothing);
    Fill(t.GetState, Nothing);
    Fill(t.SetRate, NoFactor);
    Fill(t.SetVolume, NoInt);
    Fill(t.GetEncodeType, Nothing);
    Fill(t.Close, Nothing);
    Fill(t.EnableHWDecode, NoInt);
    Fill(t.IsHaveVideo, Nothing);
    Fill(t.SetVideoShowMod, NoInt);
    Fill(t.SetSyncAudioVideo, NoInt);
    Fill(t.SetPitch, NoFactor);
    Fill(t.GetPitch, UnitPitch);
    Fill(t.SetFadeIn, NoFade);
    Fill(t.SetFadeOut, NoFade);
    Fill(t.EnableFade, NoInt);
    Fill(t.SetOutPCMFun, NoPcm);
    Fill(t.SetStopPos, NoInt);
    Fill(t.DecoderOpen, NoDecoder);
    Fill(t.DecoderFormat, NoFormat);
    Fill(t.DecoderRead, NoRead);
    Fill(t.DecoderClose, NoClose);
    Fill(t.HasAudioDevice, AssumedDevice);
}
