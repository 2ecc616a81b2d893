#pragma once

enum ClipStatus : int {
    ClipIdle = 0,     // nothing prepared, or the last cut was stopped or failed
    ClipPrepared = 1, // a source was opened for a cut; stays so while the worker runs
    ClipFinished = 2, // the worker reached the end of the range or of the data
};
