#include "CutPlan.h"

#include "CutLimits.h"
#include "FactorRange.h"

#include <cmath>

namespace {

bool FactorFits(double factor) {
    return std::isfinite(factor) && factor >= kMinFactor && factor <= kMaxFactor;
}

} // namespace

CutResult CheckCutRequest(const CutRequest& r) {
    if (r.startMs < 0 || r.fadeInMs < 0 || r.fadeOutMs < 0 || r.fadeInMs > kMaxFadeMs ||
        r.fadeOutMs > kMaxFadeMs || r.throttleMs < 0 || r.throttleMs > kMaxThrottleMs) {
        return CutFailed(CutError::BadTime);
    }
    if (r.endMs <= r.startMs) {
        return CutFailed(CutError::EmptyRange);
    }
    if (!FactorFits(r.speed) || !FactorFits(r.pitch)) {
        return CutFailed(CutError::BadFactor);
    }
    if (r.lanes < 1 || r.lanes > kMaxLanes) {
        return CutFailed(CutError::BadLanes);
    }
    if (r.lossless && ((r.fadeIn && r.fadeInMs > 0) || (r.fadeOut && r.fadeOutMs > 0) ||
                       r.speed != 1.0 || r.pitch != 1.0)) {
        return CutFailed(CutError::LosslessAltered);
    }
    return {};
}

CutResult MakeCutPlan(const CutRequest& request, std::optional<CutPlan>& plan) {
    plan.reset();
    CutResult result = CheckCutRequest(request);
    if (result.Ok()) {
        plan.emplace(CutPlan(request));
    }
    return result;
}
