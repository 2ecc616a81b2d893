#pragma once
// A seven-segment counter like an LED clock: digits, minus, decimal point and colon drawn
// as thick strokes, optionally with the unlit segments in a dim colour and a 3-D value bar
// along the bottom. Dragging with the right button turns it into a small value dial that
// shows the value and posts a CounterValueEvent to the parent widget.
//
// The owner writes the public fields directly and then calls update(); the metrics are
// taken from the height at the first paint and kept for the control's life, though a text
// too wide for them (an hour or more) is drawn smaller to fit the width.
#include "C3DBar.h"
#include "CounterGeometry.h"

#include <QColor>
#include <QLabel>
#include <QRect>
#include <QString>

class CStaticCounter : public QLabel {
    Q_OBJECT
public:
    explicit CStaticCounter(QWidget* parent = nullptr);

    // Each setter repaints the whole control without erasing it first.
    void SetText(const QString& newText);
    void SetFloat(float number, const char* format);
    void SetInt(int number, const char* format);

    const QString& Text() const { return text; }
    bool MetricsValid() const { return metricsValid; }
    CounterGeometry::Metrics Metrics() const { return {segUnit, segLength}; }
    int PenWidth() const { return penWidth; }

    unsigned short barHeight = 10;
    bool showGhosts = true;
    bool useGhostColour = false;
    float minValue = 0.0f;
    float maxValue = 100.0f;
    int minChars = 0;
    int notifyId = 0;
    C3DBar bar;
    QColor backColour{0, 0, 0};
    QColor litColour{100, 255, 100};
    QColor ghostColour; // used when useGhostColour is set
    float value = 0.0f;
    bool showBar = false;
    bool editable = true;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void ComputeMetrics();
    void DrawSegments(QPainter& painter, int code, int x, CounterGeometry::Metrics metrics,
                      const QColor& colour) const;
    void DrawValueBar(QPainter& painter) const;
    void ClampAndShow();

    int lastStep = 0; // horizontal movement of the last drag step, in pixels
    bool metricsValid = false;
    QString text = QStringLiteral("0");
    QRect clientRect;
    int anchorX = 0;
    int penWidth = 6;
    int segLength = 1;
    int segUnit = 1;
    bool tracking = false;
    bool floatMode = false;
};
