#pragma once
// The waveform strip under the position slider: the same x is the same time as on the slider.
// It paints its track (refreshed while a worker fills it) and the overlay; a click asks to seek,
// dragging a movable mark moves it and dragging elsewhere marks a new range. It tells its owner
// through the callbacks and changes nothing itself.
#include "WaveformPainter.h"

#include <QImage>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

class CMySliderControl;

class CWaveformStrip : public QWidget {
    Q_OBJECT
public:
    explicit CWaveformStrip(QWidget* parent = nullptr);

    // The slider whose range and channel place the values.
    void FollowSlider(const CMySliderControl* slider);
    void SetTrack(std::shared_ptr<WaveformTrack> track);
    // Repaints only when it changed.
    void SetOverlay(const WaveOverlay& overlay);
    const WaveOverlay& Overlay() const { return overlay; }
    WaveAxis Axis() const;

    std::function<void(int ms)> onSeek;
    std::function<void(bool startMark, int ms)> onMarkDragged;
    std::function<void(int startMs, int endMs)> onRangeDragged;

    // Pixels a press may lie beside a mark and still take it.
    static constexpr int kGrip = 4;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    enum class Drag { None, Pending, StartMark, EndMark, Range };
    void PollTrack();
    int ValueAt(int x) const;

    const CMySliderControl* slider = nullptr;
    std::shared_ptr<WaveformTrack> track;
    WaveOverlay overlay;
    QTimer poll;
    // The waveform as last painted, and what it was painted from.
    QImage picture;
    uint64_t pictureVersion = ~uint64_t{0};
    const WaveformTrack* pictureTrack = nullptr;
    WaveAxis pictureAxis;
    QSize pictureSize;

    Drag drag = Drag::None;
    int pressX = 0;
};
