#include "TimeTexts.h"

#include <climits>
#include <clocale>
#include <cstdio>
#include <gtest/gtest.h>

namespace {

std::string Printf(const char* format, double value) {
    char buffer[512];
    std::snprintf(buffer, sizeof(buffer), format, value);
    return buffer;
}

TEST(TimeTextsTest, MinSecUsesTwoDigitFields) {
    EXPECT_EQ(FormatMinSec(0), "00:00");
    EXPECT_EQ(FormatMinSec(-5), "00:00");
    EXPECT_EQ(FormatMinSec(5), "00:05");
    EXPECT_EQ(FormatMinSec(9), "00:09");
    EXPECT_EQ(FormatMinSec(10), "00:10");
    EXPECT_EQ(FormatMinSec(59), "00:59");
    EXPECT_EQ(FormatMinSec(60), "01:00");
    EXPECT_EQ(FormatMinSec(65), "01:05");
    EXPECT_EQ(FormatMinSec(600), "10:00");
    EXPECT_EQ(FormatMinSec(3599), "59:59");
}

TEST(TimeTextsTest, MinSecShowsHoursFromOneHourOn) {
    EXPECT_EQ(FormatMinSec(3600), "1:00:00");
    EXPECT_EQ(FormatMinSec(3725), "1:02:05");
    EXPECT_EQ(FormatMinSec(36000 + 59 * 60 + 9), "10:59:09");
}

TEST(TimeTextsTest, FixedFormsMatchPrintf) {
    EXPECT_EQ(FormatSeconds3(12.345), "12.345");
    EXPECT_EQ(FormatSeconds3(0), "0.000");
    EXPECT_EQ(FormatFactor(0.95), "0.95");
    EXPECT_EQ(FormatFactor(1.0), "1.00");
    // Rounding of values that sit near a half must be printf's, digit for digit.
    for (int i = -2000; i <= 200000; i += 7) {
        const double seconds = i / 1000.0 + 0.0005;
        ASSERT_EQ(FormatSeconds3(seconds), Printf("%0.3f", seconds)) << seconds;
        ASSERT_EQ(FormatFactor(i / 10000.0 + 0.005), Printf("%0.2f", i / 10000.0 + 0.005));
    }
    EXPECT_EQ(FormatSeconds3(1e300), Printf("%0.3f", 1e300));
}

TEST(TimeTextsTest, LengthLabelShowsMinutesAndHundredths) {
    EXPECT_EQ(FormatLengthLabel(1500), "剪切长度:00:01(1.50秒)");
    EXPECT_EQ(FormatLengthLabel(999), "剪切长度:00:00(1.00秒)");
    EXPECT_EQ(FormatLengthLabel(83456), "剪切长度:01:23(83.46秒)");
    EXPECT_EQ(FormatLengthLabel(3725000), "剪切长度:1:02:05(3725.00秒)");
}

TEST(TimeTextsTest, TrimRemovesOuterWhiteSpaceOnly) {
    EXPECT_EQ(GetTrimmedText(" \t12.5 \r\n"), "12.5");
    EXPECT_EQ(GetTrimmedText("1 2"), "1 2");
    EXPECT_EQ(GetTrimmedText("  \t "), "");
    EXPECT_EQ(GetTrimmedText("剪切 "), "剪切");
}

TEST(TimeTextsTest, TimesAreTheFormsTheWindowShowsAndNothingElse) {
    const struct {
        const char* text;
        int ms; // -1: refused
    } rows[] = {
        {"90", 90000},
        {"90.5", 90500},
        {" 90.5 ", 90500},
        {"1.001", 1001},  // exact, where atof's 1000.999... truncated to 1000
        {"5.0019", 5001}, // digits past the millisecond are dropped
        {"0", 0},
        {"1:30", 90000},
        {"1:30.25", 90250},
        {"0:05", 5000},
        {"90:00", 5400000},
        {"1:02:03", 3723000},
        {"1:02:03.5", 3723500},
        {"2147483.647", 2147483647},
        {"596:31:23.647", 2147483647},
        {"", -1},
        {"abc", -1},
        {"1:75", -1},
        {"1:5", -1},
        {"1:30x", -1},
        {"1:30:", -1},
        {":30", -1},
        {"1:02:03:04", -1},
        {"1:60:00", -1},
        {"90.", -1},
        {".5", -1},
        {"-3", -1},
        {"+3", -1},
        {"1e3", -1},
        {"1,5", -1},
        {"1 5", -1},
        {"2147483.648", -1},
        {"99999999999", -1},
    };
    for (const auto& row : rows) {
        const std::optional<int> ms = ParseTimeMs(row.text);
        EXPECT_EQ(ms.value_or(-1), row.ms) << "'" << row.text << "'";
    }
}

TEST(TimeTextsTest, TextsUseThePointInACommaLocale) {
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) {
        GTEST_SKIP() << "no de_DE.UTF-8 locale installed";
    }
    const std::string seconds = FormatSeconds3(2.5);
    const std::string factor = FormatFactor(1.1);
    const int ms = ParseTimeMs("2.5").value_or(-1);
    std::setlocale(LC_ALL, previous.c_str());
    EXPECT_EQ(seconds, "2.500");
    EXPECT_EQ(factor, "1.10");
    EXPECT_EQ(ms, 2500);
}

} // namespace
