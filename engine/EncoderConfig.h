#pragma once
// The encoder record every cut is encoded with: 320 kbit/s CBR MPEG-1 Layer III without the
// bit reservoir, so frames from separately encoded segments join.
#include "EncMp3Interface.h"

BE_CONFIG MakeCutEncoderConfig(int sampleRate, int channels);
