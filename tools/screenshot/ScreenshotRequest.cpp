#include "ScreenshotRequest.h"

#include "ProcessExit.h"

#include <QPixmap>
#include <QTimer>
#include <QWidget>
#include <cstdio>

void ScheduleScreenshot(QWidget* window, const QString& path, int delayMs) {
    QTimer::singleShot(delayMs, window, [window, path] {
        const bool saved = window->grab().save(path, "PNG");
        if (!saved) {
            std::fprintf(stderr, "tesmira-screenshot: cannot write %s\n", qPrintable(path));
        }
        EndProcess(saved ? 0 : 1);
    });
}
