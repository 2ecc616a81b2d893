// The main window as it comes up: its controls, their first state, the player's first
// settings, and a window that survives a missing or incomplete player library.
#include "CMySliderControl.h"
#include "CStaticCounter.h"
#include "CTMStatic.h"
#include "ControlIds.h"
#include "PngResource.h"
#include "WindowFixture.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QRadioButton>
#include <filesystem>
#include <set>

namespace {

QString Text(const CTesmiraDlg& dialog, int id) {
    return dialog.GetDlgItemText(id);
}

} // namespace

TEST_F(WindowTest, EveryTemplateControlExistsWithItsIdNameVisibilityAndPlace) {
    auto dialog = MakeDialog();
    const std::set<int> hidden{1042, 1043, 1044, 1045, 1046, 1027, 1028, 1029, 1030, 1031, 1050};
    int addressed = 0;
    for (const DialogControl& control : dialog->Template().controls) {
        if (control.id == kStaticControlId) {
            continue;
        }
        ++addressed;
        QWidget* widget = dialog->GetDlgItem(control.id);
        ASSERT_NE(widget, nullptr) << control.id;
        EXPECT_EQ(widget->objectName(), control.name);
        EXPECT_EQ(widget->property(kControlIdProperty).toInt(), control.id);
        EXPECT_EQ(widget->isHidden(), hidden.count(control.id) == 1) << control.id;
        EXPECT_EQ(widget->geometry(), dialog->BaseUnits().MapDialogRect(control.units));
    }
    // 49 controls with ids (the waveform strip, the three prelisten buttons and 无损剪切 among
    // them), 8 unit and caption texts without.
    EXPECT_EQ(addressed, 49);
    EXPECT_EQ(dialog->Template().controls.size(), 57u);

    EXPECT_NE(qobject_cast<CMySliderControl*>(dialog->GetDlgItem(IDC_SLIDER_POSITION)), nullptr);
    auto* speed = qobject_cast<CMySliderControl*>(dialog->GetDlgItem(IDC_SLIDER_SPEED));
    ASSERT_NE(speed, nullptr);
    EXPECT_EQ(speed->orientation(), Qt::Vertical);
    EXPECT_NE(qobject_cast<CStaticCounter*>(dialog->GetDlgItem(IDC_COUNTER)), nullptr);
    EXPECT_NE(qobject_cast<CTMStatic*>(dialog->GetDlgItem(IDC_LABEL_TIME)), nullptr);
    EXPECT_NE(qobject_cast<CTMStatic*>(dialog->GetDlgItem(IDC_LABEL_STEP4)), nullptr);
    EXPECT_NE(qobject_cast<QCheckBox*>(dialog->GetDlgItem(IDC_CHECK_FADE_OUT)), nullptr);
    EXPECT_NE(qobject_cast<QRadioButton*>(dialog->GetDlgItem(IDC_RADIO_WHOLE_SOURCE)), nullptr);
    EXPECT_TRUE(qobject_cast<QLineEdit*>(dialog->GetDlgItem(IDC_EDIT_SOURCE))->isReadOnly());
    EXPECT_FALSE(qobject_cast<QLineEdit*>(dialog->GetDlgItem(IDC_EDIT_START))->isReadOnly());
}

TEST_F(WindowTest, ControlsStartInTheirFirstState) {
    auto dialog = MakeDialog();
    EXPECT_EQ(dialog->windowTitle(), QString::fromUtf8("Tesmira-Lumasi音乐网"));
    EXPECT_EQ(dialog->size(), QSize(800, 660));
    EXPECT_EQ(Text(*dialog, IDC_EDIT_FADE_IN), "15");
    EXPECT_EQ(Text(*dialog, IDC_EDIT_FADE_OUT), "15");
    EXPECT_EQ(Text(*dialog, IDC_EDIT_SPEED), "1.00");
    EXPECT_EQ(Text(*dialog, IDC_EDIT_PITCH), "1.00");
    EXPECT_EQ(Text(*dialog, IDC_EDIT_START), "");
    EXPECT_EQ(Text(*dialog, IDC_EDIT_SOURCE), "");
    EXPECT_EQ(Text(*dialog, IDC_STATIC_LENGTH), QString::fromUtf8("剪切长度：00:00(0秒)"));
    EXPECT_EQ(Text(*dialog, IDC_LABEL_TIME), "00:00/00:00");
    EXPECT_EQ(Text(*dialog, IDC_STATIC_SECONDS), "0.000/0.000");
    EXPECT_EQ(dialog->GetDlgItem(IDC_COUNTER)->accessibleName(), "00:00");
    const auto* counter = Control<CStaticCounter>(*dialog, "IDC_COUNTER");
    EXPECT_EQ(counter->minChars, 5);
    EXPECT_EQ(counter->litColour, QColor(9, 84, 224));
    // Unlit segments and the background melt into the dialog as it is painted.
    const QColor dialogColour = dialog->grab().toImage().pixelColor(2, 2);
    EXPECT_EQ(counter->backColour, dialogColour);
    EXPECT_EQ(counter->ghostColour, dialogColour);
    EXPECT_EQ(dialog->GetDlgItem(IDC_LABEL_TIME)->font().family(), "Times New Roman");
    EXPECT_EQ(Control<CTMStatic>(*dialog, "IDC_LABEL_STEP1")->textColour, QColor(0, 0, 255));
    EXPECT_TRUE(
        qobject_cast<QRadioButton*>(dialog->GetDlgItem(IDC_RADIO_CUSTOM_RANGE))->isChecked());
    EXPECT_FALSE(
        qobject_cast<QRadioButton*>(dialog->GetDlgItem(IDC_RADIO_WHOLE_SOURCE))->isChecked());

    auto* speed = qobject_cast<QSlider*>(dialog->GetDlgItem(IDC_SLIDER_SPEED));
    auto* pitch = qobject_cast<QSlider*>(dialog->GetDlgItem(IDC_SLIDER_PITCH));
    EXPECT_EQ(std::make_pair(speed->maximum(), speed->value()), std::make_pair(20, 10));
    EXPECT_EQ(std::make_pair(pitch->maximum(), pitch->value()), std::make_pair(40, 20));
    // Page keys: a fifth of each factor slider's range, ten seconds on the position slider.
    EXPECT_EQ(speed->pageStep(), 4);
    EXPECT_EQ(pitch->pageStep(), 8);
    EXPECT_EQ(PositionSlider(*dialog)->pageStep(), 10000);
    // The marks were cleared, and the emptied edits, which hold no time, set none.
    EXPECT_EQ(PositionSlider(*dialog)->startMark, -1);
    EXPECT_EQ(PositionSlider(*dialog)->endMark, -1);
    EXPECT_EQ(qobject_cast<QProgressBar*>(dialog->GetDlgItem(IDC_PROGRESS_CUT))->value(), 0);
    EXPECT_FALSE(dialog->IsTimerRunning(kPlaybackTimerId));
    EXPECT_FALSE(dialog->IsTimerRunning(kCutTimerId));

    // The default save folder is made and shown in its hidden edit.
    const std::string saveFolder = home + "/剪切";
    EXPECT_EQ(Text(*dialog, IDC_EDIT_SAVE_FOLDER).toStdString(), saveFolder);
    EXPECT_TRUE(std::filesystem::is_directory(saveFolder));
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(WindowTest, PlayerGetsItsFirstSettingsInOrder) {
    auto dialog = MakeDialog();
    const QStringList calls = fake.CallsOf(
        {"SetShowHWnd", "SetVideoShowMod", "EnableHWDecode", "EnableFade", "SetVolume", "Open"});
    EXPECT_EQ(calls, (QStringList{"SetShowHWnd window", "SetVideoShowMod 1", "EnableHWDecode 0",
                                  "EnableFade 0", "SetVolume 50"}));
}

TEST_F(WindowTest, MissingPlayerLibraryIsReportedOnceAndLeavesAUsableWindow) {
    auto dialog = MakeDialog(dir.File("bin/libPlovex1.so"));
    ASSERT_EQ(messages, QStringList{QString::fromUtf8("Plovex.dll打开失败!")});
    EXPECT_FALSE(owned.front()); // no owner window
    EXPECT_EQ(Text(*dialog, IDC_EDIT_SPEED), "1.00");

    const std::string song = MakeSong("a.mp3", 1.0);
    dialog->OnDropFiles({QString::fromStdString(song)});
    EXPECT_EQ(messages.last(), QString::fromUtf8("mp3文件打开失败！"));
    EXPECT_EQ(messages.size(), 2);
    EXPECT_FALSE(dialog->IsTimerRunning(kPlaybackTimerId));
    EXPECT_EQ(Text(*dialog, IDC_EDIT_SOURCE), "");
}

TEST_F(WindowTest, IncompletePlayerLibraryLeavesAUsableWindow) {
    auto dialog = MakeDialog(INCOMPLETE_PLAYER_PATH);
    EXPECT_TRUE(messages.isEmpty()); // it loaded; the missing entries answer "no file"
    dialog->OnDropFiles({dir.File("a.mp3").c_str()});
    EXPECT_EQ(messages, QStringList{QString::fromUtf8("mp3文件打开失败！")});
    EXPECT_EQ(Text(*dialog, IDC_EDIT_SOURCE), "");
}

TEST_F(WindowTest, LogoIsPaintedAtItsOwnSizeFromTheHiddenAnchor) {
    auto dialog = MakeDialog();
    QImage logo;
    ASSERT_TRUE(LoadPngResource(logo, IDB_PNG_LOGO));
    ASSERT_FALSE(logo.isNull());
    const QPoint anchor = dialog->GetDlgItem(IDC_STATIC_LOGO)->geometry().topLeft();
    const QImage shot = dialog->grab().toImage().convertToFormat(QImage::Format_RGB32);
    // Opaque logo pixels show exactly; the window's own colour is around them.
    int compared = 0;
    for (int y = 0; y < logo.height() && anchor.y() + y < shot.height(); y += 7) {
        for (int x = 0; x < logo.width(); x += 7) {
            const QColor pixel = logo.pixelColor(x, y);
            if (pixel.alpha() == 255) {
                EXPECT_EQ(shot.pixelColor(anchor + QPoint(x, y)), pixel) << x << "," << y;
                ++compared;
            }
        }
    }
    EXPECT_GT(compared, 50);
    EXPECT_EQ(shot.pixelColor(anchor - QPoint(1, 1)), dialog->palette().color(QPalette::Window));
}
