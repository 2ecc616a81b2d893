#include "CounterValueEvent.h"

#include <QCoreApplication>
#include <algorithm>
#include <cmath>
#include <limits>

CounterValueEvent::CounterValueEvent(int counterNotifyId, int truncatedValue, QWidget* sender)
    : QEvent(EventType()), notifyId(counterNotifyId), value(truncatedValue), sourceWidget(sender) {}

QEvent::Type CounterValueEvent::EventType() {
    static const auto type = static_cast<QEvent::Type>(QEvent::User + 0x11);
    return type;
}

void CounterValueEvent::Post(QWidget* counter, int counterNotifyId, float value) {
    QWidget* parent = counter->parentWidget();
    if (parent == nullptr) {
        return;
    }
    // The owner may widen the range beyond what an int holds; keep the conversion defined.
    constexpr double low = std::numeric_limits<int>::min();
    constexpr double high = std::numeric_limits<int>::max();
    const double whole = std::trunc(static_cast<double>(value));
    const int truncated = std::isnan(whole) ? 0 : static_cast<int>(std::clamp(whole, low, high));
    QCoreApplication::postEvent(parent, new CounterValueEvent(counterNotifyId, truncated, counter));
}
