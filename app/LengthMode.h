#pragma once
// Which part of the source a cut takes.
#include <cstdint>

enum LengthMode : int32_t {
    CustomRange = 0, // from the start edit to the end edit
    WholeSource = 1, // the whole source
};
