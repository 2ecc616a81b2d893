#include "CMySliderControl.h"

#include "ScrollNotifyEvent.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionSlider>
#include <algorithm>
#include <qdrawutil.h>

namespace {
// The channel strip is as thick as the classic trackbar's.
constexpr int kChannelThickness = 4;
constexpr int kPagesPerRange = 5;
} // namespace

CMySliderControl::CMySliderControl(QWidget* parent) : CMySliderControl(Qt::Horizontal, parent) {}

CMySliderControl::CMySliderControl(Qt::Orientation orientation, QWidget* parent)
    : QSlider(orientation, parent) {
    setAutoFillBackground(false);
    setOrientation(orientation);
    // The page keys move a trackbar by a fifth of its range, unless its owner sets a page.
    connect(this, &QAbstractSlider::rangeChanged, this, [this](int low, int high) {
        if (pageFollowsRange) {
            QSlider::setPageStep(std::max((high - low) / kPagesPerRange, 1));
        }
    });
    QSlider::setPageStep(std::max((maximum() - minimum()) / kPagesPerRange, 1));
}

void CMySliderControl::SetPageSize(int step) {
    pageFollowsRange = false;
    QSlider::setPageStep(step);
}

void CMySliderControl::setOrientation(Qt::Orientation orientation) {
    QSlider::setOrientation(orientation);
    const bool vertical = orientation == Qt::Vertical;
    setInvertedAppearance(vertical);
    setInvertedControls(vertical);
}

SliderGeometry::Channel CMySliderControl::ChannelSpan() const {
    QStyleOptionSlider option;
    initStyleOption(&option);
    auto thumbCentre = [&](int position) {
        option.sliderPosition = position;
        option.sliderValue = position;
        const QRect thumb =
            style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
        return orientation() == Qt::Horizontal ? thumb.center().x() : thumb.center().y();
    };
    return {thumbCentre(minimum()), thumbCentre(maximum())};
}

QRect CMySliderControl::ChannelRect() const {
    QStyleOptionSlider option;
    initStyleOption(&option);
    const QRect thumb =
        style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
    const SliderGeometry::Channel span = ChannelSpan();
    // The strip reaches as far as the thumb does at either end, so the thumb never stands
    // past the end of its track.
    const bool horizontal = orientation() == Qt::Horizontal;
    const int half = (horizontal ? thumb.width() : thumb.height()) / 2;
    const int first = std::min(span.left, span.right) - half;
    const int length = std::abs(span.right - span.left) + 2 * half;
    if (horizontal) {
        const int top = thumb.center().y() - kChannelThickness / 2;
        return {first, top, length, kChannelThickness};
    }
    const int left = thumb.center().x() - kChannelThickness / 2;
    return {left, first, kChannelThickness, length};
}

int CMySliderControl::ValueToX(int value) const {
    return SliderGeometry::ValueToX(value, CurrentRange(), ChannelSpan());
}

void CMySliderControl::paintEvent(QPaintEvent*) {
    // Nothing fills the background: the dialog beneath shows through. The inside of the
    // channel is not filled either.
    QPainter painter(this);
    qDrawWinPanel(&painter, SliderGeometry::ChannelFrameRect(ChannelRect()), palette(), true,
                  nullptr);
    if (orientation() == Qt::Horizontal) {
        const QRect mark = SliderGeometry::RangeMarkRect(startMark, endMark, CurrentRange(),
                                                         ChannelSpan(), rect());
        if (!mark.isEmpty()) {
            painter.fillRect(mark, kRangeMarkColour);
        }
    }
    // Ticks and thumb keep the style's own drawing, over the channel and the mark.
    QStyleOptionSlider option;
    initStyleOption(&option);
    option.subControls = QStyle::SC_SliderTickmarks | QStyle::SC_SliderHandle;
    style()->drawComplexControl(QStyle::CC_Slider, &option, &painter, this);
    // The keyboard's slider is framed, as a trackbar with the focus is.
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

int CMySliderControl::AxisCoordinate(const QPoint& point) const {
    return orientation() == Qt::Horizontal ? point.x() : point.y();
}

bool CMySliderControl::TrackPoint(const QPoint& point) {
    const int position =
        SliderGeometry::PointToPosition(AxisCoordinate(point), CurrentRange(), ChannelSpan());
    if (position == value()) {
        return false;
    }
    setValue(position); // clamps to the range
    return true;
}

void CMySliderControl::NotifyParent(int code) {
    ScrollNotifyEvent::Post(this, code);
}

void CMySliderControl::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        // The middle and right buttons do nothing on a trackbar; Qt's slider would jump to
        // the point without a notification, leaving the owner's texts behind.
        event->accept();
        return;
    }
    // The press is ours alone: QSlider's paging on a press is not wanted.
    dragging = true;
    moved = false;
    setFocus(Qt::MouseFocusReason);
    if (TrackPoint(event->position().toPoint())) {
        moved = true;
        NotifyParent(ScrollNotifyEvent::SB_THUMBTRACK);
    }
    event->accept();
}

void CMySliderControl::mouseMoveEvent(QMouseEvent* event) {
    if (!dragging) {
        event->accept();
        return;
    }
    if (TrackPoint(event->position().toPoint())) {
        moved = true;
        NotifyParent(ScrollNotifyEvent::SB_THUMBTRACK);
    }
    event->accept();
}

void CMySliderControl::mouseReleaseEvent(QMouseEvent* event) {
    if (!dragging || event->button() != Qt::LeftButton) {
        event->accept(); // no press of ours: nothing to end
        return;
    }
    dragging = false;
    if (TrackPoint(event->position().toPoint())) {
        NotifyParent(ScrollNotifyEvent::SB_THUMBTRACK);
        moved = true;
    }
    if (moved) {
        NotifyParent(ScrollNotifyEvent::SB_THUMBPOSITION);
        moved = false;
    }
    event->accept();
}

void CMySliderControl::keyPressEvent(QKeyEvent* event) {
    const int before = value();
    QSlider::keyPressEvent(event);
    if (value() != before) {
        NotifyParent(ScrollNotifyEvent::SB_ENDSCROLL);
    }
}

void CMySliderControl::wheelEvent(QWheelEvent* event) {
    const int before = value();
    QSlider::wheelEvent(event);
    if (value() != before) {
        NotifyParent(ScrollNotifyEvent::SB_ENDSCROLL);
    }
}
