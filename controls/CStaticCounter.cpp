#include "CStaticCounter.h"

#include "CStaticDC.h"
#include "CounterValueEvent.h"

#include <QMouseEvent>
#include <QPainter>
#include <cmath>

CStaticCounter::CStaticCounter(QWidget* parent) : QLabel(parent) {
    // Every paint covers the whole client area, so nothing needs erasing beforehand.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CStaticCounter::SetText(const QString& newText) {
    text = newText;
    setAccessibleName(text); // a screen reader reads what the segments show
    update();
}

void CStaticCounter::SetFloat(float number, const char* format) {
    floatMode = true;
    text = QString::asprintf(format, static_cast<double>(number));
    setAccessibleName(text);
    update();
}

void CStaticCounter::SetInt(int number, const char* format) {
    floatMode = false;
    text = QString::asprintf(format, number);
    setAccessibleName(text);
    update();
}

void CStaticCounter::ComputeMetrics() {
    const CounterGeometry::Metrics metrics =
        CounterGeometry::ComputeMetrics(clientRect.height(), showBar, barHeight);
    segUnit = metrics.segUnit;
    segLength = metrics.segLength;
    penWidth = 6;
    metricsValid = true;
}

void CStaticCounter::paintEvent(QPaintEvent*) {
    clientRect = rect();
    QPainter screen(this);
    CStaticDC dc(&screen, clientRect);
    dc.fillRect(clientRect, backColour);
    if (!metricsValid) {
        ComputeMetrics();
    }
    const QString shown = CounterGeometry::PadText(text, minChars);
    // A text too long for the box at the height's size (an hour or more) is drawn smaller,
    // so no figure is lost off the right edge.
    CounterGeometry::Metrics drawn = Metrics();
    if (CounterGeometry::TextWidth(shown, drawn, penWidth) > clientRect.width()) {
        drawn = CounterGeometry::FitToWidth(
            shown, CounterGeometry::EffectiveHeight(clientRect.height(), showBar, barHeight),
            clientRect.width(), penWidth);
    }
    const std::vector<int> cells = CounterGeometry::CellPositions(shown, drawn);
    const QColor ghost =
        useGhostColour ? ghostColour : CounterGeometry::DefaultGhostColour(litColour);
    for (qsizetype i = 0; i < shown.size(); ++i) {
        const int x = cells[static_cast<size_t>(i)];
        if (showGhosts && shown[i] != u':') {
            DrawSegments(dc, CounterGeometry::kAllSegments, x, drawn, ghost);
        }
        DrawSegments(dc, CounterGeometry::CharCode(shown[i]), x, drawn, litColour);
    }
    if (showBar) {
        DrawValueBar(dc);
    }
}

void CStaticCounter::DrawSegments(QPainter& painter, int code, int x,
                                  CounterGeometry::Metrics metrics, const QColor& colour) const {
    const std::vector<QLine> strokes = CounterGeometry::SegmentStrokes(code, x, metrics);
    if (strokes.empty()) {
        return;
    }
    painter.save();
    painter.setPen(QPen(colour, penWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    for (const QLine& stroke : strokes) {
        painter.drawLine(stroke);
    }
    painter.restore();
}

void CStaticCounter::DrawValueBar(QPainter& painter) const {
    const int b = barHeight;
    const int right = clientRect.right() + 1;
    const int bottom = clientRect.bottom() + 1;
    const int w = CounterGeometry::BarWidth(value, minValue, maxValue, right);
    const QRect frame(clientRect.left(), bottom - b, right, b);
    painter.fillRect(frame, palette().color(QPalette::Button));
    // A sunken frame: shadow at the top and the left, highlight at the bottom and the right.
    const QColor shade = palette().color(QPalette::Dark);
    const QColor light = palette().color(QPalette::Light);
    painter.fillRect(frame.left(), frame.top(), frame.width() - 1, 1, shade);
    painter.fillRect(frame.left(), frame.top(), 1, frame.height() - 1, shade);
    painter.fillRect(frame.right(), frame.top(), 1, frame.height(), light);
    painter.fillRect(frame.left(), frame.bottom(), frame.width(), 1, light);
    bar.Draw(painter, QRect(clientRect.left(), bottom - b, w, b));
}

void CStaticCounter::ClampAndShow() {
    if (value < minValue) {
        value = minValue;
    }
    if (value > maxValue) {
        value = maxValue;
    }
    if (floatMode) {
        SetFloat(value, "%.4f");
    } else {
        SetInt(static_cast<int>(std::trunc(value)), "%.3d");
    }
}

void CStaticCounter::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        tracking = true; // the press grabs the mouse until the release
        anchorX = event->position().toPoint().x();
    }
    event->accept(); // a left press does nothing, and goes no further
}

void CStaticCounter::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    if (!tracking || !editable) {
        return;
    }
    const int x = event->position().toPoint().x();
    lastStep = x - anchorX;
    anchorX = x;
    value = value + static_cast<float>(lastStep) / 100;
    ClampAndShow();
}

void CStaticCounter::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() == Qt::LeftButton) {
        CounterValueEvent::Post(this, notifyId, value);
        return;
    }
    if (event->button() != Qt::RightButton) {
        return;
    }
    // A release without movement in the last step counts as a click: one step up.
    if (lastStep == 0 && editable) {
        value = static_cast<float>(value + (floatMode ? 0.01 : 1.0));
        ClampAndShow();
    }
    CounterValueEvent::Post(this, notifyId, value);
    lastStep = 0;
    tracking = false;
}
