// Choosing the source: dropped files with their checks, the file dialog, a failed open.
#include "CMySliderControl.h"
#include "ControlIds.h"
#include "MakerPage.h"
#include "WindowActions.h"

#include <QApplication>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>

namespace {

const QStringList kOpenCalls{"SetFadeIn", "SetFadeOut", "Open", "GetLen", "Pause"};

// The source's full path, as its field's tool tip shows it.
QString SourceTip(const CTesmiraDlg& dialog) {
    return dialog.GetDlgItem(IDC_EDIT_SOURCE)->toolTip();
}

struct DropCase {
    QStringList files;
    const char* message; // nullptr: accepted
};

} // namespace

TEST_F(WindowTest, DroppedFilesAreCheckedInOrder) {
    const DropCase cases[] = {
        {{"/m/a.mp3", "/m/b.mp3"}, "只能选择一个mp3文件."},
        {{"ab", "/m/b.mp3"}, "只能选择一个mp3文件."}, // the count is checked first
        {{"mp3"}, "请选择正确的mp3文件."},
        {{"ab"}, "请选择正确的mp3文件."},
        {{"/m/a.wav"}, "只能处理mp3文件，请重新选择。"},
        {{"/m/song.mp3.bak"}, "只能处理mp3文件，请重新选择。"},
        {{"/m/songmp3"}, "只能处理mp3文件，请重新选择。"},
        {{"/m/SONG.MP3"}, nullptr},
        {{"/m/Song.Mp3"}, nullptr},
        {{".mp3"}, nullptr},
    };
    auto dialog = MakeDialog();
    for (const DropCase& drop : cases) {
        fake.Configure(1, 5000);
        messages.clear();
        dialog->OnDropFiles(drop.files);
        if (drop.message != nullptr) {
            EXPECT_EQ(messages, QStringList{QString::fromUtf8(drop.message)})
                << drop.files.join(',').toStdString();
            EXPECT_TRUE(fake.CallsOf({"Open"}).isEmpty());
        } else {
            EXPECT_TRUE(messages.isEmpty()) << drop.files.join(',').toStdString();
            EXPECT_EQ(fake.CallsOf({"Open"}), QStringList{"Open " + drop.files.front()});
        }
    }
}

TEST_F(WindowTest, AcceptedSourceIsOpenedPausedAndFollowed) {
    auto dialog = MakeDialog();
    fake.Configure(1, 125000);
    dialog->OnDropFiles({QString::fromUtf8("/音乐/一首歌.mp3")});

    EXPECT_EQ(fake.CallsOf(kOpenCalls), (QStringList{"SetFadeIn 0 0", "SetFadeOut 0 0",
                                                     QString::fromUtf8("Open /音乐/一首歌.mp3"),
                                                     "GetLen", "Pause", "GetLen"}));
    EXPECT_EQ(PositionSlider(*dialog)->minimum(), 0);
    EXPECT_EQ(PositionSlider(*dialog)->maximum(), 125000);
    EXPECT_EQ(PositionSlider(*dialog)->value(), 0);
    EXPECT_EQ(PositionSlider(*dialog)->startMark, 0); // from the start edit's "0"
    EXPECT_EQ(dialog->TimerInterval(kPlaybackTimerId), 1000);
    EXPECT_EQ(dialog->GetDlgItemText(IDC_EDIT_SOURCE), QString::fromUtf8("/音乐/一首歌.mp3"));
    EXPECT_EQ(SourceTip(*dialog), "/音乐/一首歌.mp3");
    EXPECT_EQ(dialog->GetDlgItemText(IDC_EDIT_START), "0");
    EXPECT_EQ(dialog->GetDlgItemText(IDC_EDIT_END), "");
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(WindowTest, FailedOpenLeavesThePreviousSourceAsItWas) {
    auto dialog = MakeDialog();
    fake.Configure(1, 125000);
    dialog->OnDropFiles({"/m/first.mp3"});
    dialog->SetDlgItemText(IDC_EDIT_END, "12.5");

    fake.Configure(0, 9000);
    dialog->OnDropFiles({"/m/second.mp3"});
    EXPECT_EQ(messages, QStringList{QString::fromUtf8("mp3文件打开失败！")});
    EXPECT_EQ(fake.CallsOf(kOpenCalls),
              (QStringList{"SetFadeIn 0 0", "SetFadeOut 0 0", "Open /m/second.mp3"}));
    EXPECT_EQ(dialog->GetDlgItemText(IDC_EDIT_SOURCE), "/m/first.mp3");
    EXPECT_EQ(SourceTip(*dialog), "/m/first.mp3");
    EXPECT_EQ(PositionSlider(*dialog)->maximum(), 125000);
    EXPECT_EQ(dialog->GetDlgItemText(IDC_EDIT_START), "0");
    EXPECT_EQ(dialog->GetDlgItemText(IDC_EDIT_END), "12.5");
    EXPECT_TRUE(dialog->IsTimerRunning(kPlaybackTimerId));
}

TEST_F(WindowTest, FailedOpenBeforeAnySourceStartsNothing) {
    auto dialog = MakeDialog();
    fake.Configure(0, 0);
    dialog->OnDropFiles({"/m/broken.mp3"});
    EXPECT_EQ(messages, QStringList{QString::fromUtf8("mp3文件打开失败！")});
    EXPECT_FALSE(dialog->IsTimerRunning(kPlaybackTimerId));
    EXPECT_EQ(SourceTip(*dialog), "");
}

TEST_F(WindowTest, SecondSourceReplacesTheFirst) {
    auto dialog = MakeDialog();
    fake.Configure(1, 125000);
    dialog->OnDropFiles({"/m/first.mp3"});
    TypeInto(*dialog, IDC_EDIT_START, "60"); // the thumb and the start mark at 60 s
    fake.Configure(1, 30000);
    dialog->OnDropFiles({"/m/first.mp3"});
    EXPECT_EQ(fake.CallsOf(kOpenCalls),
              (QStringList{"SetFadeIn 0 0", "SetFadeOut 0 0", "Open /m/first.mp3", "GetLen",
                           "Pause", "GetLen"}));
    EXPECT_EQ(PositionSlider(*dialog)->maximum(), 30000);
    EXPECT_EQ(PositionSlider(*dialog)->value(), 0);
    EXPECT_EQ(PositionSlider(*dialog)->startMark, 0); // the old mark gone, the new one at "0"
}

TEST_F(WindowTest, StartEditReportsAChangeEvenWhenItKeepsItsText) {
    auto dialog = MakeDialog();
    fake.Configure(1, 125000);
    dialog->OnDropFiles({"/m/first.mp3"});
    int changes = 0;
    QObject::connect(qobject_cast<QLineEdit*>(dialog->GetDlgItem(IDC_EDIT_START)),
                     &QLineEdit::textChanged, [&changes] { ++changes; });
    dialog->OnDropFiles({"/m/second.mp3"}); // "0" again: the segment rules must run again
    EXPECT_EQ(changes, 1);
}

TEST_F(WindowTest, FileDialogChoiceIsNotCheckedForItsExtension) {
    auto dialog = MakeDialog();
    fake.Configure(1, 4000);
    openFileAnswer = "/m/voice.wav";
    Click(*dialog, IDC_BTN_SELECT_SOURCE);
    EXPECT_EQ(openFileFilters, QStringList{QString::fromUtf8("mp3文件(*.mp3)")});
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(SourceTip(*dialog), "/m/voice.wav");
    EXPECT_EQ(PositionSlider(*dialog)->maximum(), 4000);
}

TEST_F(WindowTest, CancelledFileDialogChangesNothing) {
    auto dialog = MakeDialog();
    fake.Configure(1, 4000);
    openFileAnswer.clear();
    Click(*dialog, IDC_BTN_SELECT_SOURCE);
    EXPECT_EQ(openFileFilters.size(), 1);
    EXPECT_TRUE(fake.CallsOf(kOpenCalls).isEmpty());
    EXPECT_FALSE(dialog->IsTimerRunning(kPlaybackTimerId));
}

TEST_F(WindowTest, RealDropEventsCarryLocalFilesOnly) {
    auto dialog = MakeDialog();
    fake.Configure(1, 4000);
    QMimeData web;
    web.setUrls({QUrl("https://example.org/a.mp3")});
    QDragEnterEvent enterWeb(QPoint(10, 10), Qt::CopyAction, &web, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(dialog.get(), &enterWeb);
    EXPECT_FALSE(enterWeb.isAccepted());

    QMimeData two;
    two.setUrls({QUrl::fromLocalFile("/m/a.mp3"), QUrl::fromLocalFile("/m/b.mp3")});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &two, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(dialog.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &two, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(dialog.get(), &drop);
    EXPECT_EQ(messages, QStringList{QString::fromUtf8("只能选择一个mp3文件.")});

    QMimeData one;
    one.setUrls({QUrl::fromLocalFile("/m/one.mp3")});
    QDragEnterEvent enterOne(QPoint(10, 10), Qt::CopyAction, &one, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(dialog.get(), &enterOne);
    QDropEvent dropOne(QPointF(10, 10), Qt::CopyAction, &one, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(dialog.get(), &dropOne);
    EXPECT_EQ(SourceTip(*dialog), "/m/one.mp3");
}

TEST_F(WindowTest, MakerPageButtonOpensTheAddress) {
    auto dialog = MakeDialog();
    Click(*dialog, IDC_BTN_MAKER_PAGE);
    ASSERT_EQ(openedUrls.size(), 1u);
    EXPECT_EQ(openedUrls.front(), QUrl(kMakerPageAddress));
}
