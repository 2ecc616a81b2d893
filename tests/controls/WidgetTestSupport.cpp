#include "WidgetTestSupport.h"

#include "CounterValueEvent.h"
#include "ScrollNotifyEvent.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>

void RecordingParent::DeliverPosted() {
    QCoreApplication::sendPostedEvents(this);
}

std::vector<int> RecordingParent::ScrollCodes() const {
    std::vector<int> codes;
    for (const RecordedScroll& scroll : scrolls) {
        codes.push_back(scroll.code);
    }
    return codes;
}

void RecordingParent::customEvent(QEvent* event) {
    if (event->type() == ScrollNotifyEvent::EventType()) {
        auto* scroll = static_cast<ScrollNotifyEvent*>(event);
        scrolls.push_back({scroll->code, scroll->position, scroll->source()});
    } else if (event->type() == CounterValueEvent::EventType()) {
        auto* message = static_cast<CounterValueEvent*>(event);
        values.push_back({message->notifyId, message->value, message->source()});
    }
}

void SendMouse(QWidget* widget, QEvent::Type type, Qt::MouseButton button, QPoint pos) {
    // Buttons held after the event: the pressed one during a press or move, none at release.
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : button;
    const QPointF global = widget->mapToGlobal(QPointF(pos));
    QMouseEvent event(type, QPointF(pos), global, type == QEvent::MouseMove ? Qt::NoButton : button,
                      held, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

void SendKey(QWidget* widget, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &release);
}
