// The cut command "开始剪切": checks, the segment, the output name, the job's set-up, and the
// 500 ms timer that follows the job to its end.
#include "CMySliderControl.h"
#include "CTesmiraDlg.h"
#include "ControlIds.h"
#include "CutFades.h"
#include "OutputNaming.h"
#include "TimeTexts.h"

#include <QCheckBox>
#include <QProgressBar>
#include <algorithm>
#include <cctype>
#include <climits>
#include <ctime>

namespace {

// Pause of the cut's worker after every block, so the machine stays responsive.
constexpr int kCutThrottleMs = 10;
// Longest fade in whole seconds whose length still fits in milliseconds.
constexpr long long kMaxFadeSeconds = INT_MAX / 1000;

// Whole seconds by atoi's rules ("2.9" is 2, "abc" 0); a negative fade is no fade, and
// the value is kept within what the fade windows can hold in milliseconds.
int WholeSeconds(const std::string& text) {
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    long long seconds = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])) != 0; ++i) {
        seconds = std::min(seconds * 10 + (text[i] - '0'), kMaxFadeSeconds);
    }
    return negative ? 0 : static_cast<int>(seconds);
}

const char* CutFailureText(ClipFailure failure) {
    switch (failure) {
    case ClipFailure::WriteFailed:
        return "剪切失败: 写入输出文件出错!";
    case ClipFailure::ReadFailed:
        return "剪切失败: 读取源文件出错!";
    case ClipFailure::NoAudio:
        return "剪切失败: 所选范围内没有可解码的音频!";
    case ClipFailure::NameTaken:
    case ClipFailure::None:
        break;
    }
    return "剪切失败!";
}

bool IsTicked(const QCheckBox* box) {
    return box != nullptr && box->isChecked();
}

} // namespace

// Button "开始剪切".
void CTesmiraDlg::OnStartCut() {
    if (player.IsOpend() == 0) {
        MessageBox(QString::fromUtf8("请选择mp3文件!"));
        return;
    }
    if (clipJob.IsRunning()) {
        MessageBox(QString::fromUtf8("正在剪切中,请等待剪切完成!"));
        return;
    }
    CutSegment segment;
    if (!ReadCutSegment(segment) || !PrepareCut(segment)) {
        return;
    }
    clipJob.Start();
    progressBar->setRange(0, 100);
    progressBar->setValue(0);
    SetTimer(kCutTimerId, kCutTimerMs);
}

// The whole source, or the range typed in the edits; false (after a message) when the
// edits give no usable range.
bool CTesmiraDlg::ReadCutSegment(CutSegment& segment) {
    segment.startMs = 0;
    segment.endMs = segment.lengthMs = positionSlider->maximum();
    if (lengthMode != CustomRange) {
        return true; // the edits are not read at all
    }
    const std::string start = GetTrimmedItemText(IDC_EDIT_START);
    if (start.empty()) {
        MessageBox(QString::fromUtf8("请输入起始点！"));
        return false;
    }
    const std::string end = GetTrimmedItemText(IDC_EDIT_END);
    if (end.empty()) {
        MessageBox(QString::fromUtf8("请输入结束点！"));
        return false;
    }
    segment.lengthMs = LengthMsFromTexts(start, end);
    if (segment.lengthMs <= 0) {
        MessageBox(QString::fromUtf8("剪切的终点必须大于起点!"));
        return false;
    }
    segment.startMs = TextToMs(start);
    segment.endMs = TextToMs(end);
    return true;
}

// Opens the source and the output and configures the job. On any failure the user is told
// what failed, no output file is left behind, the output field is emptied and the last
// output path stays as it was.
bool CTesmiraDlg::PrepareCut(const CutSegment& segment) {
    previousOutputPath = lastOutputPath;
    if (!clipJob.OpenSource(sourcePath.c_str())) {
        ForgetFailedOutput();
        MessageBox(QString::fromUtf8("源文件打开失败!"));
        return false;
    }
    if (const char* refusal = PrepareLossless()) {
        clipJob.Stop(); // no worker yet: closes the source and leaves the job idle
        ForgetFailedOutput();
        MessageBox(QString::fromUtf8(refusal));
        return false;
    }
    const AudioInfo info = clipJob.GetSourceInfo();
    const int channels = info.stereo != 0 ? 2 : 1;
    ShowOutputPath(BuildOutputPath(settings.SaveFolder(), sourcePath, std::time(nullptr)));
    const auto giveUp = [&](QWidget* owner, const QString& message) {
        clipJob.Stop(); // no worker yet: closes the source and leaves the job idle
        ForgetFailedOutput();
        ShowMessageBox(owner, message);
        return false;
    };
    try {
        if (!clipJob.OpenOutput(lastOutputPath.c_str(), info.sampleRate, channels)) {
            return giveUp(this, QString::fromUtf8("无法创建输出文件!"));
        }
    } catch (const char* loadError) {
        // The encoder library is missing or incomplete; like the player library's load
        // failure this is shown without an owner window.
        return giveUp(nullptr, QString::fromUtf8(loadError));
    }
    if (!clipJob.SetRange(segment.startMs, segment.endMs)) {
        clipJob.AbandonOutput(); // deletes the file OpenOutput created
        return giveUp(this, QString::fromUtf8("剪切范围无效!"));
    }
    const CutFades fades = MakeCutFades(
        IsTicked(fadeInBox), WholeSeconds(GetTrimmedItemText(IDC_EDIT_FADE_IN)),
        IsTicked(fadeOutBox), WholeSeconds(GetTrimmedItemText(IDC_EDIT_FADE_OUT)),
        // An end past the song was clamped: the fade-out ends where the cut does.
        std::min(segment.lengthMs, clipJob.GetRangeEndMs() - clipJob.GetRangeStartMs()));
    clipJob.SetFadeIn(fades.inEnabled, fades.inStartMs, fades.inLengthMs);
    clipJob.SetFadeOut(fades.outEnabled, fades.outStartMs, fades.outEndMs);
    clipJob.SetSpeed(TextToDouble(GetTrimmedItemText(IDC_EDIT_SPEED)));
    clipJob.SetPitchFactor(static_cast<float>(TextToDouble(GetTrimmedItemText(IDC_EDIT_PITCH))));
    clipJob.SetThrottleMs(kCutThrottleMs);
    return true;
}

void CTesmiraDlg::OnCutTimer() {
    // The bar takes only values within its range; a job a little past its end shows 100.
    progressBar->setValue(std::clamp(TruncateToInt(clipJob.GetProgress()), 0, 100));
    // The worker sets its status before it clears its running flag: a job seen ended here
    // already shows how it ended.
    const bool ended = !clipJob.IsRunning();
    const ClipStatus status = clipJob.GetStatus();
    if (status == ClipFinished) {
        KillTimer(kCutTimerId);
        // The name the file finally got: "_2", "_3", ... when another cut took it first.
        ShowOutputPath(clipJob.GetOutputPath());
        MessageBox(QString::fromUtf8("剪切完成!"));
        progressBar->setValue(0);
    } else if (ended) {
        // Stopped or failed on the way: the job has removed what it wrote, so the last
        // output is again the one before.
        KillTimer(kCutTimerId);
        ForgetFailedOutput();
        progressBar->setValue(0);
        MessageBox(QString::fromUtf8(CutFailureText(clipJob.GetFailure())));
    }
}

void CTesmiraDlg::ShowOutputPath(const std::string& path) {
    lastOutputPath = path;
    SetDlgItemText(IDC_EDIT_OUTPUT, QString::fromStdString(path));
}

// A failed cut names no file in the output field; "打开保存目录" goes on showing the last
// output before it.
void CTesmiraDlg::ForgetFailedOutput() {
    lastOutputPath = previousOutputPath;
    SetDlgItemText(IDC_EDIT_OUTPUT, QString());
}
