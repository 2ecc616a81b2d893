// The save-folder browser beside the running main window, under a real X server with real
// mouse and key events (xdotool): offscreen, nothing blocks input, so only this shows
// whether the browser takes the mouse and the keyboard. Runs only on the xcb platform.
#include "ControlIds.h"
#include "FileDialogs.h"
#include "WindowFixture.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QProcess>
#include <QPushButton>
#include <QTimer>
#include <QWindow>
#include <chrono>
#include <filesystem>
#include <functional>

namespace {

// Real input through the X server, as a user's.
void Xdo(const QStringList& arguments) {
    EXPECT_EQ(QProcess::execute(QStringLiteral("xdotool"), arguments), 0) << "xdotool failed";
}

void ClickAt(const QWidget* widget) {
    const QPoint centre = widget->mapToGlobal(widget->rect().center());
    Xdo({"mousemove", QString::number(centre.x()), QString::number(centre.y()), "click", "1"});
}

QFileDialog* OpenBrowser() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        auto* browser = qobject_cast<QFileDialog*>(window);
        if (browser != nullptr && browser->isVisible()) {
            return browser;
        }
    }
    return nullptr;
}

// Steps run one after the other inside the window's own loop, each once its condition
// holds; after the time limit the window is ended and the test fails.
struct Step {
    std::function<bool()> ready;
    std::function<void()> act;
};

void RunInDialog(CTesmiraDlg& dialog, std::vector<Step> steps) {
    size_t next = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (next < steps.size() && steps[next].ready()) {
            steps[next++].act();
        }
        const bool late = std::chrono::steady_clock::now() > deadline;
        if (next == steps.size() || late) {
            EXPECT_FALSE(late) << "stuck before step " << next;
            if (QFileDialog* browser = OpenBrowser()) {
                browser->reject();
            }
            dialog.EndDialog(IDCANCEL);
        }
    });
    poll.start(50);
    dialog.DoModal();
}

} // namespace

TEST_F(WindowTest, FolderBrowserTakesMouseAndKeysBesideTheRunningWindow) {
    if (QApplication::platformName() != QLatin1String("xcb")) {
        GTEST_SKIP() << "needs an X server; ctest runs it as window_folder_browser_x11";
    }
    SetBrowseFolderFunction({}); // the real browser
    auto dialog = MakeDialog();
    const QString firstFolder = QString::fromStdString(home + "/剪切");
    const QString chosen = QString::fromStdString(dir.File("chosen"));
    std::filesystem::create_directories(chosen.toStdString());
    QWidget* setFolder = dialog->GetDlgItem(IDC_BTN_SET_SAVE_FOLDER);
    QWidget* makerPage = dialog->GetDlgItem(IDC_BTN_MAKER_PAGE);
    const auto saveFolder = [&] { return dialog->GetDlgItemText(IDC_EDIT_SAVE_FOLDER); };

    RunInDialog(*dialog,
                {
                    {[&] { return dialog->windowHandle() && dialog->windowHandle()->isExposed(); },
                     [&] { ClickAt(setFolder); }},
                    // Keyboard: the browser has the focus; a typed folder and Enter choose it.
                    {[&] { return OpenBrowser() != nullptr && OpenBrowser()->isActiveWindow(); },
                     [&] {
                         EXPECT_EQ(QDir(OpenBrowser()->directory()).absolutePath(), firstFolder);
                         Xdo({"type", "--delay", "20", chosen});
                         Xdo({"key", "Return"});
                     }},
                    {[&] { return OpenBrowser() == nullptr && saveFolder() == chosen; },
                     [&] { ClickAt(setFolder); }},
                    // Mouse: the main window answers while the browser is open; Cancel closes it.
                    {[&] { return OpenBrowser() != nullptr; },
                     [&] {
                         EXPECT_EQ(QDir(OpenBrowser()->directory()).absolutePath(), chosen);
                         OpenBrowser()->move(0, 0); // out of the way, as a user would drag it
                         ClickAt(makerPage);
                     }},
                    {[&] { return !openedUrls.empty(); },
                     [&] {
                         auto* buttons = OpenBrowser()->findChild<QDialogButtonBox*>();
                         ClickAt(buttons->button(QDialogButtonBox::Cancel));
                     }},
                    {[&] { return OpenBrowser() == nullptr; }, [] {}},
                });
    EXPECT_EQ(saveFolder(), chosen);
    EXPECT_EQ(dialog->GetDlgItem(IDC_BTN_SET_SAVE_FOLDER)->toolTip(),
              QString::fromUtf8("保存目录：") + chosen);
}
