#pragma once
// The counter's value message: posted (QCoreApplication::postEvent) to the counter's parent
// widget when the mouse dial ends or the left button is released over the counter. The
// dialog picks it up in customEvent() by comparing the type with EventType().
#include <QEvent>
#include <QPointer>
#include <QWidget>

class CounterValueEvent : public QEvent {
public:
    // The message number the counter's value message has always had (WM_USER + 0x11).
    static constexpr int WM_COUNTERVALUE = 0x0811;

    CounterValueEvent(int counterNotifyId, int truncatedValue, QWidget* sender);

    static QEvent::Type EventType();

    // Posts the message from counter to its parent widget; nothing happens without a parent.
    static void Post(QWidget* counter, int counterNotifyId, float value);

    QWidget* source() const { return sourceWidget.data(); }

    const int notifyId; // the counter's `notifyId`
    const int value;    // the dial value truncated toward zero

private:
    QPointer<QWidget> sourceWidget;
};
