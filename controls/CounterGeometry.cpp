#include "CounterGeometry.h"

#include <algorithm>
#include <cmath>

namespace CounterGeometry {

int EffectiveHeight(int clientHeight, bool showBar, int barHeight) {
    return showBar ? clientHeight + 2 - barHeight : clientHeight;
}

Metrics ComputeMetrics(int clientHeight, bool showBar, int barHeight) {
    const int h = EffectiveHeight(clientHeight, showBar, barHeight);
    Metrics metrics;
    metrics.segUnit = std::max(1, static_cast<int>(0.06 * h));
    metrics.segLength = std::max(1, static_cast<int>(0.35 * h));
    return metrics;
}

QString PadText(const QString& text, int minChars) {
    if (minChars <= 0 || text.size() >= minChars) {
        return text;
    }
    const qsizetype blanks = std::min<qsizetype>(minChars - text.size(), kMaxPadding);
    return QString(blanks, QLatin1Char(' ')) + text;
}

int CharCode(QChar c) {
    static constexpr int kDigitCodes[10] = {0xFC, 0x60, 0xDA, 0xF2, 0x66,
                                            0xB6, 0xBE, 0xE0, 0xFE, 0xF6};
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9') {
        return kDigitCodes[u - u'0'];
    }
    switch (u) {
    case u'-':
        return 0x02;
    case u'.':
        return kDecimalPoint;
    case u':':
        return kColon;
    default:
        return 0;
    }
}

std::vector<int> CellPositions(const QString& text, Metrics metrics) {
    const int m = metrics.segUnit;
    const int l = metrics.segLength;
    std::vector<int> cells;
    cells.reserve(static_cast<size_t>(text.size()));
    int x = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (i > 0) {
            if (text[i] == u':') {
                x += m + l;
            } else if (text[i - 1] == u':') {
                x += l + 1;
            } else {
                x += l + 4 * m;
            }
        }
        cells.push_back(x);
    }
    return cells;
}

int TextWidth(const QString& text, Metrics metrics, int penWidth) {
    const std::vector<int> cells = CellPositions(text, metrics);
    int right = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const int code = text[i] == u':' ? kColon : kAllSegments;
        for (const QLine& stroke : SegmentStrokes(code, cells[static_cast<size_t>(i)], metrics)) {
            right = std::max(
                {right, stroke.x1() + (penWidth + 1) / 2, stroke.x2() + (penWidth + 1) / 2});
        }
    }
    return right;
}

Metrics FitToWidth(const QString& text, int height, int clientWidth, int penWidth) {
    Metrics metrics = ComputeMetrics(height, false, 0);
    for (int h = height - 1; h > 0 && TextWidth(text, metrics, penWidth) > clientWidth; --h) {
        metrics = ComputeMetrics(h, false, 0);
    }
    return metrics;
}

std::vector<QLine> SegmentStrokes(int code, int x, Metrics metrics) {
    const int m = metrics.segUnit;
    const int l = metrics.segLength;
    std::vector<QLine> strokes;
    if (code != kDecimalPoint && code != kColon) {
        const QLine segments[7] = {
            {x + 2 * m, m, x + l, m},                         // a
            {x + l + m, 2 * m, x + l + m, l + 2 * m},         // b
            {x + l + m, l + 4 * m, x + l + m, 2 * l + 3 * m}, // c
            {x + 2 * m, 2 * l + 4 * m, x + l, 2 * l + 4 * m}, // d
            {x + m, l + 4 * m, x + m, 2 * l + 3 * m},         // e
            {x + m, 2 * m, x + m, l + 2 * m},                 // f
            {x + 2 * m, l + 3 * m, x + l, l + 3 * m},         // g
        };
        int bit = kSegmentA;
        for (const QLine& segment : segments) {
            if ((code & bit) != 0) {
                strokes.push_back(segment);
            }
            bit >>= 1;
        }
    } else if (code == kDecimalPoint) {
        strokes.emplace_back(x + 2 * m, 2 * l + 4 * m, x + l / 2, 2 * l + 4 * m);
    } else {
        strokes.emplace_back(x + 4 * m, l, x + l / 2 + 2 * m, l);
        strokes.emplace_back(x + 4 * m, 2 * l + m, x + l / 2 + 2 * m, 2 * l + m);
    }
    return strokes;
}

QColor DefaultGhostColour(const QColor& lit) {
    return {lit.red() / 3, lit.green() / 3, lit.blue() / 3};
}

int BarWidth(float value, float minValue, float maxValue, int clientWidth) {
    double span =
        std::trunc(static_cast<double>(maxValue) * 100 - static_cast<double>(minValue) * 100);
    span = std::fabs(span);
    if (span == 0) {
        return 0; // an empty range has no width to fill
    }
    const double offset = static_cast<double>(value) * 100 - static_cast<double>(minValue) * 100;
    return static_cast<int>(std::trunc(offset * (clientWidth / span)));
}

} // namespace CounterGeometry
