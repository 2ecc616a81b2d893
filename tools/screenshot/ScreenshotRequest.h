#pragma once
// For documentation and checks of the look: the window saves a picture of itself after a
// delay and the process ends with code 0 (1 when the picture cannot be written).
#include <QString>

class QWidget;

void ScheduleScreenshot(QWidget* window, const QString& path, int delayMs);
