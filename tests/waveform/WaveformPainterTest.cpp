// The painter probed by pixels: amplitudes, silence, opposite channels and where marks land.
#include "WaveformPainter.h"

#include <QPainter>
#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace {

constexpr int kRate = 44100;
const WaveFormat kFormat{kRate, 2, 1152};
const QSize kSize(400, 61);
// One value per ms, as the slider holds them, on a channel from x 10 to 390.
WaveAxis AxisFor(int lengthMs) {
    return {{0, lengthMs}, {10, 390}};
}

// Stereo PCM of `seconds` where each channel is amplitude * sin, the right one times sign.
std::vector<WaveBucket> Buckets(const std::vector<std::pair<double, int>>& parts, int rightSign) {
    WaveBucketMaker maker(kFormat);
    std::vector<WaveBucket> out;
    std::vector<int16_t> pcm;
    for (auto [seconds, amplitude] : parts) {
        const int frames = static_cast<int>(seconds * kRate);
        for (int i = 0; i < frames; ++i) {
            const double s = std::sin(2.0 * M_PI * 441.0 * i / kRate);
            const auto v = static_cast<int16_t>(std::lround(amplitude * s));
            pcm.push_back(v);
            pcm.push_back(static_cast<int16_t>(rightSign * v));
        }
    }
    maker.Add(pcm.data(), pcm.size() / 2, out);
    maker.Finish(out);
    return out;
}

// Top and bottom painted pixel of column x (-1 when nothing is painted).
std::pair<int, int> Extent(const QImage& image, int x) {
    int top = -1;
    int bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        if (image.pixel(x, y) != WaveformColours::kBackground.rgb()) {
            top = top < 0 ? y : top;
            bottom = y;
        }
    }
    return {top, bottom};
}

int PeakOf(const std::vector<WaveBucket>& buckets) {
    int peak = 0;
    for (const WaveBucket& b : buckets) {
        peak = std::max({peak, -static_cast<int>(b.min), static_cast<int>(b.max)});
    }
    return peak;
}

} // namespace

TEST(WaveformPainter, ColumnsShowAmplitudeSilenceAndBothPhases) {
    // 2 s at 8000, 1 s of silence, 2 s at 16000; then the same with the right channel inverted.
    for (int sign : {1, -1}) {
        const auto buckets = Buckets({{2.0, 8000}, {1.0, 0}, {2.0, 16000}}, sign);
        const int peak = PeakOf(buckets);
        const WaveAxis axis = AxisFor(5000);
        const QImage image = PaintWaveform(buckets, kFormat, peak, kSize, axis);
        const auto columnAt = [&](int ms) {
            return SliderGeometry::ValueToX(ms, axis.range, axis.channel);
        };
        for (auto [ms, amplitude] : {std::pair{1000, 8000}, {4000, 16000}}) {
            const auto [top, bottom] = Extent(image, columnAt(ms));
            EXPECT_NEAR(top, SampleToY(amplitude, peak, kSize.height()), 1) << ms << " " << sign;
            EXPECT_NEAR(bottom, SampleToY(-amplitude, peak, kSize.height()), 1)
                << ms << " " << sign;
        }
        // Silence is a flat line in the middle.
        const auto [top, bottom] = Extent(image, columnAt(2500));
        EXPECT_EQ(top, kSize.height() / 2);
        EXPECT_EQ(bottom, top);
    }
}

TEST(WaveformPainter, MarksLandInTheColumnOfTheirSample) {
    const auto buckets = Buckets({{3.0, 8000}}, 1);
    const WaveAxis axis = AxisFor(3000);
    for (int ms : {0, 1, 7, 1234, 1500, 2992, 3000}) {
        QImage image(kSize, QImage::Format_RGB32);
        image.fill(Qt::black);
        QPainter painter(&image);
        WaveOverlay overlay;
        overlay.startMs = ms;
        overlay.marksMovable = false;
        PaintOverlay(painter, kSize, axis, overlay);
        painter.end();
        int markX = -1;
        for (int x = 0; x < kSize.width() && markX < 0; ++x) {
            if (image.pixel(x, kSize.height() / 2) == WaveformColours::kMark.rgb()) {
                markX = x;
            }
        }
        // The column that shows the mark's sample.
        EXPECT_LE(ColumnFirstValue(markX, axis), ms) << ms;
        EXPECT_GT(ColumnFirstValue(markX + 1, axis), ms) << ms;
    }
}
