#include "FileDialogs.h"

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
    return QFileDialog::getExistingDirectory(nullptr, title, QString(), QFileDialog::ShowDirsOnly);
}

void SetOpenFileFunction(OpenFileFunction function) {
    OpenFileOverride() = std::move(function);
}

void SetBrowseFolderFunction(BrowseFolderFunction function) {
    BrowseFolderOverride() = std::move(function);
}
