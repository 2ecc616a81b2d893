#include "SliderGeometry.h"

#include <cmath>
#include <limits>

namespace SliderGeometry {

namespace {
// Truncation toward zero that stays defined for pixels far outside the channel.
int TruncateToInt(double value) {
    constexpr double low = std::numeric_limits<int>::min();
    constexpr double high = std::numeric_limits<int>::max();
    if (std::isnan(value)) {
        return 0;
    }
    return static_cast<int>(std::trunc(std::fmax(low, std::fmin(high, value))));
}
} // namespace

int ValueToX(int value, Range range, Channel channel) {
    const double positions = static_cast<double>(range.max) - range.min + 1.0;
    const double r = (static_cast<double>(value) - range.min) / positions;
    double d = (channel.right - channel.left) * r;
    if (d < 0) {
        d = 0;
    }
    return TruncateToInt(channel.left + d);
}

int PointToPosition(int p, Range range, Channel channel) {
    const int length = channel.right - channel.left;
    if (length == 0) {
        return range.min; // a channel without length has only one place to press
    }
    const double f = static_cast<double>(p - channel.left) / length;
    const double span = static_cast<double>(range.max) - range.min;
    return TruncateToInt(range.min + f * span + 0.5);
}

QRect RangeMarkRect(int startMark, int endMark, Range range, Channel channel, const QRect& client) {
    if (startMark < 0) {
        return {};
    }
    const int a = ValueToX(startMark, range, channel);
    const int b = ValueToX(endMark, range, channel);
    const int top = client.top() + 5;
    const int height = client.height() / 2;
    const int width = b > a ? b - a : 2;
    return {a, top, width, height};
}

QRect ChannelFrameRect(const QRect& channelRect) {
    if (channelRect.height() > channelRect.width()) {
        return channelRect.adjusted(-1, 0, 1, 0);
    }
    return channelRect.adjusted(0, -2, 0, 2);
}

} // namespace SliderGeometry
