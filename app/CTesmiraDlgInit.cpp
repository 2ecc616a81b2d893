#include "CMySliderControl.h"
#include "CStaticCounter.h"
#include "CTMStatic.h"
#include "CTesmiraDlg.h"
#include "ControlIds.h"
#include "Folders.h"
#include "LoadPlayerLibrary.h"
#include "PngResource.h"

#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QStyleFactory>
#include <utility>

namespace {

constexpr int kWindowWidth = 800;
constexpr int kPositionKeyStepMs = 1000;
constexpr int kPositionPageStepMs = 10000;
// 600, and the waveform strip's 60 pixels under the position slider.
constexpr int kWindowHeight = 660;
const char kLabelFontFace[] = "Times New Roman";

// What a screen reader says for the controls that carry no text of their own: the fields
// and sliders by the label beside them. Buttons, boxes and labels are named by their text.
void NameControlsForScreenReaders(const CDialog& dialog) {
    static constexpr std::pair<int, const char*> kNames[] = {
        {IDC_EDIT_SOURCE, "源文件"},        {IDC_SLIDER_POSITION, "播放位置"},
        {IDC_EDIT_START, "起点(秒)"},       {IDC_EDIT_END, "终点(秒)"},
        {IDC_EDIT_FADE_IN, "淡入(秒)"},     {IDC_EDIT_FADE_OUT, "淡出(秒)"},
        {IDC_EDIT_SPEED, "变速(倍)"},       {IDC_EDIT_PITCH, "变调(倍)"},
        {IDC_SLIDER_SPEED, "变速"},         {IDC_SLIDER_PITCH, "变调"},
        {IDC_BTN_SPEED_PLUS, "变速 +"},     {IDC_BTN_SPEED_MINUS, "变速 -"},
        {IDC_BTN_PITCH_PLUS, "变调 +"},     {IDC_BTN_PITCH_MINUS, "变调 -"},
        {IDC_PROGRESS_CUT, "剪切进度"},     {IDC_EDIT_OUTPUT, "输出文件"},
        {IDC_EDIT_SAVE_FOLDER, "保存目录"},
    };
    for (const auto& [id, name] : kNames) {
        if (QWidget* control = dialog.GetDlgItem(id)) {
            control->setAccessibleName(QString::fromUtf8(name));
        }
    }
}

} // namespace

bool CTesmiraDlg::OnInitDialog() {
    // 1. Bind the members; the handlers answer from here on, also to the changes below.
    CDialog::OnInitDialog();
    WireMessages();
    InstallKeys();
    // 2. The window menu belongs to the window manager here and cannot take an item of
    // ours; the About item it would carry had no handler anyway.
    // 3. The program icon.
    setWindowIcon(icon);
    // 4. The play-position counter.
    SetUpCounter();
    // 5. The hidden position/length label.
    timeLabel->SetLabelFont(260, QString::fromLatin1(kLabelFontFace));
    timeLabel->SetTextColour(QColor(0, 0, 0));
    // 6. The skin images and the logo.
    for (int i = 0; i < 4; ++i) {
        LoadPngResource(skinImages[i], IDB_PNG_STEP1 + i);
    }
    LoadPngResource(logoImage, IDB_PNG_LOGO);
    // 7. The save folder from the settings file.
    settings.LoadSettings();
    // 8. The hidden step labels.
    for (CTMStatic* label : stepLabels) {
        label->SetTextColour(QColor(0, 0, 255));
        label->SetLabelFont(180, QString::fromLatin1(kLabelFontFace));
    }
    // 9. The player library; when it is missing the table still answers "no file open".
    LoadPlayerLibrary(playerLibraryPath, player);
    // 10.
    InitControls();
    SetUpWaveform();
    NameControlsForScreenReaders(*this);
    SetUpLosslessBox();
    // 11. The factor sliders in the classic look.
    QStyle* classic = QStyleFactory::create(QStringLiteral("Windows"));
    if (classic != nullptr) {
        classic->setParent(this); // a widget does not own the style it is given
        speedSlider->setStyle(classic);
        pitchSlider->setStyle(classic);
    }
    // 12. The save folder into its hidden edit.
    SetDlgItemText(IDC_EDIT_SAVE_FOLDER, QString::fromStdString(settings.SaveFolder()));
    ShowSaveFolder();
    // 13. "设置长度" selected, without a click.
    qobject_cast<QRadioButton*>(GetDlgItem(IDC_RADIO_CUSTOM_RANGE))->setChecked(true);
    // 14. 800 x 660, centred on the screen.
    setFixedSize(kWindowWidth, kWindowHeight);
    if (QScreen* display = screen()) {
        move(display->availableGeometry().center() - rect().center());
    }
    return true;
}

void CTesmiraDlg::SetUpCounter() {
    // Unlit segments and the background in the colour the dialog itself is painted with.
    const QColor buttonFace = palette().color(backgroundRole());
    counter->minChars = 5;
    counter->useGhostColour = true;
    counter->ghostColour = buttonFace;
    counter->update();
    counter->barHeight = 6;
    counter->backColour = buttonFace;
    counter->litColour = QColor(9, 84, 224);
    counter->bar.baseColour = QColor(0, 100, 0);
    counter->bar.ComputeShades();
    counter->bar.CreatePens();
    counter->update();
    counter->value = 0.0f;
    counter->SetFloat(0.0f, "%.4f");
    counter->SetText(QStringLiteral("00:00"));
}

void CTesmiraDlg::InitControls() {
    // 1. No segment marks, position 0. The arrow keys move it by a second, the page keys
    // by ten.
    positionSlider->startMark = -1;
    positionSlider->endMark = -1;
    positionSlider->setSingleStep(kPositionKeyStepMs);
    positionSlider->SetPageSize(kPositionPageStepMs);
    positionSlider->setValue(0);
    positionSlider->update();
    // 2. Position texts and the source path.
    timeLabel->SetText(QStringLiteral("00:00/00:00"));
    SetDlgItemText(IDC_STATIC_SECONDS, QStringLiteral("0.000/0.000"));
    SetDlgItemText(IDC_EDIT_SOURCE, QString());
    // 3. The save folder's last level; an existing folder is fine.
    CreateDirectory(settings.SaveFolder());
    // 4. The player's first settings.
    player.SetShowHWnd(GetDlgItem(IDC_STATIC_VIDEO));
    player.SetVideoShowMod(1);
    player.EnableHWDecode(0);
    player.EnableFade(0);
    player.SetVolume(50);
    // 5. Fade lengths and factors.
    SetDlgItemText(IDC_EDIT_FADE_IN, QStringLiteral("15"));
    SetDlgItemText(IDC_EDIT_FADE_OUT, QStringLiteral("15"));
    SetDlgItemText(IDC_EDIT_SPEED, QStringLiteral("1.00"));
    SetDlgItemText(IDC_EDIT_PITCH, QStringLiteral("1.00"));
    // 6. Factor sliders in the middle: factor 1.00.
    speedSlider->setRange(0, 20);
    pitchSlider->setRange(0, 40);
    speedSlider->setValue(10);
    pitchSlider->setValue(20);
    // 7. Empty segment and output texts; their change handling runs.
    SetDlgItemText(IDC_EDIT_START, QString());
    SetDlgItemText(IDC_EDIT_END, QString());
    SetDlgItemText(IDC_EDIT_OUTPUT, QString());
    // 8. The length label (with a full-width colon, unlike the later texts); a second line
    // below the first tells when the fades are shortened.
    SetDlgItemText(IDC_STATIC_LENGTH, QString::fromUtf8(kNoLengthText));
    lengthLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // 9.
    progressBar->setValue(0);
}

void CTesmiraDlg::OnPaint() {
    // A minimised window is drawn by the window manager, with the window's icon.
    if (isMinimized()) {
        return;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    // The logo at its own size, from the top-left corner of the hidden control 1031.
    if (const QWidget* anchor = GetDlgItem(IDC_STATIC_LOGO); anchor && !logoImage.isNull()) {
        painter.drawImage(anchor->geometry().topLeft(), logoImage);
    }
}
