#include "CutFades.h"

CutFades MakeCutFades(bool fadeInTicked, int fadeInSec, bool fadeOutTicked, int fadeOutSec,
                      int lengthMs) {
    CutFades fades;
    if (fadeInTicked) {
        fades.inEnabled = 1;
        fades.inLengthMs = fadeInSec * 1000;
    }
    if (fadeOutTicked) {
        const int v = fadeOutSec * 1000;
        if (lengthMs >= v) {
            fades.outEnabled = 1;
            fades.outStartMs = lengthMs - v;
            fades.outEndMs = lengthMs;
        }
    }
    return fades;
}
