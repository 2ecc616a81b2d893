// Every number of a cut request is checked once, against the limits both front ends share.
#include "CutPlan.h"
#include "CutLimits.h"

#include <cmath>
#include <functional>
#include <gtest/gtest.h>

namespace {

struct PlanCase {
    const char* name;
    std::function<void(CutRequest&)> change;
    CutError expected;
};

class CutPlanCheck : public testing::TestWithParam<PlanCase> {};

TEST_P(CutPlanCheck, RefusesWhatNoCutCanBe) {
    CutRequest request{.startMs = 1000, .endMs = 5000, .source = "in.mp3", .output = "out.mp3"};
    GetParam().change(request);
    std::optional<CutPlan> plan;
    EXPECT_EQ(MakeCutPlan(request, plan).error, GetParam().expected);
    EXPECT_EQ(plan.has_value(), GetParam().expected == CutError::None);
}

INSTANTIATE_TEST_SUITE_P(
    Requests, CutPlanCheck,
    testing::Values(
        PlanCase{"Plain", [](CutRequest&) {}, CutError::None},
        PlanCase{"EndAtStart", [](CutRequest& r) { r.endMs = r.startMs; }, CutError::EmptyRange},
        PlanCase{"NegativeStart", [](CutRequest& r) { r.startMs = -1; }, CutError::BadTime},
        PlanCase{"FadeOfADay", [](CutRequest& r) { r.fadeInMs = kMaxFadeMs; }, CutError::None},
        PlanCase{"FadeOverADay", [](CutRequest& r) { r.fadeOutMs = kMaxFadeMs + 1; },
                 CutError::BadTime},
        PlanCase{"SlowestSpeed", [](CutRequest& r) { r.speed = 0.5; }, CutError::None},
        PlanCase{"SpeedTooLow", [](CutRequest& r) { r.speed = 0.4; }, CutError::BadFactor},
        PlanCase{"PitchTooHigh", [](CutRequest& r) { r.pitch = 20.0; }, CutError::BadFactor},
        PlanCase{"PitchNotANumber", [](CutRequest& r) { r.pitch = std::nan(""); },
                 CutError::BadFactor},
        PlanCase{"ThreeLanes", [](CutRequest& r) { r.lanes = 3; }, CutError::BadLanes},
        PlanCase{"LosslessPlain", [](CutRequest& r) { r.lossless = true; }, CutError::None},
        PlanCase{"LosslessFaded",
                 [](CutRequest& r) {
                     r.lossless = true;
                     r.fadeOut = true;
                     r.fadeOutMs = 1000;
                 },
                 CutError::LosslessAltered},
        PlanCase{"LosslessNoLengthFade",
                 [](CutRequest& r) {
                     r.lossless = r.fadeIn = true;
                     r.fadeInMs = 0;
                 },
                 CutError::None},
        PlanCase{"LosslessFaster",
                 [](CutRequest& r) {
                     r.lossless = true;
                     r.speed = 1.1;
                 },
                 CutError::LosslessAltered}),
    [](const testing::TestParamInfo<PlanCase>& c) { return c.param.name; });

} // namespace
