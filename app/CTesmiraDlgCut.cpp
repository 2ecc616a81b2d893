// The cut command "开始剪切": checks, the segment, the output name, the job's set-up, and the
// 500 ms timer that follows the job to its end.
#include "CMySliderControl.h"
#include "CTesmiraDlg.h"
#include "ControlIds.h"
#include "CutFades.h"
#include "OutputNaming.h"
#include "PathField.h"
#include "TimeTexts.h"

#include <QProgressBar>
#include <algorithm>
#include <ctime>
#include <optional>

namespace {

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
    if (!ReadCutSegment(segment) || !ReadCutFades(segment) || !PrepareCut(segment)) {
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
    const std::optional<int> startMs = ParseTimeMs(start);
    const std::optional<int> endMs = ParseTimeMs(end);
    if (!startMs || !endMs) {
        MessageBox(!startMs ? TimeRefusal("起始点", start) : TimeRefusal("结束点", end));
        return false;
    }
    segment.startMs = *startMs;
    segment.endMs = *endMs;
    segment.lengthMs = *endMs - *startMs;
    if (segment.lengthMs <= 0) {
        MessageBox(QString::fromUtf8("剪切的终点必须大于起点!"));
        return false;
    }
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
    // An end past the song was clamped: the fades fit, and the fade-out ends, where the cut does.
    const CutFades fades = FitCutFades(
        segment, std::min(segment.lengthMs, clipJob.GetRangeEndMs() - clipJob.GetRangeStartMs()));
    clipJob.SetFadeIn(fades.inEnabled, fades.inStartMs, fades.inLengthMs);
    clipJob.SetFadeOut(fades.outEnabled, fades.outStartMs, fades.outEndMs);
    clipJob.SetSpeed(TextToDouble(GetTrimmedItemText(IDC_EDIT_SPEED)));
    clipJob.SetPitchFactor(static_cast<float>(TextToDouble(GetTrimmedItemText(IDC_EDIT_PITCH))));
    // No pause between blocks: the cut runs at the lowest priority instead, so it takes only
    // the processor time nothing else wants, and on two encoder streams.
    clipJob.SetThrottleMs(0);
    clipJob.SetLowPriority(true);
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
    ShowPathInField(outputPathEdit, QString::fromStdString(path));
}

// A failed cut names no file in the output field; "打开保存目录" goes on showing the last
// output before it.
void CTesmiraDlg::ForgetFailedOutput() {
    lastOutputPath = previousOutputPath;
    ShowPathInField(outputPathEdit, QString());
}
