#include "Id3v1Tag.h"

#include "CodePage.h"
#include "OutputNaming.h"

#include <cstring>

namespace {

constexpr size_t kTitleOffset = 3;
constexpr size_t kArtistOffset = 33;
constexpr size_t kCommentOffset = 97;
constexpr size_t kGenreOffset = 127;
constexpr size_t kFieldSize = 30;

// The contact text in the artist field (ASCII, so its GBK form is the same).
constexpr const char* kContact = "tesmira.example.org";
constexpr const char* kComment = "Lumasi音乐网Tesmira";

// Bytes of gbk that fit into limit without splitting a double-byte character.
size_t WholeGbkPrefix(const std::string& gbk, size_t limit) {
    size_t length = 0;
    while (length < gbk.size()) {
        const auto lead = static_cast<unsigned char>(gbk[length]);
        const size_t step = (lead >= 0x81 && lead <= 0xFE && length + 1 < gbk.size()) ? 2 : 1;
        if (length + step > limit) {
            break;
        }
        length += step;
    }
    return length;
}

// Up to 30 bytes with the terminating zero (which may spill into the next field,
// the next field then overwrites it); a longer text is cut on a whole character.
void PutText(uint8_t* tag, size_t offset, const std::string& text) {
    if (text.size() <= kFieldSize) {
        std::memcpy(tag + offset, text.c_str(), text.size() + 1);
    } else {
        std::memcpy(tag + offset, text.data(), WholeGbkPrefix(text, kFieldSize));
    }
}

} // namespace

void MakeId3v1Tag(const std::string& outputPath, uint8_t (&tag)[kId3v1TagSize]) {
    std::memset(tag, 0, sizeof(tag));
    std::memcpy(tag, "TAG", 3);
    PutText(tag, kTitleOffset, Utf8ToGbk(GetBaseName(outputPath)));
    PutText(tag, kArtistOffset, Utf8ToGbk(kContact));
    PutText(tag, kCommentOffset, Utf8ToGbk(kComment));
    tag[kGenreOffset] = 255;
}
