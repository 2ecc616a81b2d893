// Qt's standard buttons and dialogs read Chinese like the rest of the window, whatever the
// locale the tests run in: the real exit question and the real open-file dialog, answered
// with the mouse.
#include "ControlIds.h"
#include "FileDialogs.h"
#include "QtTranslations.h"
#include "WindowFixture.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

template <class T> T* ShownWindow() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* found = qobject_cast<T*>(window); found != nullptr && found->isVisible()) {
            return found;
        }
    }
    return nullptr;
}

// Once a window of class T shows, the texts of its buttons, then a click on the one
// whose text contains `answer`.
template <class T> void AnswerWhenShown(QStringList& texts, const QString& answer) {
    QTimer::singleShot(50, [&texts, answer] {
        T* window = ShownWindow<T>();
        ASSERT_NE(window, nullptr);
        for (QAbstractButton* button : window->template findChildren<QAbstractButton*>()) {
            if (!button->isVisible() || button->text().isEmpty()) {
                continue;
            }
            texts << button->text();
            if (button->text().contains(answer)) {
                QTest::mouseClick(button, Qt::LeftButton);
                return;
            }
        }
        window->close();
    });
}

} // namespace

TEST_F(WindowTest, ExitQuestionAndFileDialogReadChinese) {
    ASSERT_TRUE(InstallChineseQtTranslations()) << "qt6-translations-l10n is not installed";
    SetMessageBoxFunction({});
    SetOpenFileFunction({});
    auto dialog = MakeDialog();
    dialog->show();

    QStringList exitButtons;
    AnswerWhenShown<QMessageBox>(exitButtons, QString::fromUtf8("否"));
    QTest::mouseClick(dialog->GetDlgItem(IDCANCEL), Qt::LeftButton);
    EXPECT_TRUE(exitButtons.contains(QString::fromUtf8("是(&Y)")))
        << exitButtons.join(' ').toStdString();
    EXPECT_TRUE(exitButtons.contains(QString::fromUtf8("否(&N)")));
    EXPECT_TRUE(exitCodes.empty()) << "answered No";
    EXPECT_TRUE(dialog->isVisible());

    QStringList fileButtons;
    AnswerWhenShown<QFileDialog>(fileButtons, QString::fromUtf8("取消"));
    QTest::mouseClick(dialog->GetDlgItem(IDC_BTN_SELECT_SOURCE), Qt::LeftButton);
    EXPECT_TRUE(fileButtons.contains(QString::fromUtf8("打开(&O)")))
        << fileButtons.join(' ').toStdString();
    EXPECT_TRUE(fileButtons.contains(QString::fromUtf8("取消")));
    EXPECT_TRUE(dialog->GetDlgItem(IDC_EDIT_SOURCE)->toolTip().isEmpty()) << "cancelled";
}
