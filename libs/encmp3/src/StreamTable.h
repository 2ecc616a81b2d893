#pragma once
// Streams by handle: handles are 32-bit numbers (slot and generation), never
// pointers, so a closed handle cannot reach a newer stream in the same slot.
#include "EncMp3Interface.h"
#include "EncoderStream.h"

#include <array>
#include <memory>
#include <mutex>

namespace encmp3 {

class StreamTable {
public:
    static StreamTable& Instance();

    BE_ERR Add(std::shared_ptr<EncoderStream> stream, HBE_STREAM& handle);
    std::shared_ptr<EncoderStream> Find(HBE_STREAM handle);
    // Takes the stream out of the table; it ends when the last user lets go.
    std::shared_ptr<EncoderStream> Remove(HBE_STREAM handle);

private:
    static constexpr size_t kSlots = 255;

    int SlotOf(HBE_STREAM handle) const;

    std::mutex lock;
    std::array<std::shared_ptr<EncoderStream>, kSlots> streams;
    std::array<uint32_t, kSlots> generations{};
};

} // namespace encmp3
