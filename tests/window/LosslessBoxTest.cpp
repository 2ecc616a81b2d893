// "无损剪切" is offered only for a plain range: greyed, with a tip, while a fade is ticked or a
// factor is not 1.00; ticked, the cut is the source's own frames and samples.
#include "ControlIds.h"
#include "CutWindowTest.h"
#include "Mp3Check.h"
#include "Mp3Gen.h"
#include "WindowActions.h"

#include <QCheckBox>

TEST_F(WindowTest, LosslessBoxIsGreyedWhileAFadeOrAFactorIsSet) {
    auto dialog = MakeDialog();
    auto* box = qobject_cast<QCheckBox*>(dialog->GetDlgItem(IDC_CHECK_LOSSLESS));
    ASSERT_NE(box, nullptr);
    const QString plainTip = box->toolTip();
    EXPECT_TRUE(box->isEnabled());
    for (const auto& [set, undo] : {std::pair{IDC_CHECK_FADE_IN, IDC_CHECK_FADE_IN},
                                    std::pair{IDC_CHECK_FADE_OUT, IDC_CHECK_FADE_OUT},
                                    std::pair{IDC_BTN_SPEED_PLUS, IDC_BTN_SPEED_MINUS},
                                    std::pair{IDC_BTN_PITCH_MINUS, IDC_BTN_PITCH_PLUS}}) {
        Click(*dialog, set);
        EXPECT_FALSE(box->isEnabled()) << set;
        EXPECT_NE(box->toolTip(), plainTip) << set;
        Click(*dialog, undo);
        EXPECT_TRUE(box->isEnabled()) << set;
        EXPECT_EQ(box->toolTip(), plainTip) << set;
    }
}

TEST_F(CutWindowTest, LosslessCutKeepsTheSourcesFramesAndSamples) {
    auto dialog = MakeDialog(CTesmiraDlg::DefaultPlayerLibraryPath());
    PickSong(*dialog, "song.mp3",
             mp3gen::MakeMp3({.seconds = 6.0, .noise = true, .infoTag = true}));
    TypeInto(*dialog, IDC_EDIT_START, "2");
    TypeInto(*dialog, IDC_EDIT_END, "4.5");
    Click(*dialog, IDC_CHECK_LOSSLESS);
    Click(*dialog, IDC_BTN_START_CUT);
    ASSERT_TRUE(FollowCut(*dialog));
    ASSERT_EQ(messages, QStringList{QString::fromUtf8("剪切完成!")});

    const std::string output = Output(*dialog);
    const FrameWalk walk = WalkFrames(mp3gen::ReadFileBytes(output));
    EXPECT_TRUE(walk.hasId3v1);
    ASSERT_GT(walk.frames.size(), 2u);
    EXPECT_EQ(walk.frames.back().bitrateKbps, 128); // the source's frames, not re-encoded
    const DecodedAudio source = DecodeMp3File(song);
    const DecodedAudio cut = DecodeMp3File(output);
    ASSERT_TRUE(source.ok && cut.ok);
    const std::vector<int16_t> range(source.pcm.begin() + 2 * 44100 * 2,
                                     source.pcm.begin() + 4 * 44100 * 2 + 44100);
    EXPECT_TRUE(cut.pcm == range);
}
