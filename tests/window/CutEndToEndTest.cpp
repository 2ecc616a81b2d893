// Cuts as a user makes them, with the real player library and the real engine: pick a
// song, mark start and end, tick the fade-in, press "开始剪切", and check the new file.
#include "AudioMatch.h"
#include "CMySliderControl.h"
#include "ControlIds.h"
#include "CutWindowTest.h"
#include "Mp3Check.h"
#include "Mp3Gen.h"

#include <filesystem>

namespace {

// The re-encode adds about 60 ms: LAME's delay of 576 samples, the decoder's 529, padding.
constexpr double kCodecSec = 0.06;
constexpr long kEncoderLead = 576 + 529;

} // namespace

TEST_F(CutWindowTest, PickedSongIsCutIntoANewFileWithAFadeIn) {
    auto dialog = MakeDialog(CTesmiraDlg::DefaultPlayerLibraryPath());
    PickSong(*dialog, "一首歌.mp3", mp3gen::MakeMp3({.seconds = 12.0, .frequencyHz = 440.0}));
    ASSERT_TRUE(messages.isEmpty());
    EXPECT_NEAR(PositionSlider(*dialog)->maximum(), 12000, 100);

    TypeInto(*dialog, IDC_EDIT_START, "2");
    TypeInto(*dialog, IDC_EDIT_END, "7.5");
    EXPECT_EQ(dialog->GetDlgItemText(IDC_STATIC_LENGTH), U("剪切长度:00:05(5.50秒)"));
    Click(*dialog, IDC_CHECK_FADE_IN);
    TypeInto(*dialog, IDC_EDIT_FADE_IN, "2");
    Click(*dialog, IDC_BTN_START_CUT);
    ASSERT_TRUE(FollowCut(*dialog));
    ASSERT_EQ(messages, QStringList{U("剪切完成!")});

    const std::filesystem::path output = Output(*dialog);
    EXPECT_EQ(output.parent_path(), home + "/剪切");
    const std::string name = output.filename().string();
    EXPECT_EQ(name.rfind(U("一首歌_剪切").toStdString(), 0), 0u) << name;
    EXPECT_EQ(output.extension(), ".mp3");

    const FrameWalk walk = WalkFrames(mp3gen::ReadFileBytes(output.string()));
    EXPECT_TRUE(walk.clean);
    EXPECT_TRUE(walk.hasId3v1);
    ASSERT_FALSE(walk.frames.empty());
    EXPECT_TRUE(AllCutFrames(walk, 44100));
    const DecodedAudio audio = DecodeMp3File(output.string());
    ASSERT_TRUE(audio.ok);
    EXPECT_GT(audio.Seconds(), 5.5);
    EXPECT_LT(audio.Seconds(), 5.5 + kCodecSec);
    EXPECT_NEAR(EstimateFrequency(audio, 2.5, 5.0), 440.0, 4.0);
    // Rising over the first two seconds, full after them.
    EXPECT_LT(Rms(audio, 0.0, 0.5), 0.4 * Rms(audio, 3.0, 5.0));
}

// The preview is moved by a click on the position slider; "设置起点" takes its position t, and
// the cut begins with the very sample the preview plays at t, on a song whose cover picture
// and encoder tag once moved the cut away from it.
TEST_F(CutWindowTest, StartSetAtThePreviewPositionIsWhereTheCutBegins) {
    auto dialog = MakeDialog(CTesmiraDlg::DefaultPlayerLibraryPath());
    std::vector<uint8_t> bytes = mp3gen::MakeId3v2Tag(300000);
    const std::vector<uint8_t> audio =
        mp3gen::MakeMp3({.seconds = 12.0, .noise = true, .vbr = true});
    bytes.insert(bytes.end(), audio.begin(), audio.end());
    PickSong(*dialog, "cover.mp3", bytes);
    ASSERT_TRUE(messages.isEmpty());

    CMySliderControl* slider = PositionSlider(*dialog);
    slider->resize(400, slider->height());
    const QPoint at(211, slider->height() / 2);
    DragSlider(*dialog, slider, at, at);
    Click(*dialog, IDC_BTN_SET_START);
    const int t =
        static_cast<int>(std::lround(dialog->GetDlgItemText(IDC_EDIT_START).toDouble() * 1000));
    ASSERT_GT(t, 3000);
    ASSERT_LT(t, 9000);
    TypeInto(*dialog, IDC_EDIT_END, QString::number((t + 2000) / 1000.0, 'f', 3));
    Click(*dialog, IDC_BTN_START_CUT);
    ASSERT_TRUE(FollowCut(*dialog));
    ASSERT_EQ(messages, QStringList{U("剪切完成!")});

    const DecodedAudio preview = DecodeMp3File(song);
    const DecodedAudio cut = DecodeMp3File(Output(*dialog));
    ASSERT_TRUE(cut.ok);
    const std::vector<double> first = Channel(cut.pcm, cut.channels, 0);
    const std::vector<double> head(first.begin() + kEncoderLead,
                                   first.begin() + kEncoderLead + 44100);
    const long expected = std::lround(t * 44.1);
    const Match m = BestMatch(Channel(preview.pcm, preview.channels, 0), head, expected - 4410,
                              expected + 4410);
    EXPECT_GT(m.correlation, 0.9);
    EXPECT_EQ(m.lag, expected);
}
