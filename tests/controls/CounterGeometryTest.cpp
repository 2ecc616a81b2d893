#include "CounterGeometry.h"

#include <gtest/gtest.h>

using namespace CounterGeometry;

TEST(CounterGeometry, MetricsFromTheClientHeight) {
    Metrics m = ComputeMetrics(45, false, 10);
    EXPECT_EQ(m.segUnit, 2);
    EXPECT_EQ(m.segLength, 15);
    m = ComputeMetrics(10, false, 10);
    EXPECT_EQ(m.segUnit, 1) << "0.6 is raised to 1";
    EXPECT_EQ(m.segLength, 3);
    m = ComputeMetrics(1, false, 10);
    EXPECT_EQ(m.segUnit, 1);
    EXPECT_EQ(m.segLength, 1);
    // The bar takes its height off the figures: 45 + 2 - 7 = 40.
    m = ComputeMetrics(45, true, 7);
    EXPECT_EQ(m.segUnit, 2);
    EXPECT_EQ(m.segLength, 14);
}

TEST(CounterGeometry, ColonCellsSitCloser) {
    EXPECT_EQ(CellPositions("12:34", {2, 15}), std::vector<int>({0, 23, 40, 56, 79}));
    EXPECT_EQ(CellPositions("0.0100", {2, 15}).size(), 6u);
    EXPECT_TRUE(CellPositions("", {2, 15}).empty());
}

TEST(CounterGeometry, ShortTextsArePaddedWithAtMostFortyBlanks) {
    EXPECT_EQ(PadText("7", 5), "    7");
    EXPECT_EQ(PadText("7", 60), QString(40, ' ') + "7");
    EXPECT_EQ(PadText("00:00", 5), "00:00");
    EXPECT_EQ(PadText("123456", 5), "123456");
    EXPECT_EQ(PadText("7", 0), "7");
}

TEST(CounterGeometry, OnlyFiguresAndThreeSignsHaveCodes) {
    EXPECT_EQ(CharCode('8'), kAllSegments);
    EXPECT_EQ(CharCode('-'), kSegmentG);
    EXPECT_EQ(CharCode('.'), kDecimalPoint);
    EXPECT_EQ(CharCode(':'), kColon);
    for (char c : {' ', '/', 'A', 'e', '+'}) {
        EXPECT_EQ(CharCode(c), 0) << c;
    }
}

TEST(CounterGeometry, StrokesOfAFigure) {
    // '1' lights b and c, in that order.
    const std::vector<QLine> one = SegmentStrokes(CharCode('1'), 23, {2, 15});
    ASSERT_EQ(one.size(), 2u);
    EXPECT_EQ(one[0], QLine(40, 4, 40, 19));
    EXPECT_EQ(one[1], QLine(40, 23, 40, 36));
    // '7' is a, b, c; a runs along the top.
    const std::vector<QLine> seven = SegmentStrokes(CharCode('7'), 0, {2, 15});
    ASSERT_EQ(seven.size(), 3u);
    EXPECT_EQ(seven[0], QLine(4, 2, 15, 2));
    EXPECT_EQ(SegmentStrokes(kAllSegments, 0, {2, 15}).size(), 7u);
    EXPECT_TRUE(SegmentStrokes(0, 0, {2, 15}).empty());
}

TEST(CounterGeometry, PointAndColonStrokes) {
    const std::vector<QLine> point = SegmentStrokes(kDecimalPoint, 10, {2, 15});
    ASSERT_EQ(point.size(), 1u);
    EXPECT_EQ(point[0], QLine(14, 38, 17, 38));
    const std::vector<QLine> colon = SegmentStrokes(kColon, 40, {2, 15});
    ASSERT_EQ(colon.size(), 2u);
    EXPECT_EQ(colon[0], QLine(48, 15, 51, 15));
    EXPECT_EQ(colon[1], QLine(48, 32, 51, 32));
}

TEST(CounterGeometry, DefaultGhostIsAThirdOfTheLitColour) {
    EXPECT_EQ(DefaultGhostColour(QColor(100, 255, 100)), QColor(33, 85, 33));
    EXPECT_EQ(DefaultGhostColour(QColor(9, 84, 224)), QColor(3, 28, 74));
}

TEST(CounterGeometry, BarWidthFollowsTheValue) {
    EXPECT_EQ(BarWidth(50.0f, 0.0f, 100.0f, 200), 100);
    EXPECT_EQ(BarWidth(0.0f, 0.0f, 100.0f, 200), 0);
    EXPECT_EQ(BarWidth(100.0f, 0.0f, 100.0f, 75), 75);
    EXPECT_EQ(BarWidth(0.5f, 0.0f, 1.0f, 75), 37);
    // A range given the wrong way round still spans its width.
    EXPECT_EQ(BarWidth(50.0f, 0.0f, -100.0f, 200), 100);
    EXPECT_EQ(BarWidth(3.0f, 3.0f, 3.0f, 200), 0) << "an empty range draws no bar";
}
