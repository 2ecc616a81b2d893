#pragma once
// For documentation and checks of the look: with TESMIRA_SCREENSHOT=<file.png> in the
// environment, the window saves a picture of itself after TESMIRA_SCREENSHOT_DELAY_MS
// (default 2000) and the program ends with code 0 (1 when the picture cannot be written).
class QWidget;

void ScheduleScreenshotIfRequested(QWidget* window);
