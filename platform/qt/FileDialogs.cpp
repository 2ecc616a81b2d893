#include "FileDialogs.h"

#include <QEventLoop>
#include <QFileDialog>
#include <QPointer>

namespace {

OpenFileFunction& OpenFileOverride() {
    static OpenFileFunction function;
    return function;
}

BrowseFolderFunction& BrowseFolderOverride() {
    static BrowseFolderFunction function;
    return function;
}

} // namespace

QString GetOpenFileName(QWidget* owner, const QString& filter) {
    if (OpenFileOverride()) {
        return OpenFileOverride()(owner, filter);
    }
    // Qt's own dialog, which speaks the program's language; a desktop's native one would not.
    return QFileDialog::getOpenFileName(owner, QString(), QString(), filter, nullptr,
                                        QFileDialog::DontUseNativeDialog);
}

QString BrowseForFolder(const QString& title, const QString& startFolder) {
    if (BrowseFolderOverride()) {
        return BrowseFolderOverride()(title, startFolder);
    }
    static QPointer<QFileDialog> openBrowser; // one at a time: the main window stays usable
    if (openBrowser) {
        openBrowser->raise();
        openBrowser->activateWindow();
        return QString();
    }
    // getExistingDirectory would block every window of the program; this browser runs its
    // own loop without an owner and leaves the main window usable meanwhile.
    QFileDialog browser(nullptr, title, startFolder);
    openBrowser = &browser;
    browser.setFileMode(QFileDialog::Directory);
    browser.setOption(QFileDialog::ShowDirsOnly);
    // Qt's own browser, which speaks the program's language; a native one would not.
    browser.setOption(QFileDialog::DontUseNativeDialog);
    browser.setWindowModality(Qt::NonModal);
    QEventLoop loop;
    QObject::connect(&browser, &QDialog::finished, &loop, &QEventLoop::quit);
    browser.show();
    // Without a window manager nobody else gives the new window the keyboard.
    browser.raise();
    browser.activateWindow();
    loop.exec(QEventLoop::DialogExec);
    if (browser.result() != QDialog::Accepted || browser.selectedFiles().isEmpty()) {
        return QString();
    }
    return browser.selectedFiles().front();
}

void SetOpenFileFunction(OpenFileFunction function) {
    OpenFileOverride() = std::move(function);
}

void SetBrowseFolderFunction(BrowseFolderFunction function) {
    BrowseFolderOverride() = std::move(function);
}
