// The cut command "开始剪切": checks, the segment, the output name, the job's set-up, and the
// 500 ms timer that follows the job to its end.
#include "CMySliderControl.h"
#include "CTesmiraDlg.h"
#include "ControlIds.h"
#include "CutResultTexts.h"
#include "OutputNaming.h"
#include "PathField.h"
#include "TimeTexts.h"

#include <QProgressBar>
#include <algorithm>
#include <ctime>
#include <optional>

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
    CutRequest request;
    if (!ReadCutSegment(request) || !ReadCutFades(request) || !PrepareCut(request)) {
        return;
    }
    clipJob.Start();
    progressBar->setRange(0, 100);
    progressBar->setValue(0);
    SetTimer(kCutTimerId, kCutTimerMs);
}

// The whole source, or the range typed in the edits; false (after a message) when the
// edits give no usable range.
bool CTesmiraDlg::ReadCutSegment(CutRequest& segment) {
    segment.startMs = 0;
    segment.endMs = positionSlider->maximum();
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
    if (segment.endMs <= segment.startMs) {
        MessageBox(QString::fromUtf8("剪切的终点必须大于起点!"));
        return false;
    }
    return true;
}

// Opens the source and the output and sets the job up. On any failure the user is told
// what failed, no output file is left behind, the output field is emptied and the last
// output path stays as it was.
bool CTesmiraDlg::PrepareCut(CutRequest request) {
    previousOutputPath = lastOutputPath;
    ShowOutputPath(BuildOutputPath(settings.SaveFolder(), sourcePath, std::time(nullptr)));
    request.source = sourcePath;
    request.output = lastOutputPath;
    request.speed = TextToDouble(GetTrimmedItemText(IDC_EDIT_SPEED));
    request.pitch = static_cast<float>(TextToDouble(GetTrimmedItemText(IDC_EDIT_PITCH)));
    request.lossless = LosslessTicked();
    // No pause between blocks: the cut runs at the lowest priority instead, so it takes only
    // the processor time nothing else wants, and on two encoder streams.
    request.lowPriority = true;
    const CutResult result = clipJob.Prepare(request);
    if (result.Ok()) {
        return true;
    }
    ForgetFailedOutput();
    const CutResultText message = TextForCutResult(result);
    ShowMessageBox(message.ownWindow ? this : nullptr, QString::fromUtf8(message.text));
    return false;
}

void CTesmiraDlg::OnCutTimer() {
    // The bar takes only values within its range; a job a little past its end shows 100.
    progressBar->setValue(std::clamp(TruncateToInt(clipJob.GetProgress()), 0, 100));
    // The worker keeps its result before it says it has ended: a job seen ended here
    // already tells how.
    const CutState state = clipJob.GetState();
    if (state == CutState::Finished) {
        KillTimer(kCutTimerId);
        // The name the file finally got: "_2", "_3", ... when another cut took it first.
        ShowOutputPath(clipJob.GetOutputPath());
        MessageBox(QString::fromUtf8("剪切完成!"));
        progressBar->setValue(0);
    } else if (state != CutState::Running) {
        // Stopped or failed on the way: the job has removed what it wrote, so the last
        // output is again the one before.
        KillTimer(kCutTimerId);
        ForgetFailedOutput();
        progressBar->setValue(0);
        MessageBox(QString::fromUtf8(TextForCutResult(clipJob.GetResult()).text));
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
