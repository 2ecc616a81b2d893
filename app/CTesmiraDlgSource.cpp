#include "CMySliderControl.h"
#include "CTesmiraDlg.h"
#include "ControlIds.h"
#include "FileDialogs.h"
#include "MakerPage.h"
#include "PathField.h"
#include "Shell.h"

namespace {

const char kMp3Suffix[] = ".mp3";

} // namespace

// Button "选择MP3文件". The chosen file's extension is not checked: whatever the player
// opens becomes the source.
void CTesmiraDlg::OnSelectSource() {
    const QString path = GetOpenFileName(this, QString::fromUtf8("mp3文件(*.mp3)"));
    if (path.isEmpty()) {
        return;
    }
    AcceptSource(path);
}

void CTesmiraDlg::OnDropFiles(const QStringList& files) {
    if (files.isEmpty()) {
        return;
    }
    if (files.size() > 1) {
        MessageBox(QString::fromUtf8("只能选择一个mp3文件."));
        return;
    }
    const QString& name = files.front();
    if (name.size() < 4) {
        MessageBox(QString::fromUtf8("请选择正确的mp3文件."));
        return;
    }
    if (name.right(4).toLower() != QLatin1String(kMp3Suffix)) {
        MessageBox(QString::fromUtf8("只能处理mp3文件，请重新选择。"));
        return;
    }
    AcceptSource(name);
}

void CTesmiraDlg::AcceptSource(const QString& path) {
    // 1-2. Open it in the player; a failure leaves the previous source as it was.
    EndPrelisten();
    player.SetFadeIn(0, 0);
    player.SetFadeOut(0, 0);
    if (player.Open(path.toUtf8().constData()) == 0) {
        MessageBox(QString::fromUtf8("mp3文件打开失败！"));
        return;
    }
    // 3. The position slider spans the source in milliseconds, without marks.
    positionSlider->startMark = -1;
    positionSlider->endMark = -1;
    positionSlider->setRange(0, player.GetLen());
    positionSlider->setValue(0);
    positionSlider->update();
    // 4-5. Paused, and followed by the play-position timer.
    player.Pause();
    SetTimer(kPlaybackTimerId, kPlaybackTimerMs);
    // 6. The new source.
    ShowPathInField(sourcePathEdit, path);
    sourcePath = path.toStdString();
    ShowWaveformOf(sourcePath);
    // 7. Start at 0, no end yet; the edits' change handling seeks the player.
    SetDlgItemText(IDC_EDIT_START, QStringLiteral("0"));
    SetDlgItemText(IDC_EDIT_END, QString());
    // The new song's position at once, not the last one's until the next tick; and the keys
    // (Space, I, O, the arrows) at work on it at once.
    ShowPlayPosition(0);
    positionSlider->setFocus();
}

// Button "Lumasi音乐网". Without a browser the user is told the address.
void CTesmiraDlg::OnMakerPage() {
    const QString address = QString::fromLatin1(kMakerPageAddress);
    OpenFolderOrUrl(address, [this, address] {
        MessageBox(QString::fromUtf8("没有找到网页浏览器，无法打开网页：\n") + address);
    });
}
