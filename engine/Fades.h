#pragma once
// The cut's fade-in and fade-out: one gain per block, from the reader's position after the read.
#include "Fade.h"

#include <cstdint>

class CAudioFile;
class CClipJob;

// source: the reader the block came from.
void ApplyFadeIn(CClipJob& job, CAudioFile& source, uint8_t* block, int bytes);
void ApplyFadeOut(CClipJob& job, CAudioFile& source, uint8_t* block, int bytes);
