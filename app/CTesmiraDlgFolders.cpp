#include "CTesmiraDlg.h"
#include "ControlIds.h"
#include "FileDialogs.h"
#include "PathField.h"
#include "Shell.h"

#include <QFileInfo>
#include <QLineEdit>

// Button "设置保存目录": the browser starts in the save folder; the chosen folder is kept
// and written to the settings file, but neither created nor tested.
void CTesmiraDlg::OnSetSaveFolder() {
    const QString folder = BrowseForFolder(QString::fromUtf8("选择剪切保存目录"),
                                           QString::fromStdString(settings.SaveFolder()));
    if (folder.isEmpty()) {
        return;
    }
    settings.SetSaveFolder(folder.toStdString()); // a failed write is not reported
    SetDlgItemText(IDC_EDIT_SAVE_FOLDER, folder);
    ShowSaveFolder();
}

// The folder in use, before the next cut shows where it goes: in the empty output field and
// as the tool tip of "设置保存目录".
void CTesmiraDlg::ShowSaveFolder() {
    const QString folder = QString::fromStdString(settings.SaveFolder());
    outputPathEdit->setPlaceholderText(
        FitPath(outputPathEdit, QString::fromUtf8("保存到：") + folder + QLatin1Char('/')));
    GetDlgItem(IDC_BTN_SET_SAVE_FOLDER)->setToolTip(QString::fromUtf8("保存目录：") + folder);
}

// Button "打开保存目录": the file of the last cut selected in its folder, or the save
// folder itself before any cut and while a cut runs (its file gets its name at the end).
// Without a file manager the user is told where the folder is.
void CTesmiraDlg::OnOpenSaveFolder() {
    const QString lastOutput = QString::fromStdString(lastOutputPath);
    const QString folder = lastOutput.isEmpty() ? QString::fromStdString(settings.SaveFolder())
                                                : QFileInfo(lastOutput).absolutePath();
    const auto failed = [this, folder] {
        MessageBox(QString::fromUtf8("没有找到文件管理器，无法打开保存目录：\n") + folder);
    };
    if (!lastOutput.isEmpty() && QFileInfo::exists(lastOutput)) {
        ShowFileInFileManager(lastOutput, failed);
    } else {
        OpenFolderOrUrl(folder, failed);
    }
}
