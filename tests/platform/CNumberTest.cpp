#include "CNumber.h"

#include <clocale>
#include <gtest/gtest.h>
#include <string>

namespace {

TEST(CNumberTest, ReadsLikeAtof) {
    EXPECT_DOUBLE_EQ(AtofC("  2.5s"), 2.5);
    EXPECT_DOUBLE_EQ(AtofC("-1e-3"), -0.001);
    EXPECT_DOUBLE_EQ(AtofC("x1"), 0.0);
}

TEST(CNumberTest, PointIsTheDecimalSeparatorInEveryLocale) {
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) {
        GTEST_SKIP() << "no de_DE.UTF-8 locale installed";
    }
    const double value = AtofC("2.5");
    const double comma = AtofC("2,5");
    std::setlocale(LC_ALL, previous.c_str());
    EXPECT_DOUBLE_EQ(value, 2.5);
    EXPECT_DOUBLE_EQ(comma, 2.0);
}

} // namespace
