#pragma once
// What tesmira-cut says of a cut that could not be prepared or did not finish, and the exit
// code it counts as: the command line's one table of a cut's results.
#include "CutResult.h"

#include <string>

struct CutMessage {
    std::string text;
    int exitCode = 1;
    bool aboutInput = true; // said of the input ("tesmira-cut: INPUT: text"), not of the run
};

// input, output: as they are to be shown; replacing: the output replaces a file, which a
// failed cut leaves as it was.
CutMessage DescribeCutResult(const CutResult& result, const std::string& input,
                             const std::string& output, bool replacing);
