#pragma once
// The slider's arithmetic, free of any widget so it can be checked directly: positions to
// pixels for the range mark, pixels to positions for a press, and the rectangles it paints.
#include <QRect>

namespace SliderGeometry {

struct Range {
    int min = 0;
    int max = 100;
};

// The channel along the slider's axis: `left` is where the thumb's centre sits at the
// minimum and `right` where it sits at the maximum. For a vertical slider the two bound
// the vertical extent (top and bottom), as the press arithmetic is the same for both.
struct Channel {
    int left = 0;
    int right = 0;
};

// x of a position on the channel. The divisor is the number of positions (max - min + 1),
// so the last position ends short of the channel's right end; values left of the minimum
// (such as the "no mark" -1) map to the channel's left end.
int ValueToX(int value, Range range, Channel channel);

// The position a press at pixel p (x, or y on a vertical slider) asks for, rounded to the
// nearest position. It is not limited to the range: a press beyond either end gives a
// position outside it, which the slider then clamps.
int PointToPosition(int p, Range range, Channel channel);

// The green range mark on a horizontal slider with the given client rectangle, or an empty
// rectangle when startMark < 0. When the end does not lie right of the start, a 2-pixel
// marker at the start is drawn instead.
QRect RangeMarkRect(int startMark, int endMark, Range range, Channel channel, const QRect& client);

// The rectangle the sunken edge is drawn around: a channel taller than wide is widened by
// one pixel on each side, any other one grows by two pixels at the top and the bottom.
QRect ChannelFrameRect(const QRect& channelRect);

} // namespace SliderGeometry
