#include "CTesmiraDlg.h"
#include "ControlIds.h"
#include "FileDialogs.h"
#include "Shell.h"

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
}

// Button "打开保存目录": the file of the last cut selected in its folder, or the save
// folder itself before any cut.
void CTesmiraDlg::OnOpenSaveFolder() {
    if (!lastOutputPath.empty()) {
        ShowFileInFileManager(QString::fromStdString(lastOutputPath));
    } else {
        OpenFolderOrUrl(QString::fromStdString(settings.SaveFolder()));
    }
}
