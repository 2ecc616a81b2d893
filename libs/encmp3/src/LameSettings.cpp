#include "LameSettings.h"

#include <array>
#include <cstdlib>

namespace encmp3 {
namespace {

constexpr std::array<int, 9> kSampleRates = {8000,  11025, 12000, 16000, 22050,
                                             24000, 32000, 44100, 48000};
constexpr std::array<int, 14> kMpeg1Bitrates = {32,  40,  48,  56,  64,  80,  96,
                                                112, 128, 160, 192, 224, 256, 320};
constexpr std::array<int, 14> kMpeg2Bitrates = {8,  16, 24, 32,  40,  48,  56,
                                                64, 80, 96, 112, 128, 144, 160};

template <size_t N> int Nearest(const std::array<int, N>& table, int wanted) {
    int best = table[0];
    for (int value : table) {
        if (std::abs(value - wanted) < std::abs(best - wanted)) {
            best = value;
        }
    }
    return best;
}

MPEG_mode ModeFromField(LONG mode) {
    switch (mode) {
    case BE_MP3_MODE_JSTEREO:
        return JOINT_STEREO;
    case BE_MP3_MODE_DUALCHANNEL:
        return DUAL_CHANNEL;
    case BE_MP3_MODE_MONO:
        return MONO;
    default:
        return STEREO;
    }
}

vbr_mode VbrModeFromField(INT method) {
    switch (method) {
    case VBR_METHOD_OLD:
        return vbr_rh;
    case VBR_METHOD_ABR:
        return vbr_abr;
    default:
        return vbr_mtrh;
    }
}

bool IsKnownPreset(LONG preset) {
    return preset >= LQP_NOPRESET && preset <= LQP_HIGH_QUALITY;
}

// An explicit quality wins; otherwise the low and high presets pick one.
int QualityFor(const decltype(BE_CONFIG::format.LHV1)& c) {
    const int quality = QualityFromField(c.nQuality);
    if (quality >= 0) {
        return quality;
    }
    if (c.nPreset == LQP_LOW_QUALITY) {
        return 9;
    }
    return c.nPreset == LQP_HIGH_QUALITY ? 2 : 5;
}

void ApplyVbr(lame_t lame, const decltype(BE_CONFIG::format.LHV1)& c, int outRate) {
    const vbr_mode mode = VbrModeFromField(c.nVbrMethod);
    lame_set_VBR(lame, mode);
    lame_set_VBR_q(lame, c.nVBRQuality <= 9 ? c.nVBRQuality : 9);
    if (c.dwBitrate > 0) {
        lame_set_VBR_min_bitrate_kbps(lame, NearestBitrate(static_cast<int>(c.dwBitrate), outRate));
    }
    if (c.dwMaxBitrate > 0) {
        lame_set_VBR_max_bitrate_kbps(lame,
                                      NearestBitrate(static_cast<int>(c.dwMaxBitrate), outRate));
    }
    if (mode == vbr_abr && c.dwVbrAbr_bps > 0) {
        lame_set_VBR_mean_bitrate_kbps(lame, static_cast<int>(c.dwVbrAbr_bps / 1000));
    }
}

} // namespace

int NearestMp3SampleRate(int rate) {
    return Nearest(kSampleRates, rate);
}

int NearestBitrate(int kbps, int outSampleRate) {
    if (outSampleRate >= 32000) {
        return Nearest(kMpeg1Bitrates, kbps);
    }
    // libmp3lame encodes MPEG-2.5 (the rates below 16 kHz) at 64 kbit/s at most.
    const int best = Nearest(kMpeg2Bitrates, kbps);
    return outSampleRate < 16000 && best > 64 ? 64 : best;
}

int QualityFromField(WORD nQuality) {
    const int low = nQuality & 0xFF;
    const int high = (nQuality >> 8) & 0xFF;
    return (high == (~low & 0xFF) && low <= 9) ? low : -1;
}

BE_ERR ConfigureLame(lame_t lame, const BE_CONFIG& config, int& channels) {
    if (config.dwConfig != BE_CONFIG_LAME) {
        return BE_ERR_INVALID_FORMAT;
    }
    const auto& c = config.format.LHV1;
    if (c.dwStructVersion < 1 || c.dwSampleRate == 0 || c.nMode < 0 || c.nMode > 3) {
        return BE_ERR_INVALID_FORMAT_PARAMETERS;
    }
    channels = c.nMode == BE_MP3_MODE_MONO ? 1 : 2;
    // The output rate decides the MPEG version, and with it the allowed bit rates.
    const int outRate = NearestMp3SampleRate(
        static_cast<int>(c.dwReSampleRate != 0 ? c.dwReSampleRate : c.dwSampleRate));
    lame_set_in_samplerate(lame, static_cast<int>(c.dwSampleRate));
    lame_set_out_samplerate(lame, outRate);
    lame_set_num_channels(lame, channels);
    lame_set_mode(lame, ModeFromField(c.nMode));
    if (!IsKnownPreset(c.nPreset)) {
        return BE_ERR_INVALID_FORMAT_PARAMETERS;
    }
    if (c.bEnableVBR) {
        ApplyVbr(lame, c, outRate);
    } else {
        lame_set_VBR(lame, vbr_off);
        if (c.dwBitrate > 0) {
            lame_set_brate(lame, NearestBitrate(static_cast<int>(c.dwBitrate), outRate));
        }
    }
    lame_set_quality(lame, QualityFor(c));
    lame_set_emphasis(lame, static_cast<int>(c.dwEmphasis));
    lame_set_extension(lame, c.bPrivate ? 1 : 0);
    lame_set_error_protection(lame, c.bCRC ? 1 : 0);
    lame_set_copyright(lame, c.bCopyright ? 1 : 0);
    lame_set_original(lame, c.bOriginal ? 1 : 0);
    lame_set_disable_reservoir(lame, c.bNoRes ? 1 : 0);
    lame_set_strict_ISO(lame, c.bStrictIso ? 1 : 0);
    lame_set_bWriteVbrTag(lame, c.bWriteVBRHeader ? 1 : 0);
    return lame_init_params(lame) < 0 ? BE_ERR_INVALID_FORMAT_PARAMETERS : BE_ERR_SUCCESSFUL;
}

} // namespace encmp3
