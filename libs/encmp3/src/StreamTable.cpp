#include "StreamTable.h"

namespace encmp3 {

StreamTable& StreamTable::Instance() {
    static StreamTable table;
    return table;
}

BE_ERR StreamTable::Add(std::shared_ptr<EncoderStream> stream, HBE_STREAM& handle) {
    std::lock_guard<std::mutex> guard(lock);
    for (size_t slot = 0; slot < kSlots; ++slot) {
        if (!streams[slot]) {
            streams[slot] = std::move(stream);
            generations[slot] = (generations[slot] + 1) & 0xFFFFFF;
            handle = (generations[slot] << 8) | static_cast<uint32_t>(slot + 1);
            return BE_ERR_SUCCESSFUL;
        }
    }
    return BE_ERR_NO_MORE_HANDLES;
}

int StreamTable::SlotOf(HBE_STREAM handle) const {
    const uint32_t index = handle & 0xFF;
    if (index == 0) {
        return -1;
    }
    const size_t slot = index - 1;
    if (!streams[slot] || generations[slot] != (handle >> 8)) {
        return -1;
    }
    return static_cast<int>(slot);
}

std::shared_ptr<EncoderStream> StreamTable::Find(HBE_STREAM handle) {
    std::lock_guard<std::mutex> guard(lock);
    const int slot = SlotOf(handle);
    return slot < 0 ? nullptr : streams[static_cast<size_t>(slot)];
}

std::shared_ptr<EncoderStream> StreamTable::Remove(HBE_STREAM handle) {
    std::lock_guard<std::mutex> guard(lock);
    const int slot = SlotOf(handle);
    if (slot < 0) {
        return nullptr;
    }
    return std::move(streams[static_cast<size_t>(slot)]);
}

} // namespace encmp3
