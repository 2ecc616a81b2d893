// A whole cut of arbitrary bytes through the cut job and the real encoder library: range,
// fades, speed and pitch come from the input, the output goes to a scratch file.
#include "CClipJob.h"
#include "EncoderLibrary.h"
#include "FuzzInput.h"
#include "FuzzTempFile.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace {

constexpr double kSpeeds[] = {1.0, 0.9, 0.95, 1.05, 1.1, 1.0, 1.0, 1.0};
constexpr float kPitches[] = {1.0f, 0.8f, 0.9f, 1.1f, 1.2f, 1.0f, 1.0f, 1.0f};

struct CutPlan {
    int startMs;
    int endMs;
    FadeInWindow fadeIn;
    FadeOutWindow fadeOut;
    double speed;
    float pitch;
};

// Short ranges keep a run quick; some start past the end or end before they start.
CutPlan PlanFrom(const FuzzInput& in, int durationMs) {
    CutPlan p{};
    p.startMs = static_cast<int>(in.Fraction(0) * durationMs * 1.1);
    const int lengthMs = in.Param(2) * 6 - 30;
    p.endMs = p.startMs + lengthMs;
    const uint8_t flags = in.Param(3);
    p.fadeIn = {flags & 1, 0, (flags & 2) ? 1000 : 200};
    p.fadeOut = {(flags >> 2) & 1, lengthMs / 2, lengthMs};
    p.speed = kSpeeds[(flags >> 3) & 7];
    p.pitch = kPitches[(flags >> 5) & 7];
    return p;
}

void Follow(CClipJob& job) {
    while (job.IsRunning()) {
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
    try {
        LoadEncoderLibrary("");
    } catch (const char* error) {
        std::fprintf(stderr, "%s: libencmp3.so must lie beside the fuzzer\n", error);
        std::exit(1);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const FuzzTempFile source("cut-source");
    static const FuzzTempFile output("cut-output");
    const FuzzInput in(data, size, 4);
    if (!source.Write(in.FileData(), in.FileSize())) {
        return 0;
    }
    output.Remove();
    CClipJob job;
    if (!job.OpenSource(source.Path())) {
        FuzzCheck(job.GetStatus() == ClipIdle, "a refused source leaves the job idle");
        return 0;
    }
    const AudioInfo info = job.GetSourceInfo();
    if (!job.OpenOutput(output.Path(), info.sampleRate, info.stereo ? 2 : 1)) {
        FuzzCheck(false, "the scratch output can be created");
    }
    const CutPlan plan = PlanFrom(in, info.durationMs);
    if (!job.SetRange(plan.startMs, plan.endMs)) {
        job.AbandonOutput();
        FuzzCheck(!output.Exists(), "an abandoned cut leaves no output");
        FuzzCheck(job.GetStatus() == ClipIdle, "a refused range leaves the job idle");
        return 0;
    }
    job.SetFadeIn(plan.fadeIn.enabled, plan.fadeIn.startMs, plan.fadeIn.lengthMs);
    job.SetFadeOut(plan.fadeOut.enabled, plan.fadeOut.startMs, plan.fadeOut.endMs);
    job.SetSpeed(plan.speed);
    job.SetPitchFactor(plan.pitch);
    job.SetThrottleMs(0);
    job.Start();
    Follow(job);
    const ClipStatus status = job.GetStatus();
    FuzzCheck(status == ClipFinished || status == ClipIdle, "a cut ends finished or idle");
    if (status == ClipFinished) {
        FuzzCheck(output.Exists(), "a finished cut has its output");
    } else {
        FuzzCheck(job.GetFailure() == ClipFailure::None || !output.Exists(),
                  "a failed cut leaves no output");
    }
    output.Remove();
    return 0;
}
