// The source's tags, read once per cut and written before the cut's audio.
#include "CutTag.h"
#include "CutWork.h"

#include <cmath>
#include <memory>

bool WriteCutTag(CutWork& w) {
    if (!w.plan->carryTags) {
        return true;
    }
    AudioInfo info;
    w.reader.GetInfo(info);
    const double speed = w.stage.IsActive() ? 1.0 + w.stage.GetTempoChange() / 100.0 : 1.0;
    CutFacts facts{w.plan->output, 0, speed, w.stage.GetPitch()};
    facts.lengthMs = info.sampleRate > 0
                         ? std::llround(static_cast<double>(w.endFrame - w.startFrame) * 1000.0 /
                                        info.sampleRate / speed)
                         : 0;
    auto tags = std::make_shared<const CarriedTags>(ReadSourceTags(w.plan->source));
    const std::vector<uint8_t> tag = BuildCutTag(*tags, facts);
    w.tagNotes = tags->notes;
    CMp3enc::TagForName forName;
    if (CutTagTitleFollowsName(*tags)) {
        forName = [tags, facts, size = tag.size()](const std::string& name) {
            CutFacts renamed = facts;
            renamed.outputPath = name;
            return BuildCutTag(*tags, renamed, size);
        };
    }
    return w.encoder.WriteLeadingTag(tag, std::move(forName));
}
