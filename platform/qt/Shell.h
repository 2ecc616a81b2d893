#pragma once
// The desktop's file manager and browser: show a file in its folder, open a folder or
// a web address. When nothing could, `failed` is called: at once, or later from the event
// loop when the opener reports its failure on ending.
#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>

using ShellFailure = std::function<void()>;

// Asks the file manager to show the file selected (the freedesktop FileManager1
// ShowItems call); when no file manager answers, opens the file's folder instead.
void ShowFileInFileManager(const QString& path, const ShellFailure& failed = {});

// Opens a local folder (or file) in the file manager, or a web address in the browser
// (xdg-open, else Qt's own search for an opener).
void OpenFolderOrUrl(const QString& text, const ShellFailure& failed = {});

// The URL OpenFolderOrUrl opens for text: a local path becomes an absolute file URL.
QUrl UrlForFolderOrAddress(const QString& text);

// Seams for tests, so nothing real is launched: the ShowItems call (file URIs in,
// whether a file manager accepted them out) and the desktop's open-URL call. An empty
// function restores the real one.
using ShowItemsFunction = std::function<bool(const QStringList& uris)>;
using OpenUrlFunction = std::function<bool(const QUrl& url)>;
void SetShowItemsFunction(ShowItemsFunction function);
void SetOpenUrlFunction(OpenUrlFunction function);
