#pragma once
// The open-file dialog and the folder browser, behind seams so tests can answer them
// without a modal window.
#include <QString>
#include <functional>

class QWidget;

// The chosen file's full path, or an empty text when the user cancelled. filter is in
// QFileDialog's form, e.g. "mp3文件(*.mp3)".
QString GetOpenFileName(QWidget* owner, const QString& filter);

// The chosen folder's path, or an empty text when the user cancelled. The browser has no
// owner window, so the main window stays usable while it is open.
QString BrowseForFolder(const QString& title);

using OpenFileFunction = std::function<QString(QWidget* owner, const QString& filter)>;
using BrowseFolderFunction = std::function<QString(const QString& title)>;
// Replace the real dialogs; an empty function restores them.
void SetOpenFileFunction(OpenFileFunction function);
void SetBrowseFolderFunction(BrowseFolderFunction function);
