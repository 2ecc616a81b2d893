#include "Shell.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDesktopServices>
#include <QFileInfo>

namespace {

// A file manager that is there answers at once; one that must be started first gets a
// little longer, but the window must not hang on a bus that never answers.
constexpr int kShowItemsTimeoutMs = 3000;

ShowItemsFunction& ShowItemsOverride() {
    static ShowItemsFunction function;
    return function;
}

OpenUrlFunction& OpenUrlOverride() {
    static OpenUrlFunction function;
    return function;
}

bool CallShowItems(const QStringList& uris) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        return false;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"),
        QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
    call << uris << QString();
    const QDBusMessage reply = bus.call(call, QDBus::Block, kShowItemsTimeoutMs);
    return reply.type() == QDBusMessage::ReplyMessage;
}

bool ShowItems(const QStringList& uris) {
    return ShowItemsOverride() ? ShowItemsOverride()(uris) : CallShowItems(uris);
}

bool OpenUrl(const QUrl& url) {
    return OpenUrlOverride() ? OpenUrlOverride()(url) : QDesktopServices::openUrl(url);
}

} // namespace

bool ShowFileInFileManager(const QString& path) {
    const QFileInfo file(path);
    const QString uri = QUrl::fromLocalFile(file.absoluteFilePath()).toString(QUrl::FullyEncoded);
    if (ShowItems(QStringList{uri})) {
        return true;
    }
    return OpenUrl(QUrl::fromLocalFile(file.absolutePath()));
}

QUrl UrlForFolderOrAddress(const QString& text) {
    const QUrl url(text, QUrl::StrictMode);
    // Only a text with a scheme of its own is an address; "/home/x" and "剪切" are paths.
    if (url.isValid() && !url.scheme().isEmpty() && !text.startsWith(QLatin1Char('/'))) {
        return url;
    }
    return QUrl::fromLocalFile(QFileInfo(text).absoluteFilePath());
}

bool OpenFolderOrUrl(const QString& text) {
    return OpenUrl(UrlForFolderOrAddress(text));
}

void SetShowItemsFunction(ShowItemsFunction function) {
    ShowItemsOverride() = std::move(function);
}

void SetOpenUrlFunction(OpenUrlFunction function) {
    OpenUrlOverride() = std::move(function);
}
