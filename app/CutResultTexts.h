#pragma once
// What the window says of a cut that could not be prepared or did not finish: its one table
// of a cut's results.
#include "CutResult.h"

struct CutResultText {
    const char* text; // UTF-8
    bool ownWindow;   // shown over the main window; false for the encoder library's failure,
                      // which, like the player library's, is shown without an owner
};

CutResultText TextForCutResult(const CutResult& result);
