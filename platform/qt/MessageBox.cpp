#include "MessageBox.h"

#include <QCoreApplication>
#include <QMessageBox>

namespace {

MessageBoxFunction& CurrentFunction() {
    static MessageBoxFunction function;
    return function;
}

int ShowRealMessageBox(QWidget* owner, const QString& text, MessageBoxKind kind) {
    QMessageBox box(owner);
    box.setIcon(QMessageBox::NoIcon);
    box.setText(text);
    if (kind == MessageBoxKind::ExitQuestion) {
        box.setWindowTitle(QString::fromUtf8("提示"));
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::No);
        return box.exec() == QMessageBox::Yes ? IDYES : IDNO;
    }
    box.setWindowTitle(QCoreApplication::applicationName());
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return IDOK;
}

} // namespace

int ShowMessageBox(QWidget* owner, const QString& text, MessageBoxKind kind) {
    if (CurrentFunction()) {
        return CurrentFunction()(owner, text, kind);
    }
    return ShowRealMessageBox(owner, text, kind);
}

void SetMessageBoxFunction(MessageBoxFunction function) {
    CurrentFunction() = std::move(function);
}
