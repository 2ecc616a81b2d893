#include "CWaveformStrip.h"

#include "CMySliderControl.h"

#include <QMouseEvent>
#include <QPainter>
#include <cstdlib>

namespace {

// While a worker fills the track it is looked at this often: new columns show at least
// every 100 ms.
constexpr int kPollMs = 50;
// A press that moves less than this is a click.
constexpr int kDragStart = 3;

bool SameAxis(const WaveAxis& a, const WaveAxis& b) {
    return a.range.min == b.range.min && a.range.max == b.range.max &&
           a.channel.left == b.channel.left && a.channel.right == b.channel.right;
}

bool SameOverlay(const WaveOverlay& a, const WaveOverlay& b) {
    return a.startMs == b.startMs && a.endMs == b.endMs && a.marksMovable == b.marksMovable &&
           a.fadeInEndMs == b.fadeInEndMs && a.fadeOutStartMs == b.fadeOutStartMs &&
           a.positionMs == b.positionMs && a.lengthText == b.lengthText;
}

} // namespace

CWaveformStrip::CWaveformStrip(QWidget* parent) : QWidget(parent) {
    setAccessibleName(QString::fromUtf8("波形"));
    poll.setInterval(kPollMs);
    connect(&poll, &QTimer::timeout, this, [this] { PollTrack(); });
}

void CWaveformStrip::FollowSlider(const CMySliderControl* followed) {
    slider = followed;
    update();
}

void CWaveformStrip::SetTrack(std::shared_ptr<WaveformTrack> fresh) {
    track = std::move(fresh);
    pictureTrack = nullptr;
    if (track && !track->Done()) {
        poll.start();
    } else {
        poll.stop();
    }
    update();
}

void CWaveformStrip::SetOverlay(const WaveOverlay& fresh) {
    if (SameOverlay(fresh, overlay)) {
        return;
    }
    overlay = fresh;
    update(); // the waveform picture is kept: only the overlay is drawn again
}

WaveAxis CWaveformStrip::Axis() const {
    WaveAxis axis;
    if (slider != nullptr) {
        axis.range = {slider->minimum(), slider->maximum()};
        axis.channel = slider->ChannelSpan();
    }
    return axis;
}

void CWaveformStrip::PollTrack() {
    if (!track) {
        poll.stop();
        return;
    }
    if (track->Done()) {
        poll.stop();
    }
    if (track->Version() != pictureVersion) {
        update();
    }
}

void CWaveformStrip::paintEvent(QPaintEvent*) {
    const WaveAxis axis = Axis();
    if (track && (pictureTrack != track.get() || pictureVersion != track->Version() ||
                  !SameAxis(axis, pictureAxis) || pictureSize != size())) {
        pictureVersion = track->Version();
        track->Read([&](const WaveFormat& format, std::span<const WaveBucket> buckets, int peak) {
            picture = PaintWaveform(buckets, format, peak, size(), axis);
        });
        pictureTrack = track.get();
        pictureAxis = axis;
        pictureSize = size();
    }
    QPainter painter(this);
    if (track) {
        painter.drawImage(0, 0, picture);
    } else {
        painter.fillRect(rect(), WaveformColours::kBackground);
    }
    painter.fillRect(
        QRect(axis.channel.left, height() / 2, axis.channel.right - axis.channel.left, 1),
        track && track->Version() > 0 ? QColor(Qt::transparent) : WaveformColours::kCentre);
    PaintOverlay(painter, size(), axis, overlay);
}

int CWaveformStrip::ValueAt(int x) const {
    const WaveAxis axis = Axis();
    const int value = SliderGeometry::PointToPosition(x, axis.range, axis.channel);
    return std::clamp(value, axis.range.min, axis.range.max);
}

void CWaveformStrip::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || slider == nullptr) {
        return;
    }
    const int x = event->position().toPoint().x();
    pressX = x;
    drag = Drag::Pending;
    if (!overlay.marksMovable || overlay.startMs < 0) {
        return;
    }
    const WaveAxis axis = Axis();
    const auto near = [&](int ms) {
        return std::abs(SliderGeometry::ValueToX(ms, axis.range, axis.channel) - x) <= kGrip;
    };
    // The end first: a range too short to tell them apart still lets the end move right.
    if (overlay.endMs > overlay.startMs && near(overlay.endMs)) {
        drag = Drag::EndMark;
    } else if (near(overlay.startMs)) {
        drag = Drag::StartMark;
    }
}

void CWaveformStrip::mouseMoveEvent(QMouseEvent* event) {
    const int x = event->position().toPoint().x();
    switch (drag) {
    case Drag::StartMark:
    case Drag::EndMark:
        if (onMarkDragged) {
            onMarkDragged(drag == Drag::StartMark, ValueAt(x));
        }
        break;
    case Drag::Pending:
        if (std::abs(x - pressX) < kDragStart || !overlay.marksMovable) {
            break;
        }
        drag = Drag::Range;
        [[fallthrough]];
    case Drag::Range:
        if (onRangeDragged && x != pressX) {
            onRangeDragged(ValueAt(std::min(x, pressX)), ValueAt(std::max(x, pressX)));
        }
        break;
    case Drag::None:
        break;
    }
}

void CWaveformStrip::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    const Drag ended = drag;
    drag = Drag::None;
    if ((ended == Drag::Pending ||
         ((ended == Drag::StartMark || ended == Drag::EndMark) &&
          std::abs(event->position().toPoint().x() - pressX) < kDragStart)) &&
        onSeek) {
        onSeek(ValueAt(pressX));
    }
}
