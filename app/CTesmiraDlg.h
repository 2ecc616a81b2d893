#pragma once
// The program's only window: choose an MP3, preview it, mark a piece, cut it.
//
// The dialog is spread over one file per group of handlers:
//   CTesmiraDlg.cpp            construction, control binding, timer and slider dispatch
//   CTesmiraDlgMessageMap.cpp  which control notification goes to which handler
//   CTesmiraDlgInit.cpp        OnInitDialog, InitControls, OnPaint
//   CTesmiraDlgExit.cpp        OnOK, OnCancel
//   CTesmiraDlgSource.cpp      choosing a source, the maker's page
//   CTesmiraDlgFolders.cpp     the save folder buttons
//   CTesmiraDlgSegment.cpp     start and end of the segment, the length mode and label
//   CTesmiraDlgCut.cpp         the cut command and its progress
//   CTesmiraDlgFades.cpp       the fades: read for the cut, fitted into it, told in the label
//   CTesmiraDlgLossless.cpp    the lossless cut's check box
//   CTesmiraDlgTransport.cpp   play, pause, stop, seeking, the play-position timer
//   CTesmiraDlgFactors.cpp     speed and pitch factors
//   CTesmiraDlgKeys.cpp        keys for play/pause, opening a file, start and end
//   CTesmiraDlgWaveform.cpp    the waveform strip: filling it, its overlay, seeking and marking
//   CTesmiraDlgPrelisten.cpp   试听, 听开头 and 听结尾
#include "CClipJob.h"
#include "CDialog.h"
#include "CutFades.h"
#include "LengthMode.h"
#include "PlayerApi.h"
#include "Settings.h"
#include "WaveformCache.h"
#include "WaveformWorker.h"

#include <QIcon>
#include <QImage>
#include <optional>
#include <span>
#include <string>

class CMySliderControl;
class CStaticCounter;
class CTMStatic;
class CWaveformStrip;
class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QSlider;

class CTesmiraDlg : public CDialog {
public:
    // The length label before a range is chosen (its colon is a full-width one).
    static constexpr const char* kNoLengthText = "剪切长度：00:00(0秒)";

    // settingsEnvironment says where Set.ini and the default save folder are;
    // playerLibraryPath is the player library's full path; encoderLibraryPath the encoder
    // library's (empty: beside the executable, then the library path).
    explicit CTesmiraDlg(
        SettingsEnvironment settingsEnvironment = SettingsEnvironment::FromProcess(),
        std::string playerLibraryPath = DefaultPlayerLibraryPath(),
        std::string encoderLibraryPath = {}, QWidget* parent = nullptr);
    ~CTesmiraDlg() override;

    // libPlovex1.so beside the executable.
    static std::string DefaultPlayerLibraryPath();

    // Files dropped on the window, or given on the command line: one MP3 is accepted.
    void OnDropFiles(const QStringList& files) override;

protected:
    bool OnInitDialog() override;
    void DoDataExchange() override;
    void OnOK() override;
    void OnCancel() override;
    void OnTimer(int id) override;
    void OnPaint() override;
    void customEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

    void InitControls();
    void SetUpCounter();
    void WireMessages();
    // Ctrl+O, I and O; Space in keyPressEvent.
    void InstallKeys();
    void OnPlayPauseKey();
    static std::span<const MessageMapEntry<CTesmiraDlg>> MessageMap();

    // Slider notifications (posted by the custom sliders, the vertical ones included).
    void OnHScroll(int code, QSlider* slider);

    // Source selection.
    void OnSelectSource();
    void AcceptSource(const QString& path);
    void OnMakerPage();

    // Save folder.
    void OnSetSaveFolder();
    void OnOpenSaveFolder();
    void ShowSaveFolder();

    // Segment selection and its texts.
    void OnSetStart();
    void OnSetEnd();
    void OnStartEditChanged();
    void OnEndEditChanged();
    void ApplySegmentEdit(int editId, int& mark);
    // The slider mark for a segment text: its time, at most the source's end; -1 for no time.
    int MarkForText(const std::string& text) const;
    // The message refusing a text that is no time, naming the field.
    static QString TimeRefusal(const char* field, const std::string& text);
    void OnCustomRangeMode();
    void OnWholeSourceMode();
    void UpdateLengthLabelFromEdits();
    void RefreshSliderMarks();
    // The control's text without leading and trailing white space.
    std::string GetTrimmedItemText(int id) const;

    // The cut command and its progress timer. The range and the fades the user asked for
    // are read into a cut request; false after a message when the edits give none.
    void OnStartCut();
    bool ReadCutSegment(CutRequest& request);
    bool PrepareCut(CutRequest request);
    // The fades, in CTesmiraDlgFades.cpp.
    std::optional<int> FadeMs(int boxId, int editId) const;
    bool ReadCutFades(CutRequest& request);
    CutFades FitCutFades(const CutRequest& request, int lengthMs) const;
    QString FadesNote(int lengthMs) const;
    void OnFadeChanged();
    void OnCutTimer();
    // Becomes the last output path, shown in edit 1037.
    void ShowOutputPath(const std::string& path);
    void ForgetFailedOutput();
    // "无损剪切": greyed while a fade is ticked or a factor is not 1.00.
    void SetUpLosslessBox();
    void UpdateLosslessBox();
    // The box is ticked and may be: the cut copies the source's frames.
    bool LosslessTicked() const;

    // Transport and the play position.
    bool CheckSourceOpen();
    void OnPlay();
    void StartPlayback();
    void OnPause();
    void OnStop();
    void OnPositionScroll(int code);
    void OnPlaybackTimer();
    void ShowPlayPosition(int positionMs);

    // The waveform strip.
    void SetUpWaveform();
    void ShowWaveformOf(const std::string& path);
    void OnWaveformTick();
    void OnStripSeek(int ms);
    void OnStripMarkDragged(bool startMark, int ms);
    void OnStripRangeDragged(int startMs, int endMs);

    // Prelisten: the marked range as the cut will sound, or its first or last seconds.
    enum class Prelisten { None, Range, Head, Tail };
    void OnPrelisten();
    void OnListenHead();
    void OnListenTail();
    void StartPrelisten(Prelisten part);
    // Gives the player back as it was (no fades, no stop position).
    void EndPrelisten();

    // Speed and pitch.
    void ApplySpeedSlider();
    void ApplyPitchSlider();
    void OnSpeedPlus();
    void OnSpeedMinus();
    void OnPitchPlus();
    void OnPitchMinus();

    // The members, in the order the window was designed with.
    QIcon icon;
    QImage skinImages[4];
    QImage logoImage;
    Settings settings; // the settings file's path and the save folder
    PlayerApi player;
    QLineEdit* sourcePathEdit = nullptr;        // 1034
    CMySliderControl* positionSlider = nullptr; // 1021
    LengthMode lengthMode = CustomRange;
    CTMStatic* timeLabel = nullptr;      // 1043
    QLabel* secondsText = nullptr;       // 1044
    QLineEdit* startEdit = nullptr;      // 1033
    QLineEdit* endEdit = nullptr;        // 1035
    QProgressBar* progressBar = nullptr; // 1040
    QLineEdit* speedEdit = nullptr;      // 1038
    QLineEdit* fadeInEdit = nullptr;     // 1036
    std::string lastOutputPath;          // the file of the most recent cut
    std::string sourcePath;              // the accepted source, UTF-8
    CClipJob clipJob;
    QLineEdit* outputPathEdit = nullptr;     // 1037
    QCheckBox* fadeInBox = nullptr;          // 1041
    QLineEdit* pitchEdit = nullptr;          // 1039
    QLineEdit* fadeOutEdit = nullptr;        // 1049
    QCheckBox* fadeOutBox = nullptr;         // 1048
    QLabel* lengthLabel = nullptr;           // 1047
    CMySliderControl* speedSlider = nullptr; // 1023
    CMySliderControl* pitchSlider = nullptr; // 1024
    CTMStatic* stepLabels[4] = {};           // 1027 to 1030
    QLineEdit* saveFolderEdit = nullptr;     // 1050
    CStaticCounter* counter = nullptr;       // 1032
    CWaveformStrip* waveformStrip = nullptr; // 1057
    CWaveformCache waveformCache;
    CWaveformWorker waveformWorker;
    Prelisten prelistening = Prelisten::None;

private:
    std::string playerLibraryPath;
    std::string previousOutputPath; // the last output before the running cut
    bool noSoundDeviceTold = false;
};
