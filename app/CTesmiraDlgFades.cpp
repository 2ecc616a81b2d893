// The fade check boxes and their lengths: read for the cut, and fitted into the length the
// label shows, which says when they had to be shortened.
#include "CTesmiraDlg.h"
#include "ControlIds.h"
#include "CutFades.h"
#include "CutLimits.h"
#include "TimeTexts.h"

#include <QCheckBox>

namespace {

bool IsTicked(const QCheckBox* box) {
    return box != nullptr && box->isChecked();
}

QString Seconds(int ms) {
    return QString::fromStdString(FormatSeconds2(ms / 1000.0));
}

} // namespace

// A box not ticked asks for no fade; a ticked one for the time in its field, or nothing when
// that is no time.
std::optional<int> CTesmiraDlg::FadeMs(int boxId, int editId) const {
    if (!IsTicked(qobject_cast<const QCheckBox*>(GetDlgItem(boxId)))) {
        return 0;
    }
    const std::optional<int> ms = ParseTimeMs(GetTrimmedItemText(editId));
    // A fade longer than a day is refused as the command line refuses it.
    return ms && *ms <= kMaxFadeMs ? ms : std::nullopt;
}

bool CTesmiraDlg::ReadCutFades(CutRequest& request) {
    const std::optional<int> in = FadeMs(IDC_CHECK_FADE_IN, IDC_EDIT_FADE_IN);
    const std::optional<int> out = FadeMs(IDC_CHECK_FADE_OUT, IDC_EDIT_FADE_OUT);
    if (!in || !out) {
        const int editId = !in ? IDC_EDIT_FADE_IN : IDC_EDIT_FADE_OUT;
        MessageBox(TimeRefusal(!in ? "淡入时间" : "淡出时间", GetTrimmedItemText(editId)));
        return false;
    }
    request.fadeIn = IsTicked(fadeInBox);
    request.fadeInMs = *in;
    request.fadeOut = IsTicked(fadeOutBox);
    request.fadeOutMs = *out;
    return true;
}

CutFades CTesmiraDlg::FitCutFades(const CutRequest& request, int lengthMs) const {
    return MakeCutFades(request.fadeIn, request.fadeInMs, request.fadeOut, request.fadeOutMs,
                        lengthMs);
}

// The label's second line when the fades do not fit into lengthMs; empty when they do (or a
// fade text is no time, which the cut command names).
QString CTesmiraDlg::FadesNote(int lengthMs) const {
    CutRequest request;
    const std::optional<int> in = FadeMs(IDC_CHECK_FADE_IN, IDC_EDIT_FADE_IN);
    const std::optional<int> out = FadeMs(IDC_CHECK_FADE_OUT, IDC_EDIT_FADE_OUT);
    if (!in || !out) {
        return {};
    }
    request.fadeIn = IsTicked(fadeInBox);
    request.fadeInMs = *in;
    request.fadeOut = IsTicked(fadeOutBox);
    request.fadeOutMs = *out;
    const CutFades fades = FitCutFades(request, lengthMs);
    if (!fades.shortened) {
        return {};
    }
    const QString inText = Seconds(fades.inLengthMs);
    const QString outText = Seconds(fades.outEndMs - fades.outStartMs);
    if (fades.inEnabled != 0 && fades.outEnabled != 0) {
        return QString::fromUtf8("\n淡入淡出已缩短为 %1 秒和 %2 秒").arg(inText, outText);
    }
    return QString::fromUtf8(fades.inEnabled != 0 ? "\n淡入已缩短为 %1 秒" : "\n淡出已缩短为 %1 秒")
        .arg(fades.inEnabled != 0 ? inText : outText);
}

void CTesmiraDlg::OnFadeChanged() {
    UpdateLengthLabelFromEdits();
}
