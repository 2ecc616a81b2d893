#pragma once
#include <cstddef>
#include <cstdint>

// Multiplies values by gain, rounded, saturated to the 16-bit range.
void ApplyGain(int16_t* pcm, size_t values, double gain);
