#include "ScrollNotifyEvent.h"

#include <QCoreApplication>

ScrollNotifyEvent::ScrollNotifyEvent(int notifyCode, int sliderPosition, QSlider* sender)
    : QEvent(EventType()), code(notifyCode), position(sliderPosition), sourceSlider(sender) {}

QEvent::Type ScrollNotifyEvent::EventType() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

void ScrollNotifyEvent::Post(QSlider* slider, int notifyCode) {
    QWidget* parent = slider->parentWidget();
    if (parent == nullptr) {
        return;
    }
    QCoreApplication::postEvent(parent, new ScrollNotifyEvent(notifyCode, slider->value(), slider));
}
