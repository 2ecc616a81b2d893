#include "CutFades.h"

#include <gtest/gtest.h>
#include <vector>

TEST(CutFadesFit, FadesLongerThanTheCutAreShortenedToFitIt) {
    const struct {
        bool in;
        int inMs;
        bool out;
        int outMs;
        int lengthMs;
        CutFades expected;
    } rows[] = {
        {true, 3000, true, 2000, 10000, {1, 0, 3000, 1, 8000, 10000, false}},
        {true, 15000, false, 15000, 10000, {1, 0, 10000, 0, 0, 0, true}},
        {false, 0, true, 15000, 10000, {0, 0, 0, 1, 0, 10000, true}},
        {true, 15000, true, 15000, 10000, {1, 0, 5000, 1, 5000, 10000, true}},
        {true, 6000, true, 2000, 4000, {1, 0, 3000, 1, 3000, 4000, true}}, // in proportion
        {true, 5000, true, 5000, 10000, {1, 0, 5000, 1, 5000, 10000, false}},
        {true, 0, true, 0, 10000, {1, 0, 0, 1, 10000, 10000, false}},
        {true, 1000, true, 1000, 1, {1, 0, 0, 1, 0, 1, true}},
        {true,
         86400000,
         true,
         86400000,
         2147483647,
         {1, 0, 86400000, 1, 2061083647, 2147483647, false}},
    };
    for (const auto& row : rows) {
        const CutFades f = MakeCutFades(row.in, row.inMs, row.out, row.outMs, row.lengthMs);
        const CutFades& e = row.expected;
        EXPECT_EQ(std::vector<int>({f.inEnabled, f.inStartMs, f.inLengthMs, f.outEnabled,
                                    f.outStartMs, f.outEndMs, f.shortened}),
                  std::vector<int>({e.inEnabled, e.inStartMs, e.inLengthMs, e.outEnabled,
                                    e.outStartMs, e.outEndMs, e.shortened}))
            << row.inMs << "+" << row.outMs << " in " << row.lengthMs;
    }
}
