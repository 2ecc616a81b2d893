#pragma once
// What a cut's worker works with: the job hands it over for the cut's life and touches it
// again only once the worker has been joined. The strategies below each make the cut's audio
// one way; RunCutWork picks one and finishes the output.
#include "CMp3File.h"
#include "CMp3enc.h"
#include "CTempoPitchStage.h"
#include "CutPlan.h"
#include "CutResult.h"
#include "Fades.h"

#include <atomic>
#include <cstdint>
#include <stop_token>
#include <string>
#include <vector>

struct CutSegment;

// The share of the cut done, 0 to 100, written by the worker and read by anyone.
class CutProgress {
public:
    void Set(double percent) { value.store(percent); }
    double Get() const { return value.load(); }

private:
    std::atomic<double> value{0.0};
};

struct CutWork {
    const CutPlan& plan;
    CMp3File& reader;
    CMp3enc& encoder;
    CTempoPitchStage& stage;
    FileIdentity sourceIdentity;
    int startMs = 0; // the range, the end clamped to the source
    int endMs = 0;
    int64_t startFrame = 0;  // the range's first sample frame
    int64_t endFrame = 0;    // the sample frame behind the last one of the range
    uint32_t frameBytes = 4; // bytes of one sample frame of the source's PCM
    FadeInWindow fadeIn;
    FadeOutWindow fadeOut;
    std::stop_token stop;
    CutProgress& progress;
    std::vector<std::string> tagNotes; // what of the source's tags the cut could not carry
};

inline constexpr uint32_t kInputBlockBytes = 20480;

// Writes the tag, makes the audio and publishes the output; on failure nothing is left.
CutResult RunCutWork(CutWork& work);

// The strategies.
CutResult EncodeOneLane(CutWork& work);
CutResult EncodeTwoLanes(CutWork& work, const std::vector<CutSegment>& segments);
CutResult CopySourceFrames(CutWork& work);
// The source's tags before the audio.
bool WriteCutTag(CutWork& work);
