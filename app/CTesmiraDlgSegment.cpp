// The segment to cut: start and end from the play position or typed in seconds, or the
// whole source. Every change shows in the two edits, the slider's marks and the length label.
#include "CMySliderControl.h"
#include "CTesmiraDlg.h"
#include "ControlIds.h"
#include "TimeTexts.h"

#include <QLabel>
#include <QLineEdit>
#include <algorithm>
#include <optional>

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
    const std::optional<int> startMs = ParseTimeMs(start);
    if (!startMs) {
        MessageBox(TimeRefusal("起始点", start));
        return;
    }
    if (player.GetPos() - *startMs <= 0) {
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

// A typed time moves the slider and the player there, and puts its mark on it; a time past
// the source's end puts the mark at the end and moves nothing. A text that is no time (also
// one half typed) has no mark, so no stale one stays behind.
void CTesmiraDlg::ApplySegmentEdit(int editId, int& mark) {
    const std::optional<int> ms = ParseTimeMs(GetTrimmedItemText(editId));
    if (ms && *ms <= positionSlider->maximum()) {
        positionSlider->setValue(*ms);
        player.SetPos(positionSlider->value());
    }
    mark = MarkForText(GetTrimmedItemText(editId));
    RefreshSliderMarks();
    UpdateLengthLabelFromEdits();
}

int CTesmiraDlg::MarkForText(const std::string& text) const {
    const std::optional<int> ms = ParseTimeMs(text);
    return ms ? std::min(*ms, positionSlider->maximum()) : -1;
}

QString CTesmiraDlg::TimeRefusal(const char* field, const std::string& text) {
    return QString::fromUtf8(field) + QString::fromUtf8("“") + ToQString(text) +
           QString::fromUtf8("”不是有效的时间。\n请输入秒数（如 90 或 90.5）或分:秒（如 1:30）。");
}

// Radio "设置长度".
void CTesmiraDlg::OnCustomRangeMode() {
    lengthMode = CustomRange;
    startEdit->setReadOnly(false);
    endEdit->setReadOnly(false);
    positionSlider->startMark = MarkForText(GetTrimmedItemText(IDC_EDIT_START));
    positionSlider->endMark = MarkForText(GetTrimmedItemText(IDC_EDIT_END));
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
    UpdateLengthLabelFromEdits();
}

// The label shows the length "开始剪切" would cut: the whole source, or the typed range, which
// runs at most to the source's end (the label then says so). A text that is no time, or a
// range the cut refuses (end not after the start, a start at or past the end), is named; with
// no range yet (an empty edit, or no source) the label shows 0. A second line tells when the
// fades do not fit and are shortened.
void CTesmiraDlg::UpdateLengthLabelFromEdits() {
    const int sourceMs = positionSlider->maximum();
    QString text;
    int length = 0;
    const std::string start = GetTrimmedItemText(IDC_EDIT_START);
    const std::string end = GetTrimmedItemText(IDC_EDIT_END);
    const std::optional<int> startMs = ParseTimeMs(start);
    const std::optional<int> endMs = ParseTimeMs(end);
    if (lengthMode == WholeSource) {
        length = player.GetLen();
        text = ToQString(FormatLengthLabel(length));
    } else if (sourcePath.empty() || start.empty() || end.empty()) {
        text = QString::fromUtf8(kNoLengthText);
    } else if (!startMs || !endMs) {
        text = QString::fromUtf8(!startMs ? "剪切长度:起始点不是有效的时间"
                                          : "剪切长度:结束点不是有效的时间");
    } else if (*endMs <= *startMs || *startMs >= sourceMs) {
        text = QString::fromUtf8("剪切长度:范围无效");
    } else {
        length = std::min(*endMs, sourceMs) - *startMs;
        text = ToQString(FormatLengthLabel(length));
        if (*endMs > sourceMs) {
            text += QString::fromUtf8("，至歌曲结尾");
        }
    }
    if (length > 0) {
        text += FadesNote(length);
    }
    lengthLabel->setText(text);
}

// The slider paints the marks itself: after one changes, the thumb is moved to 0 and back
// (no notification results) and the whole slider is repainted.
void CTesmiraDlg::RefreshSliderMarks() {
    const int position = positionSlider->value();
    positionSlider->setValue(0);
    positionSlider->setValue(position);
    positionSlider->update();
}
