#pragma once
// The ID3v2.3 tag that goes before a cut's audio: the source's tags as far as they stay
// true of the cut, with its own title fallback, length and tempo.
#include "SourceTags.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct CutFacts {
    std::string outputPath; // its base name is the title when the source has none
    int64_t lengthMs = 0;
    double speed = 1.0;
    double pitch = 1.0;
};

// Room left in every tag, so it can be rewritten in place for a numbered name.
constexpr size_t kCutTagPadding = 512;

// The whole tag. totalSize 0: the frames and kCutTagPadding; otherwise exactly totalSize
// bytes, or nothing when the frames do not fit.
std::vector<uint8_t> BuildCutTag(const CarriedTags& tags, const CutFacts& facts,
                                 size_t totalSize = 0);

// Whether the title comes from the output's name, and so changes with it.
bool CutTagTitleFollowsName(const CarriedTags& tags);
