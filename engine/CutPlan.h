#pragma once
// What a front end asks a cut to be (CutRequest) and the same, checked once and frozen
// (CutPlan): the only way to prepare a cut.
#include "CutOutputFile.h"
#include "CutResult.h"

#include <climits>
#include <optional>
#include <string>

struct CutRequest {
    int startMs = 0;
    int endMs = INT_MAX; // an end past the source is the source's end
    // Fades as asked for; the cut fits them into its length.
    bool fadeIn = false;
    int fadeInMs = 0;
    bool fadeOut = false;
    int fadeOutMs = 0;
    double speed = 1.0;
    double pitch = 1.0;
    int lanes = 2;            // encoder streams at once, where the cut allows it
    int throttleMs = 0;       // pause after every block
    bool lowPriority = false; // the cut's threads take only processor time nothing else wants
    bool lossless = false;    // copy the source's frames; no fades, speed or pitch then
    bool carryTags = true;    // the source's tags in an ID3v2 tag before the audio
    std::string source{};
    std::string output{};
    OutputMode mode = OutputMode::NumberedName;
};

class CutPlan {
public:
    const CutRequest& operator*() const { return request; }
    const CutRequest* operator->() const { return &request; }

private:
    friend CutResult MakeCutPlan(const CutRequest& request, std::optional<CutPlan>& plan);
    explicit CutPlan(const CutRequest& checked) : request(checked) {}

    const CutRequest request;
};

// Checks every number of request against its limit, and that a lossless cut changes nothing.
CutResult CheckCutRequest(const CutRequest& request);
// The same check; on success plan holds the request.
CutResult MakeCutPlan(const CutRequest& request, std::optional<CutPlan>& plan);
