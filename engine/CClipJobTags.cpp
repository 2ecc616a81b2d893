// The source's tags, read once per cut and written before the cut's audio.
#include "CClipJob.h"
#include "CutTag.h"

#include <cmath>

std::vector<std::string> CClipJob::GetTagNotes() {
    std::lock_guard<std::mutex> hold(stateLock);
    return tagNotes;
}

bool CClipJob::WriteCutTag() {
    {
        std::lock_guard<std::mutex> hold(stateLock);
        tagNotes.clear();
    }
    if (!carryTags) {
        return true;
    }
    AudioInfo info;
    reader->GetInfo(info);
    const double speed = stage.IsActive() ? 1.0 + stage.GetTempoChange() / 100.0 : 1.0;
    CutFacts facts{encoder->GetPath(), 0, speed, stage.GetPitch()};
    facts.lengthMs = info.sampleRate > 0 ? std::llround(static_cast<double>(endFrame - startFrame) *
                                                        1000.0 / info.sampleRate / speed)
                                         : 0;
    auto tags = std::make_shared<const CarriedTags>(ReadSourceTags(sourcePath));
    const std::vector<uint8_t> tag = BuildCutTag(*tags, facts);
    {
        std::lock_guard<std::mutex> hold(stateLock);
        tagNotes = tags->notes;
    }
    CMp3enc::TagForName forName;
    if (CutTagTitleFollowsName(*tags)) {
        forName = [tags, facts, size = tag.size()](const std::string& name) {
            CutFacts renamed = facts;
            renamed.outputPath = name;
            return BuildCutTag(*tags, renamed, size);
        };
    }
    return encoder->WriteLeadingTag(tag, std::move(forName));
}
