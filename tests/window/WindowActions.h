#pragma once
// What a user does to the main window, for the handler tests: typing into an edit, pressing
// and dragging a slider, pressing keys, following a cut's progress timer.
#include "WindowFixture.h"

#include <QEvent>
#include <QPoint>
#include <QString>
#include <chrono>
#include <set>
#include <string>
#include <vector>

class QSlider;

// Selects the edit's text and types text over it, one change per key; an empty text
// deletes the selection.
void TypeInto(CTesmiraDlg& dialog, int id, const QString& text);
// Left button pressed at `from`, moved to `to` (when it differs), released; then the
// window handles the notifications the slider posted.
void DragSlider(CTesmiraDlg& dialog, QSlider* slider, QPoint from, QPoint to);
// One left-button mouse event on widget at pos (pressed, moved with the button held, or
// released).
void SendMouse(QWidget* widget, QEvent::Type type, QPoint pos);
// The key pressed and released on a focused widget; posted notifications are handled.
void PressKey(CTesmiraDlg& dialog, QWidget* widget, int key);
// Fires the cut timer until the window stops following the cut; false when it still
// follows one after `limit`.
bool FollowCut(CTesmiraDlg& dialog,
               std::chrono::milliseconds limit = std::chrono::milliseconds(60000));
// The ids of the process's threads.
std::set<std::string> ThreadIds();
// The names of the files in folder, sorted.
std::vector<std::string> FilesIn(const std::string& folder);
