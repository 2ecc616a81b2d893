#pragma once
// The counter's figures as pure arithmetic: segment metrics from the client height, where
// each character's cell starts, which strokes a character lights, and the value bar's width.
#include <QColor>
#include <QLine>
#include <QString>
#include <vector>

namespace CounterGeometry {

struct Metrics {
    int segUnit = 1;   // m: spacing unit in pixels
    int segLength = 1; // L: length unit of a segment in pixels
};

// Segment bits a (top) to g (middle); the decimal point and the colon have codes of their own.
constexpr int kSegmentA = 0x80;
constexpr int kSegmentG = 0x02;
constexpr int kAllSegments = 0xFE;
constexpr int kDecimalPoint = 0x100;
constexpr int kColon = 0x101;
constexpr int kMaxPadding = 40; // blanks put in front of a short text at most

Metrics ComputeMetrics(int clientHeight, bool showBar, int barHeight);
// The height the metrics are taken from: the client height less the value bar when shown.
int EffectiveHeight(int clientHeight, bool showBar, int barHeight);

// text with blanks in front up to minChars characters (at most kMaxPadding of them).
QString PadText(const QString& text, int minChars);

// The segment code of a character, 0 for one that draws nothing.
int CharCode(QChar c);

// x of each character's cell; a colon sits closer to its neighbours than a figure.
std::vector<int> CellPositions(const QString& text, Metrics metrics);

// How far right the text reaches when drawn from x = 0 with strokes penWidth wide, its
// figures' unlit segments included.
int TextWidth(const QString& text, Metrics metrics, int penWidth);

// The metrics for an effective client height (see ComputeMetrics), made smaller where
// needed so that text fits into clientWidth: a long text such as "1:03:44" keeps all its
// figures.
Metrics FitToWidth(const QString& text, int height, int clientWidth, int penWidth);

// The strokes of a code in a cell at x, each from its first to its second point, in the
// order they are drawn.
std::vector<QLine> SegmentStrokes(int code, int x, Metrics metrics);

// Unlit segments without a ghost colour of their own: a third of each part of the lit colour.
QColor DefaultGhostColour(const QColor& lit);

// Width of the value bar over a client area clientWidth wide; 0 when the range is empty.
int BarWidth(float value, float minValue, float maxValue, int clientWidth);

} // namespace CounterGeometry
