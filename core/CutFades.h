#pragma once
// How the cut command turns the fade check boxes and their whole seconds into the
// job's two fade windows (milliseconds from the start of the range).
struct CutFades {
    int inEnabled = 0;
    int inStartMs = 0;
    int inLengthMs = 0;
    int outEnabled = 0;
    int outStartMs = 0;
    int outEndMs = 0;
};

// fade-in {1, 0, Fin x 1000}; fade-out {1, L - Fout x 1000, L} when L >= Fout x 1000;
// any window not ticked (or a fade-out longer than the range) is {0, 0, 0}.
CutFades MakeCutFades(bool fadeInTicked, int fadeInSec, bool fadeOutTicked, int fadeOutSec,
                      int lengthMs);
