#pragma once
// The open-file dialog and the folder browser, behind seams so tests can answer them
// without a modal window.
#include <QString>
#include <functional>

class QWidget;

// The chosen file's full path, or an empty text when the user cancelled. filter is in
// QFileDialog's form, e.g. "mp3文件(*.mp3)".
QString GetOpenFileName(QWidget* owner, const QString& filter);

// The chosen folder's path, or an empty text when the user cancelled. The browser starts
// in startFolder and has no owner window, so the main window stays usable while it is
// open; while one browser is open, another request brings it to the front and returns the
// empty text.
QString BrowseForFolder(const QString& title, const QString& startFolder);

using OpenFileFunction = std::function<QString(QWidget* owner, const QString& filter)>;
using BrowseFolderFunction =
    std::function<QString(const QString& title, const QString& startFolder)>;
// Replace the real dialogs; an empty function restores them.
void SetOpenFileFunction(OpenFileFunction function);
void SetBrowseFolderFunction(BrowseFolderFunction function);
