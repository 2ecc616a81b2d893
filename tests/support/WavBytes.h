#pragma once
// A RIFF/WAVE file of the synthesised PCM, for tests that hand the reader a WAV named .mp3.
#include "Mp3Gen.h"

#include <cstdint>
#include <vector>

std::vector<uint8_t> MakeWavBytes(const mp3gen::ToneSpec& params);
