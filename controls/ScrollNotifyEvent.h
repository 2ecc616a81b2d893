#pragma once
// The slider's scroll notification to its dialog. The slider posts it with
// QCoreApplication::postEvent to its parent widget, so the dialog handles it after the
// slider's own mouse handler has returned, and the handler may freely move or reset the
// slider. It is posted for horizontal and vertical sliders alike.
//
// Receiving it in a dialog:
//
//     void CTesmiraDlg::customEvent(QEvent* event) {
//         if (event->type() == ScrollNotifyEvent::EventType()) {
//             auto* scroll = static_cast<ScrollNotifyEvent*>(event);
//             OnHScroll(scroll->code, scroll->position, scroll->source());
//         }
//     }
//
// `source()` is null when the slider was deleted before the event arrived.
#include <QEvent>
#include <QPointer>
#include <QSlider>

class ScrollNotifyEvent : public QEvent {
public:
    // Notification codes, numbered as the scroll-bar codes they stand for: the mouse's
    // track and final position, and the end of a move made with the keyboard or the wheel.
    enum Code { SB_THUMBPOSITION = 4, SB_THUMBTRACK = 5, SB_ENDSCROLL = 8 };

    ScrollNotifyEvent(int notifyCode, int sliderPosition, QSlider* sender);

    static QEvent::Type EventType();

    // Posts a notification from slider to its parent widget; nothing happens without a parent.
    static void Post(QSlider* slider, int notifyCode);

    QSlider* source() const { return sourceSlider.data(); }

    const int code;
    const int position; // the slider's position when the notification was posted

private:
    QPointer<QSlider> sourceSlider;
};
