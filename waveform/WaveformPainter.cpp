#include "WaveformPainter.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {

// The bucket holding the sample at ms.
int64_t BucketAt(int64_t ms, const WaveFormat& format) {
    return ms * format.sampleRate / 1000 / format.samplesPerBucket;
}

} // namespace

int ColumnFirstValue(int x, const WaveAxis& axis) {
    // The smallest value that ValueToX puts at x or right of it.
    const int width = axis.channel.right - axis.channel.left;
    if (width <= 0) {
        return axis.range.min;
    }
    const double positions = static_cast<double>(axis.range.max) - axis.range.min + 1.0;
    const double v = std::ceil((x - axis.channel.left) * positions / width - 1e-9);
    return axis.range.min + static_cast<int>(std::max(0.0, v));
}

int SampleToY(int value, int peak, int height) {
    const double half = (height - 1) / 2.0;
    const double scale = peak > 0 ? half / peak : 0.0;
    return static_cast<int>(std::lround(half - value * scale));
}

QImage PaintWaveform(std::span<const WaveBucket> buckets, const WaveFormat& format, int peak,
                     QSize size, const WaveAxis& axis) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(WaveformColours::kBackground);
    if (format.sampleRate <= 0 || format.samplesPerBucket <= 0 || size.isEmpty()) {
        return image;
    }
    const QRgb peakColour = WaveformColours::kPeak.rgb();
    const QRgb rmsColour = WaveformColours::kRms.rgb();
    const int64_t count = static_cast<int64_t>(buckets.size());
    const int last = std::min(axis.channel.right, size.width() - 1);
    for (int x = std::max(0, axis.channel.left); x <= last; ++x) {
        const int64_t first = BucketAt(ColumnFirstValue(x, axis), format);
        const int64_t next = std::max(first + 1, BucketAt(ColumnFirstValue(x + 1, axis), format));
        if (first >= count) {
            break; // not decoded yet
        }
        const WaveColumn column = ReduceBuckets(buckets.subspan(
            static_cast<size_t>(first), static_cast<size_t>(std::min(next, count) - first)));
        const int top = SampleToY(column.max, peak, size.height());
        const int bottom = SampleToY(column.min, peak, size.height());
        const int rmsTop = std::max(top, SampleToY(column.rms, peak, size.height()));
        const int rmsBottom = std::min(bottom, SampleToY(-column.rms, peak, size.height()));
        for (int y = std::max(0, top); y <= std::min(bottom, size.height() - 1); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            line[x] = (y >= rmsTop && y <= rmsBottom) ? rmsColour : peakColour;
        }
    }
    return image;
}

void PaintOverlay(QPainter& painter, QSize size, const WaveAxis& axis, const WaveOverlay& overlay) {
    const auto xOf = [&](int ms) { return SliderGeometry::ValueToX(ms, axis.range, axis.channel); };
    const int height = size.height();
    const bool ranged = overlay.startMs >= 0 && overlay.endMs > overlay.startMs;
    if (ranged) {
        // Outside the range dimmed; the range itself untouched.
        const QColor dim(255, 255, 255, 170);
        const int a = xOf(overlay.startMs);
        const int b = xOf(overlay.endMs);
        painter.fillRect(QRect(0, 0, a, height), dim);
        painter.fillRect(QRect(b + 1, 0, size.width() - b - 1, height), dim);
        QPen ramp(QColor(230, 150, 0), 1);
        painter.setPen(ramp);
        if (overlay.fadeInEndMs > overlay.startMs) {
            painter.drawLine(a, height - 1, xOf(overlay.fadeInEndMs), 0);
        }
        if (overlay.fadeOutStartMs >= overlay.startMs && overlay.fadeOutStartMs < overlay.endMs) {
            painter.drawLine(xOf(overlay.fadeOutStartMs), 0, b, height - 1);
        }
    }
    if (overlay.startMs >= 0) {
        const int a = xOf(overlay.startMs);
        painter.fillRect(QRect(a, 0, 1, height), WaveformColours::kMark);
        if (overlay.marksMovable) {
            painter.fillRect(QRect(a, 0, 5, 5), WaveformColours::kMark);
        }
    }
    if (ranged) {
        const int b = xOf(overlay.endMs);
        painter.fillRect(QRect(b, 0, 1, height), WaveformColours::kMark);
        if (overlay.marksMovable) {
            painter.fillRect(QRect(b - 4, height - 5, 5, 5), WaveformColours::kMark);
        }
    }
    if (overlay.positionMs >= 0) {
        painter.fillRect(QRect(xOf(overlay.positionMs), 0, 1, height), WaveformColours::kPosition);
    }
    if (!overlay.lengthText.isEmpty()) {
        QFont font = painter.font();
        font.setPixelSize(11);
        painter.setFont(font);
        const QRect box(0, 1, size.width() - 2, height);
        painter.setPen(QColor(60, 60, 60));
        painter.drawText(box, Qt::AlignRight | Qt::AlignTop, overlay.lengthText);
    }
}
