#pragma once
// The one seam through which the program shows message boxes, so tests can
// record the exact texts instead of blocking on a modal box.
#include <QString>
#include <functional>

class QWidget;

enum class MessageBoxKind {
    Ok,          // OK button, no icon, the application's name as caption
    ExitQuestion // caption "提示", Yes/No, No as default
};

enum MessageBoxResult { IDOK = 1, IDYES = 6, IDNO = 7 };

// owner may be null (no owner window).
using MessageBoxFunction =
    std::function<int(QWidget* owner, const QString& text, MessageBoxKind kind)>;

int ShowMessageBox(QWidget* owner, const QString& text, MessageBoxKind kind = MessageBoxKind::Ok);

// Replaces the function behind ShowMessageBox; an empty function restores the real boxes.
void SetMessageBoxFunction(MessageBoxFunction function);
