#include "SliderGeometry.h"

#include <gtest/gtest.h>
#include <limits>

using namespace SliderGeometry;

namespace {
const Channel kChannel{10, 210}; // a 200-pixel channel starting at x = 10
} // namespace

TEST(SliderGeometry, PressPicksTheNearestPosition) {
    const Range range{0, 10};
    EXPECT_EQ(PointToPosition(98, range, kChannel), 4);
    EXPECT_EQ(PointToPosition(102, range, kChannel), 5);
    EXPECT_EQ(PointToPosition(10, range, kChannel), 0);
    EXPECT_EQ(PointToPosition(210, range, kChannel), 10);
}

TEST(SliderGeometry, PressBeyondTheEndsLeavesTheRange) {
    // The slider clamps later; the computed value has to differ from the clamped one so the
    // press still counts as a change.
    EXPECT_EQ(PointToPosition(5, {0, 100}, kChannel), -2);
    EXPECT_EQ(PointToPosition(260, {0, 100}, kChannel), 125);
    EXPECT_EQ(PointToPosition(-90, {50, 60}, kChannel), 45);
}

TEST(SliderGeometry, PressWorksOnAChannelRunningBackwards) {
    // A channel whose maximum lies before its minimum (e.g. bottom-up) maps the same way.
    const Channel reversed{210, 10};
    EXPECT_EQ(PointToPosition(210, {0, 10}, reversed), 0);
    EXPECT_EQ(PointToPosition(30, {0, 10}, reversed), 9);
}

TEST(SliderGeometry, PressStaysDefinedFarOutsideOrOnAnEmptyChannel) {
    const Range huge{0, std::numeric_limits<int>::max()};
    EXPECT_EQ(PointToPosition(std::numeric_limits<int>::max(), huge, {0, 1}),
              std::numeric_limits<int>::max());
    EXPECT_EQ(PointToPosition(50, {3, 9}, {20, 20}), 3);
}

TEST(SliderGeometry, ValueToXDividesByTheNumberOfPositions) {
    EXPECT_EQ(ValueToX(99, {0, 99}, kChannel), 208);
    EXPECT_EQ(ValueToX(0, {0, 99}, kChannel), 10);
    EXPECT_EQ(ValueToX(50, {0, 99}, kChannel), 110);
    EXPECT_EQ(ValueToX(-1, {0, 99}, kChannel), 10);
    // Positions in milliseconds beyond 16 bits map without overflow.
    EXPECT_EQ(ValueToX(300000, {0, 599999}, kChannel), 110);
}

TEST(SliderGeometry, RangeMarkCoversStartToEndInTheUpperHalf) {
    const QRect client(0, 0, 220, 30);
    const QRect mark = RangeMarkRect(20, 60, {0, 99}, kChannel, client);
    EXPECT_EQ(mark, QRect(QPoint(50, 5), QPoint(129, 19)));
}

TEST(SliderGeometry, RangeMarkWithoutAnEndAfterTheStartIsATwoPixelMarker) {
    const QRect client(0, 0, 220, 30);
    const Range range{0, 2000};
    const int start = ValueToX(1000, range, kChannel);
    const QRect marker(start, 5, 2, 15);
    EXPECT_EQ(RangeMarkRect(1000, 500, range, kChannel, client), marker);
    EXPECT_EQ(RangeMarkRect(1000, -1, range, kChannel, client), marker);
    EXPECT_EQ(RangeMarkRect(1000, 1000, range, kChannel, client), marker);
}

TEST(SliderGeometry, NoMarkWithoutAStart) {
    const QRect client(0, 0, 220, 30);
    EXPECT_TRUE(RangeMarkRect(-1, 50, {0, 99}, kChannel, client).isEmpty());
    EXPECT_TRUE(RangeMarkRect(-1, -1, {0, 99}, kChannel, client).isEmpty());
}

TEST(SliderGeometry, ChannelFrameGrowsAcrossTheChannel) {
    EXPECT_EQ(ChannelFrameRect(QRect(10, 13, 200, 4)), QRect(10, 11, 200, 8));
    EXPECT_EQ(ChannelFrameRect(QRect(13, 10, 4, 100)), QRect(12, 10, 6, 100));
}
