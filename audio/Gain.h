#pragma once
#include <cstddef>
#include <cstdint>

// Multiplies values by gain, truncating toward zero, limited to -32767..32767.
void ApplyGain(int16_t* pcm, size_t values, float gain);
