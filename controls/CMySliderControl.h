#pragma once
// The dialog's slider: a QSlider that paints its own channel as a sunken edge with the
// dialog showing through, marks the cut segment in green on a horizontal slider, jumps
// straight to a pressed point and follows the mouse while the left button is held; the
// middle and right buttons do nothing.
// Every change made with the mouse is reported to the parent widget by a posted
// ScrollNotifyEvent: SB_THUMBTRACK (5) for each change while the button is held and
// SB_THUMBPOSITION (4) once at release when the position changed during the press.
// Vertical sliders post the same events. Keyboard and wheel move the thumb as QSlider's
// own do, and each move that changes the position posts SB_ENDSCROLL (8).
#include "SliderGeometry.h"

#include <QColor>
#include <QSlider>

class CMySliderControl : public QSlider {
    Q_OBJECT
public:
    static inline const QColor kRangeMarkColour{73, 209, 0};

    explicit CMySliderControl(QWidget* parent = nullptr);
    CMySliderControl(Qt::Orientation orientation, QWidget* parent = nullptr);

    // Vertical sliders keep their minimum at the top (the speed and pitch sliders count
    // down from their largest factor), and the arrow keys move the thumb the way they point.
    // Hides QSlider::setOrientation: change the orientation through this class (or the
    // constructor), not through a QSlider pointer.
    void setOrientation(Qt::Orientation orientation);

    // The marked range, written directly by the owner, who then calls update().
    // startMark = -1: no mark; endMark = -1: end not set (a marker at the start is drawn).
    int startMark = -1;
    int endMark = 0;

    // Where the thumb's centre sits at the minimum and at the maximum, along the axis.
    SliderGeometry::Channel ChannelSpan() const;
    // The channel strip in client coordinates, before the edge is drawn around it: from the
    // thumb's outer edge at the minimum to its outer edge at the maximum.
    QRect ChannelRect() const;
    // x of a position on the channel, as the range mark uses it.
    int ValueToX(int value) const;

    // The left button holds the thumb: the owner leaves the position alone meanwhile.
    bool IsDragging() const { return dragging; }

    // The page keys' step. Until it is set, it is a fifth of the range (at least 1) and
    // follows every range change.
    void SetPageSize(int step);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

    // Moves the thumb to the position under point; true when the computed position differs
    // from the current one (also when the slider then clamps it back to where it was).
    bool TrackPoint(const QPoint& point);
    void NotifyParent(int code);

private:
    SliderGeometry::Range CurrentRange() const { return {minimum(), maximum()}; }
    int AxisCoordinate(const QPoint& point) const;

    bool pageFollowsRange = true;
    bool dragging = false; // the left button was pressed on the slider
    bool moved = false;    // the position changed during the current press
};
