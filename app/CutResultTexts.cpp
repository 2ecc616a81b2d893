#include "CutResultTexts.h"

CutResultText TextForCutResult(const CutResult& result) {
    switch (result.error) {
    case CutError::SourceUnreadable:
    case CutError::Interrupted:
        return {"源文件打开失败!", true};
    case CutError::LosslessNotLayer3:
    case CutError::LosslessJunk:
    case CutError::LosslessJoined:
    case CutError::LosslessAltered:
        return {"该文件的帧无法逐一复制，不能无损剪切；请取消“无损剪切”后再剪切!", true};
    case CutError::EncoderLibraryMissing:
        return {"Error loading encmp3.DLL", false};
    case CutError::EncoderLibraryIncomplete:
        return {"Unable to get LAME interfaces", false};
    case CutError::EncoderStreamRefused:
    case CutError::OutputExists:
    case CutError::OutputNotRegular:
    case CutError::OutputIsSource:
    case CutError::OutputCannotCreate:
        return {"无法创建输出文件!", true};
    case CutError::EmptyRange:
        return {"剪切的终点必须大于起点!", true};
    case CutError::RangeBeyondSource:
    case CutError::BadTime:
    case CutError::BadLanes:
        return {"剪切范围无效!", true};
    case CutError::BadFactor:
        return {"变速或变调系数无效!", true};
    case CutError::Busy:
        return {"正在剪切中,请等待剪切完成!", true};
    case CutError::WriteFailed:
    case CutError::SyncFailed:
    case CutError::TemporaryGone:
    case CutError::FolderMoved:
    case CutError::NameFailed:
    case CutError::EncodeFailed:
        return {"剪切失败: 写入输出文件出错!", true};
    case CutError::ReadFailed:
        return {"剪切失败: 读取源文件出错!", true};
    case CutError::NoAudio:
        return {"剪切失败: 所选范围内没有可解码的音频!", true};
    case CutError::None:
    case CutError::Stopped:
    case CutError::NameTaken:
        break;
    }
    return {"剪切失败!", true};
}
