// The segment to cut: start and end from the play position or typed in seconds, or the
// whole source. Every change shows in the two edits, the slider's marks and the length label.
#include "CMySliderControl.h"
#include "CTesmiraDlg.h"
#include "ControlIds.h"
#include "TimeTexts.h"

#include <QLabel>
#include <QLineEdit>
#include <algorithm>

namespace {

QString ToQString(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

std::string CTesmiraDlg::GetTrimmedItemText(int id) const {
    return GetTrimmedText(GetDlgItemText(id).toStdString());
}

// Button "设置起点".
void CTesmiraDlg::OnSetStart() {
    if (player.IsOpend() == 0) {
        MessageBox(QString::fromUtf8("请选择mp3文件!"));
        return;
    }
    // The edit's change handling moves the slider and the player there and sets the mark.
    SetDlgItemText(IDC_EDIT_START, ToQString(FormatSeconds3(player.GetPos() / 1000.0)));
    UpdateLengthLabelFromEdits();
    positionSlider->startMark = positionSlider->value();
    RefreshSliderMarks();
}

// Button "设置终点".
void CTesmiraDlg::OnSetEnd() {
    if (player.IsOpend() == 0) {
        MessageBox(QString::fromUtf8("请选择mp3文件!"));
        return;
    }
    const std::string start = GetTrimmedItemText(IDC_EDIT_START);
    if (start.empty()) {
        MessageBox(QString::fromUtf8("请先设置起点!"));
        return;
    }
    const int length = TruncateToInt(player.GetPos() - TextToDouble(start) * 1000.0);
    if (length <= 0) {
        MessageBox(QString::fromUtf8("剪切的终点必须大于起点!"));
        return;
    }
    SetDlgItemText(IDC_EDIT_END, ToQString(FormatSeconds3(player.GetPos() / 1000.0)));
    UpdateLengthLabelFromEdits();
    positionSlider->endMark = positionSlider->value();
    RefreshSliderMarks();
}

void CTesmiraDlg::OnStartEditChanged() {
    ApplySegmentEdit(IDC_EDIT_START, positionSlider->startMark);
}

void CTesmiraDlg::OnEndEditChanged() {
    ApplySegmentEdit(IDC_EDIT_END, positionSlider->endMark);
}

// A typed time is never refused: no number counts as 0, a negative one as 0, and one past
// the source's end moves nothing (the length label still tells what a cut would do).
void CTesmiraDlg::ApplySegmentEdit(int editId, int& mark) {
    const int ms = std::max(TextToMs(GetTrimmedItemText(editId)), 0);
    if (ms <= positionSlider->maximum()) {
        positionSlider->setValue(ms);
        player.SetPos(positionSlider->value());
        mark = positionSlider->value();
        RefreshSliderMarks();
    }
    UpdateLengthLabelFromEdits();
}

// Radio "设置长度".
void CTesmiraDlg::OnCustomRangeMode() {
    lengthMode = CustomRange;
    startEdit->setReadOnly(false);
    endEdit->setReadOnly(false);
    positionSlider->startMark = TextToMs(GetTrimmedItemText(IDC_EDIT_START));
    positionSlider->endMark = TextToMs(GetTrimmedItemText(IDC_EDIT_END));
    RefreshSliderMarks();
    UpdateLengthLabelFromEdits();
}

// Radio "原曲长度".
void CTesmiraDlg::OnWholeSourceMode() {
    lengthMode = WholeSource;
    startEdit->setReadOnly(true);
    endEdit->setReadOnly(true);
    positionSlider->startMark = -1;
    positionSlider->endMark = -1;
    RefreshSliderMarks();
    lengthLabel->setText(ToQString(FormatLengthLabel(player.GetLen())));
}

// The label shows the length "开始剪切" would cut: the whole source, or the typed range with
// its end cut short at the source's end. A range the cut refuses (end not after the start, a
// start before 0 or at or past the end) is said to be invalid; with no range yet (an empty
// edit, or no source) the label shows 0.
void CTesmiraDlg::UpdateLengthLabelFromEdits() {
    if (lengthMode == WholeSource) {
        lengthLabel->setText(ToQString(FormatLengthLabel(player.GetLen())));
        return;
    }
    const std::string start = GetTrimmedItemText(IDC_EDIT_START);
    const std::string end = GetTrimmedItemText(IDC_EDIT_END);
    if (sourcePath.empty() || start.empty() || end.empty()) {
        lengthLabel->setText(QString::fromUtf8(kNoLengthText));
        return;
    }
    const int startMs = TextToMs(start);
    const int sourceMs = positionSlider->maximum();
    const int length = LengthMsFromTexts(start, end);
    if (length <= 0 || startMs < 0 || startMs >= sourceMs) {
        lengthLabel->setText(QString::fromUtf8("剪切长度:范围无效"));
        return;
    }
    lengthLabel->setText(ToQString(FormatLengthLabel(std::min(length, sourceMs - startMs))));
}

// The slider paints the marks itself: after one changes, the thumb is moved to 0 and back
// (no notification results) and the whole slider is repainted.
void CTesmiraDlg::RefreshSliderMarks() {
    const int position = positionSlider->value();
    positionSlider->setValue(0);
    positionSlider->setValue(position);
    positionSlider->update();
}
