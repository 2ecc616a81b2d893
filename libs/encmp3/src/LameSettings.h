#pragma once
// Turns the interface's configuration record into libmp3lame settings.
#include "EncMp3Interface.h"

#include <lame/lame.h>

namespace encmp3 {

// The MP3 sample rate closest to the wanted one (MP3 knows nine rates).
int NearestMp3SampleRate(int rate);
// Bit rate tables differ between MPEG-1 (32..320), MPEG-2 (8..160) and, as libmp3lame
// has it, MPEG-2.5 (8..64 kbit/s).
int NearestBitrate(int kbps, int outSampleRate);
// Quality 0..9 from nQuality (its low byte counts only when the high byte is its
// NOT), or -1 when the field gives none.
int QualityFromField(WORD nQuality);

// Applies a BE_CONFIG_LAME record to a fresh encoder and initialises it.
// channels receives the input channel count (1 for mono mode, else 2).
BE_ERR ConfigureLame(lame_t lame, const BE_CONFIG& config, int& channels);

} // namespace encmp3
