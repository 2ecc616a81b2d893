#pragma once
// The player library's entry points, resolved by name into one table that the main dialog owns.
#include "Plovex1.h"

struct PlayerApi {
    PlovexFn_Open Open = nullptr;
    PlovexFn_SetShowHWnd SetShowHWnd = nullptr;
    PlovexFn_Play Play = nullptr;
    PlovexFn_Pause Pause = nullptr;
    PlovexFn_Stop Stop = nullptr;
    PlovexFn_Stop2 Stop2 = nullptr;
    PlovexFn_Pause2 Pause2 = nullptr;
    PlovexFn_Resume2 Resume2 = nullptr;
    PlovexFn_IsOpend IsOpend = nullptr;
    PlovexFn_GetLen GetLen = nullptr;
    PlovexFn_GetPos GetPos = nullptr;
    PlovexFn_SetPos SetPos = nullptr;
    PlovexFn_GetWidth GetWidth = nullptr;
    PlovexFn_GetHeight GetHeight = nullptr;
    PlovexFn_GetAduioChannels GetAduioChannels = nullptr;
    PlovexFn_GetAudioSamplesPerSec GetAudioSamplesPerSec = nullptr;
    PlovexFn_GetState GetState = nullptr;
    PlovexFn_SetRate SetRate = nullptr;
    PlovexFn_SetVolume SetVolume = nullptr;
    PlovexFn_GetEncodeType GetEncodeType = nullptr;
    PlovexFn_Close Close = nullptr;
    PlovexFn_EnableHWDecode EnableHWDecode = nullptr;
    PlovexFn_IsHaveVideo IsHaveVideo = nullptr;
    PlovexFn_SetVideoShowMod SetVideoShowMod = nullptr;
    PlovexFn_SetSyncAudioVideo SetSyncAudioVideo = nullptr;
    PlovexFn_SetPitch SetPitch = nullptr;
    PlovexFn_GetPitch GetPitch = nullptr;
    PlovexFn_SetFadeIn SetFadeIn = nullptr;
    PlovexFn_SetFadeOut SetFadeOut = nullptr;
    PlovexFn_EnableFade EnableFade = nullptr;
    PlovexFn_SetOutPCMFun SetOutPCMFun = nullptr;
    PlovexFn_SetStopPos SetStopPos = nullptr;
    PlovexFn_DecoderOpen DecoderOpen = nullptr;
    PlovexFn_DecoderFormat DecoderFormat = nullptr;
    PlovexFn_DecoderRead DecoderRead = nullptr;
    PlovexFn_DecoderClose DecoderClose = nullptr;
    PlovexFn_HasAudioDevice HasAudioDevice = nullptr;
};

// Fills every empty entry with a stand-in that answers as if no file were open (IsOpend, GetLen,
// GetPos and Open give 0, DecoderOpen NULL, the rest do nothing; a library that cannot say whether
// it has a sound device is taken to have one), so every entry of the table can be called.
void FillMissingPlayerEntries(PlayerApi& table);
