#pragma once
// Helpers for the widget tests: a parent that records what the controls post to it, and
// mouse and key events delivered straight to a widget.
#include <QEvent>
#include <QWidget>
#include <vector>

class QSlider;

struct RecordedScroll {
    int code;
    int position;
    QSlider* source;
};

struct RecordedValue {
    int notifyId;
    int value;
    QWidget* source;
};

class RecordingParent : public QWidget {
public:
    std::vector<RecordedScroll> scrolls;
    std::vector<RecordedValue> values;

    // Delivers whatever the controls have posted so far.
    void DeliverPosted();
    std::vector<int> ScrollCodes() const;

protected:
    void customEvent(QEvent* event) override;
};

void SendMouse(QWidget* widget, QEvent::Type type, Qt::MouseButton button, QPoint pos);
void SendKey(QWidget* widget, int key);
