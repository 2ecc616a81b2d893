// The real folder browser: it blocks no other window while it is open.
#include "FileDialogs.h"
#include "TempDir.h"

#include <QApplication>
#include <QFileDialog>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// Answers the open browser with folder (or cancels it when folder is empty), and tells
// whether any window was modal meanwhile.
void AnswerBrowser(const QString& folder, bool& blocked) {
    QTimer::singleShot(0, [folder, &blocked] {
        blocked = QApplication::activeModalWidget() != nullptr;
        for (QWidget* window : QApplication::topLevelWidgets()) {
            auto* browser = qobject_cast<QFileDialog*>(window);
            if (browser == nullptr || !browser->isVisible()) {
                continue;
            }
            if (folder.isEmpty()) {
                browser->reject();
            } else {
                browser->setDirectory(folder);
                browser->selectFile(folder);
                QMetaObject::invokeMethod(browser, "accept"); // the OK button
            }
        }
    });
}

} // namespace

TEST(FileDialogsTest, FolderBrowserLeavesTheOtherWindowsUsable) {
    TempDir dir;
    const QString folder = QString::fromStdString(dir.Path().string());
    QWidget mainWindow;
    mainWindow.show();
    bool blocked = true;
    AnswerBrowser(folder, blocked);
    EXPECT_EQ(BrowseForFolder("t", folder), folder);
    EXPECT_FALSE(blocked);
    EXPECT_TRUE(mainWindow.isEnabled());

    AnswerBrowser(QString(), blocked);
    EXPECT_EQ(BrowseForFolder("t", folder), QString());
}
