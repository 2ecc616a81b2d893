#include "ScreenshotRequest.h"

#include "ProcessExit.h"

#include <QPixmap>
#include <QTimer>
#include <QWidget>
#include <cstdio>

namespace {

constexpr int kDefaultDelayMs = 2000;

} // namespace

void ScheduleScreenshotIfRequested(QWidget* window) {
    const QString path = qEnvironmentVariable("TESMIRA_SCREENSHOT");
    if (path.isEmpty()) {
        return;
    }
    bool ok = false;
    int delayMs = qEnvironmentVariableIntValue("TESMIRA_SCREENSHOT_DELAY_MS", &ok);
    if (!ok || delayMs < 0) {
        delayMs = kDefaultDelayMs;
    }
    QTimer::singleShot(delayMs, window, [window, path] {
        const bool saved = window->grab().save(path, "PNG");
        if (!saved) {
            std::fprintf(stderr, "tesmira: cannot write %s\n", qPrintable(path));
        }
        EndProcess(saved ? 0 : 1);
    });
}
