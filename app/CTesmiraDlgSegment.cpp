// The segment to cut: start and end from the play position or typed in seconds, or the
// whole source. Every change shows in the two edits, the slider's marks and the length label.
#include "CMySliderControl.h"
#include "CTesmiraDlg.h"
#include "ControlIds.h"
#include "TimeTexts.h"

#include <QLabel>
#include <QLineEdit>

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
    lengthLabel->setText(ToQString(FormatLengthLabel(length)));
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
// the source's end moves nothing.
void CTesmiraDlg::ApplySegmentEdit(int editId, int& mark) {
    int ms = TextToMs(GetTrimmedItemText(editId));
    if (ms < 0) {
        ms = 0;
    }
    if (ms > positionSlider->maximum()) {
        return;
    }
    positionSlider->setValue(ms);
    player.SetPos(positionSlider->value());
    mark = positionSlider->value();
    RefreshSliderMarks();
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

// A length that is not positive leaves the label as it was.
void CTesmiraDlg::UpdateLengthLabelFromEdits() {
    const int length =
        LengthMsFromTexts(GetTrimmedItemText(IDC_EDIT_START), GetTrimmedItemText(IDC_EDIT_END));
    if (length > 0) {
        lengthLabel->setText(ToQString(FormatLengthLabel(length)));
    }
}

// The slider paints the marks itself: after one changes, the thumb is moved to 0 and back
// (no notification results) and the whole slider is repainted.
void CTesmiraDlg::RefreshSliderMarks() {
    const int position = positionSlider->value();
    positionSlider->setValue(0);
    positionSlider->setValue(position);
    positionSlider->update();
}
