#include "WindowActions.h"

#include "ControlIds.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSlider>
#include <QTest>
#include <algorithm>
#include <filesystem>
#include <thread>

void SendMouse(QWidget* widget, QEvent::Type type, QPoint pos) {
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, QPointF(pos), widget->mapToGlobal(QPointF(pos)), button, held,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

void TypeInto(CTesmiraDlg& dialog, int id, const QString& text) {
    auto* edit = qobject_cast<QLineEdit*>(dialog.GetDlgItem(id));
    ASSERT_NE(edit, nullptr) << "edit " << id;
    edit->selectAll();
    if (text.isEmpty()) {
        QTest::keyClick(edit, Qt::Key_Backspace);
    } else {
        QTest::keyClicks(edit, text);
    }
    ASSERT_EQ(edit->text(), text) << "edit " << id;
}

void DragSlider(CTesmiraDlg& dialog, QSlider* slider, QPoint from, QPoint to) {
    SendMouse(slider, QEvent::MouseButtonPress, from);
    if (to != from) {
        SendMouse(slider, QEvent::MouseMove, to);
    }
    SendMouse(slider, QEvent::MouseButtonRelease, to);
    QCoreApplication::sendPostedEvents(&dialog);
}

void PressKey(CTesmiraDlg& dialog, QWidget* widget, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &release);
    QCoreApplication::sendPostedEvents(&dialog);
}

bool FollowCut(CTesmiraDlg& dialog, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (dialog.IsTimerRunning(kCutTimerId)) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        dialog.FireTimer(kCutTimerId);
    }
    return true;
}

std::set<std::string> ThreadIds() {
    std::set<std::string> ids;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/task")) {
        ids.insert(entry.path().filename());
    }
    return ids;
}

std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}
