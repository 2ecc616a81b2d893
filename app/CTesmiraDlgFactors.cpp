// Speed and pitch factors: a vertical slider and a "+"/"-" pair each, the factor shown with
// two decimals and sent to the preview player at once. The slider position is the state;
// the cut reads the edit texts when it starts.
#include "CMySliderControl.h"
#include "CTesmiraDlg.h"
#include "ControlIds.h"
#include "FactorTables.h"
#include "TimeTexts.h"

#include <algorithm>
#include <span>

namespace {

// The top of a vertical slider (position 0) is the largest factor.
double FactorAt(std::span<const double> table, const QSlider& slider) {
    const int last = static_cast<int>(table.size()) - 1;
    const int index = std::clamp(slider.maximum() - slider.value(), 0, last);
    return table[static_cast<size_t>(index)];
}

// A step past either end keeps the position (the slider clamps it); the factor is shown
// and sent again all the same.
void StepFactorSlider(QSlider& slider, int step) {
    slider.setValue(slider.value() + step);
}

} // namespace

void CTesmiraDlg::ApplySpeedSlider() {
    SetDlgItemText(IDC_EDIT_SPEED,
                   QString::fromStdString(FormatFactor(FactorAt(kSpeedFactors, *speedSlider))));
    player.SetRate(FactorAt(kSpeedFactors, *speedSlider));
}

void CTesmiraDlg::ApplyPitchSlider() {
    SetDlgItemText(IDC_EDIT_PITCH,
                   QString::fromStdString(FormatFactor(FactorAt(kPitchFactors, *pitchSlider))));
    player.SetPitch(FactorAt(kPitchFactors, *pitchSlider));
}

// "+": one position up the slider, factor 0.01 higher.
void CTesmiraDlg::OnSpeedPlus() {
    StepFactorSlider(*speedSlider, -1);
    ApplySpeedSlider();
}

void CTesmiraDlg::OnSpeedMinus() {
    StepFactorSlider(*speedSlider, +1);
    ApplySpeedSlider();
}

void CTesmiraDlg::OnPitchPlus() {
    StepFactorSlider(*pitchSlider, -1);
    ApplyPitchSlider();
}

void CTesmiraDlg::OnPitchMinus() {
    StepFactorSlider(*pitchSlider, +1);
    ApplyPitchSlider();
}
