#include "FileDialogs.h"

#include <QEventLoop>
#include <QFileDialog>

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
    return QFileDialog::getOpenFileName(owner, QString(), QString(), filter);
}

QString BrowseForFolder(const QString& title) {
    if (BrowseFolderOverride()) {
        return BrowseFolderOverride()(title);
    }
    // getExistingDirectory would block every window of the program; this browser runs its
    // own loop without an owner and leaves the main window usable meanwhile.
    QFileDialog browser(nullptr, title);
    browser.setFileMode(QFileDialog::Directory);
    browser.setOption(QFileDialog::ShowDirsOnly);
    browser.setWindowModality(Qt::NonModal);
    QEventLoop loop;
    QObject::connect(&browser, &QDialog::finished, &loop, &QEventLoop::quit);
    browser.show();
    loop.exec();
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
