#pragma once
// The strip's pictures as pure functions: the waveform itself (from buckets) and what is drawn
// over it (range, marks, fade ramps, play position, length), placed on x exactly as the
// position slider places its values.
#include "SliderGeometry.h"
#include "WaveformTrack.h"

#include <QColor>
#include <QImage>
#include <QString>
#include <span>

class QPainter;

struct WaveAxis {
    SliderGeometry::Range range;     // the slider's, in ms
    SliderGeometry::Channel channel; // x of the first and the last value
};

struct WaveOverlay {
    int startMs = -1; // -1: no range
    int endMs = -1;
    bool marksMovable = true; // drawn as handles
    int fadeInEndMs = -1;     // the fade-in rises from startMs to here; -1: none
    int fadeOutStartMs = -1;  // the fade-out falls from here to endMs; -1: none
    int positionMs = -1;
    QString lengthText; // at the right end
};

namespace WaveformColours {
inline const QColor kBackground{250, 251, 252};
inline const QColor kPeak{120, 160, 220};
inline const QColor kRms{40, 80, 160};
inline const QColor kCentre{190, 200, 215};
inline const QColor kMark{73, 209, 0};
inline const QColor kPosition{220, 30, 30};
} // namespace WaveformColours

// The first value of column x: a column shows the values from it up to the next column's.
int ColumnFirstValue(int x, const WaveAxis& axis);
// y of a sample value in a strip of the given height scaled to peak.
int SampleToY(int value, int peak, int height);

// Per column the minimum and maximum over both channels with the RMS inside in a darker shade,
// scaled to peak; a column whose buckets are not there yet stays background.
QImage PaintWaveform(std::span<const WaveBucket> buckets, const WaveFormat& format, int peak,
                     QSize size, const WaveAxis& axis);
// Everything over the waveform; painter draws on a picture of the given size.
void PaintOverlay(QPainter& painter, QSize size, const WaveAxis& axis, const WaveOverlay& overlay);
