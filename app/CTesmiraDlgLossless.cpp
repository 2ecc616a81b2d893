// "无损剪切": the cut copies the source's frames. Only a plain range can be copied, so the box
// is greyed while a fade is ticked or a factor is not 1.00.
#include "CTesmiraDlg.h"
#include "ControlIds.h"
#include "TimeTexts.h"

#include <QCheckBox>
#include <QLineEdit>

namespace {

constexpr const char* kGreyedTip = "淡入、淡出或变速、变调不为1.00时不能无损剪切";
constexpr const char* kTip = "复制原曲的MP3帧，不重新编码：音质和码率不变，精确到采样";

} // namespace

void CTesmiraDlg::SetUpLosslessBox() {
    const auto update = [this] { UpdateLosslessBox(); };
    connect(fadeInBox, &QCheckBox::toggled, this, update);
    connect(fadeOutBox, &QCheckBox::toggled, this, update);
    connect(speedEdit, &QLineEdit::textChanged, this, update);
    connect(pitchEdit, &QLineEdit::textChanged, this, update);
    UpdateLosslessBox();
}

void CTesmiraDlg::UpdateLosslessBox() {
    auto* box = qobject_cast<QCheckBox*>(GetDlgItem(IDC_CHECK_LOSSLESS));
    if (box == nullptr) {
        return;
    }
    const bool plain = !fadeInBox->isChecked() && !fadeOutBox->isChecked() &&
                       TextToDouble(GetTrimmedItemText(IDC_EDIT_SPEED)) == 1.0 &&
                       TextToDouble(GetTrimmedItemText(IDC_EDIT_PITCH)) == 1.0;
    box->setEnabled(plain);
    box->setToolTip(QString::fromUtf8(plain ? kTip : kGreyedTip));
}

bool CTesmiraDlg::LosslessTicked() const {
    const auto* box = qobject_cast<QCheckBox*>(GetDlgItem(IDC_CHECK_LOSSLESS));
    return box != nullptr && box->isEnabled() && box->isChecked();
}
