#include "CTesmiraDlg.h"
#include "CWaveformStrip.h"

#include "CMySliderControl.h"
#include "CStaticCounter.h"
#include "CTMStatic.h"
#include "ControlIds.h"
#include "InstallLayout.h"
#include "PngResource.h"
#include "ScrollNotifyEvent.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>

namespace {

const char kPlayerLibraryName[] = "libPlovex1.so";

} // namespace

CTesmiraDlg::CTesmiraDlg(SettingsEnvironment settingsEnvironment, std::string playerPath,
                         std::string encoderLibraryPath, QWidget* parent)
    : CDialog(QStringLiteral(":/DIALOG/%1").arg(IDD_TESMIRA_DIALOG), parent),
      settings(std::move(settingsEnvironment)), clipJob(std::move(encoderLibraryPath)),
      playerLibraryPath(std::move(playerPath)) {
    InitSkinResources();
    icon = QIcon(QStringLiteral(":/ICON/%1").arg(IDR_MAINFRAME));
    RegisterControlClass<CMySliderControl>(IDC_SLIDER_POSITION);
    RegisterControlClass<CMySliderControl>(IDC_SLIDER_SPEED);
    RegisterControlClass<CMySliderControl>(IDC_SLIDER_PITCH);
    RegisterControlClass<CTMStatic>(IDC_LABEL_TIME);
    for (int id = IDC_LABEL_STEP1; id <= IDC_LABEL_STEP4; ++id) {
        RegisterControlClass<CTMStatic>(id);
    }
    RegisterControlClass<CStaticCounter>(IDC_COUNTER);
    RegisterControlClass<CWaveformStrip>(IDC_WAVEFORM);
}

CTesmiraDlg::~CTesmiraDlg() = default;

std::string CTesmiraDlg::DefaultPlayerLibraryPath() {
    return GetPrivateLibraryFolder() + kPlayerLibraryName;
}

void CTesmiraDlg::DoDataExchange() {
    CDialog::DoDataExchange();
    DDX_Control(IDC_EDIT_SOURCE, sourcePathEdit);
    DDX_Control(IDC_SLIDER_POSITION, positionSlider);
    DDX_Control(IDC_LABEL_TIME, timeLabel);
    DDX_Control(IDC_STATIC_SECONDS, secondsText);
    DDX_Control(IDC_EDIT_START, startEdit);
    DDX_Control(IDC_EDIT_END, endEdit);
    DDX_Control(IDC_PROGRESS_CUT, progressBar);
    DDX_Control(IDC_EDIT_SPEED, speedEdit);
    DDX_Control(IDC_EDIT_FADE_IN, fadeInEdit);
    DDX_Control(IDC_EDIT_OUTPUT, outputPathEdit);
    DDX_Control(IDC_CHECK_FADE_IN, fadeInBox);
    DDX_Control(IDC_EDIT_PITCH, pitchEdit);
    DDX_Control(IDC_EDIT_FADE_OUT, fadeOutEdit);
    DDX_Control(IDC_CHECK_FADE_OUT, fadeOutBox);
    DDX_Control(IDC_STATIC_LENGTH, lengthLabel);
    DDX_Control(IDC_SLIDER_SPEED, speedSlider);
    DDX_Control(IDC_SLIDER_PITCH, pitchSlider);
    for (int i = 0; i < 4; ++i) {
        DDX_Control(IDC_LABEL_STEP1 + i, stepLabels[i]);
    }
    DDX_Control(IDC_EDIT_SAVE_FOLDER, saveFolderEdit);
    DDX_Control(IDC_COUNTER, counter);
    DDX_Control(IDC_WAVEFORM, waveformStrip);
}

void CTesmiraDlg::customEvent(QEvent* event) {
    if (event->type() == ScrollNotifyEvent::EventType()) {
        const auto* scroll = static_cast<const ScrollNotifyEvent*>(event);
        OnHScroll(scroll->code, scroll->source());
        return;
    }
    CDialog::customEvent(event);
}

void CTesmiraDlg::OnHScroll(int code, QSlider* slider) {
    // Branches per slider: 1021 the play position, 1023 and 1024 speed and pitch.
    if (slider == nullptr) {
        return; // the slider is gone
    }
    if (slider == positionSlider) {
        OnPositionScroll(code);
    } else if (slider == speedSlider) {
        ApplySpeedSlider();
    } else if (slider == pitchSlider) {
        ApplyPitchSlider();
    }
}

void CTesmiraDlg::OnTimer(int id) {
    // Branches per timer: 1 the play position, 2 the cut progress.
    if (id == kPlaybackTimerId) {
        OnPlaybackTimer();
    } else if (id == kCutTimerId) {
        OnCutTimer();
    }
    CDialog::OnTimer(id);
}
