#pragma once
// How a cut's fade check boxes and lengths become the job's two fade windows (milliseconds
// from the start of the range), fitted into the cut.
struct CutFades {
    int inEnabled = 0;
    int inStartMs = 0;
    int inLengthMs = 0;
    int outEnabled = 0;
    int outStartMs = 0;
    int outEndMs = 0;
    // The fades asked for did not fit into the cut and were shortened.
    bool shortened = false;
};

// fade-in {1, 0, in}; fade-out {1, L - out, L}; a window not ticked is {0, 0, 0}. A fade
// longer than the cut is shortened to it; when the two together are longer than the cut,
// both are shortened in proportion, so the fade-in ends where the fade-out begins.
CutFades MakeCutFades(bool fadeInTicked, int fadeInMs, bool fadeOutTicked, int fadeOutMs,
                      int lengthMs);
