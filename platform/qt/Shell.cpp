#include "Shell.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

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

// xdg-open tells by its exit status whether anything opened the address; Qt's own call only
// tells whether it could start an opener. Without xdg-open, Qt's own search (the desktop's
// opener, $BROWSER, known browsers) is the last try.
void LaunchOpener(const QUrl& url, const ShellFailure& failed) {
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty()) {
        if (!QDesktopServices::openUrl(url) && failed) {
            failed();
        }
        return;
    }
    // The opener may wait for what it started: it lives on its own, reporting at its end.
    auto* process = new QProcess(QCoreApplication::instance());
    process->setProgram(opener);
    process->setArguments({url.toString(QUrl::FullyEncoded)});
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QObject::connect(process, &QProcess::errorOccurred, process,
                     [process, failed](QProcess::ProcessError error) {
                         if (error == QProcess::FailedToStart) {
                             if (failed) {
                                 failed();
                             }
                             process->deleteLater();
                         }
                     });
    QObject::connect(process, &QProcess::finished, process,
                     [process, failed](int code, QProcess::ExitStatus status) {
                         if ((status != QProcess::NormalExit || code != 0) && failed) {
                             failed();
                         }
                         process->deleteLater();
                     });
    process->start();
}

void OpenUrl(const QUrl& url, const ShellFailure& failed) {
    if (!OpenUrlOverride()) {
        LaunchOpener(url, failed);
    } else if (!OpenUrlOverride()(url) && failed) {
        failed();
    }
}

} // namespace

void ShowFileInFileManager(const QString& path, const ShellFailure& failed) {
    const QFileInfo file(path);
    const QString uri = QUrl::fromLocalFile(file.absoluteFilePath()).toString(QUrl::FullyEncoded);
    if (!ShowItems(QStringList{uri})) {
        OpenUrl(QUrl::fromLocalFile(file.absolutePath()), failed);
    }
}

QUrl UrlForFolderOrAddress(const QString& text) {
    const QUrl url(text, QUrl::StrictMode);
    // Only a text with a scheme of its own is an address; "/home/x" and "剪切" are paths.
    if (url.isValid() && !url.scheme().isEmpty() && !text.startsWith(QLatin1Char('/'))) {
        return url;
    }
    return QUrl::fromLocalFile(QFileInfo(text).absoluteFilePath());
}

void OpenFolderOrUrl(const QString& text, const ShellFailure& failed) {
    OpenUrl(UrlForFolderOrAddress(text), failed);
}

void SetShowItemsFunction(ShowItemsFunction function) {
    ShowItemsOverride() = std::move(function);
}

void SetOpenUrlFunction(OpenUrlFunction function) {
    OpenUrlOverride() = std::move(function);
}
