#include "CutTag.h"

#include "LegacyText.h"
#include "OutputNaming.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {

using Bytes = std::vector<uint8_t>;

bool IsAscii(const std::string& text) {
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}

// ISO-8859-1 for ASCII; else UTF-16 with a byte-order mark, which phones, car units and
// Windows read (ID3v2.3 knows no UTF-8).
void PutString(Bytes& out, const std::string& utf8, bool utf16, bool terminated) {
    if (!utf16) {
        out.insert(out.end(), utf8.begin(), utf8.end());
        if (terminated) {
            out.push_back(0);
        }
        return;
    }
    std::u32string text;
    DecodeUtf8(utf8, text);
    out.push_back(0xFF);
    out.push_back(0xFE);
    for (char32_t c : text) {
        if (c >= 0x10000) {
            c -= 0x10000;
            const char32_t high = 0xD800 + (c >> 10);
            out.push_back(static_cast<uint8_t>(high));
            out.push_back(static_cast<uint8_t>(high >> 8));
            c = 0xDC00 + (c & 0x3FF);
        }
        out.push_back(static_cast<uint8_t>(c));
        out.push_back(static_cast<uint8_t>(c >> 8));
    }
    if (terminated) {
        out.insert(out.end(), {0, 0});
    }
}

// A frame's header, its size filled in by EndFrame once the body follows it in out; a
// picture is written once, straight into the tag.
size_t BeginFrame(Bytes& out, const char* id, bool utf16) {
    out.insert(out.end(), id, id + 4);
    out.insert(out.end(), {0, 0, 0, 0, 0, 0, static_cast<uint8_t>(utf16)});
    return out.size() - 7;
}

void EndFrame(Bytes& out, size_t sizeAt) {
    const size_t size = out.size() - sizeAt - 6;
    for (int i = 0; i < 4; ++i) {
        out[sizeAt + static_cast<size_t>(i)] = static_cast<uint8_t>(size >> (24 - 8 * i));
    }
}

void PutTextFrame(Bytes& out, const std::string& id, const std::string& text) {
    const bool utf16 = !IsAscii(text);
    const size_t at = BeginFrame(out, id.c_str(), utf16);
    PutString(out, text, utf16, false);
    EndFrame(out, at);
}

// COMM and USLT: language, description, text.
void PutCommentFrame(Bytes& out, const char* id, const TagComment& c) {
    const bool utf16 = !IsAscii(c.description) || !IsAscii(c.text);
    const size_t at = BeginFrame(out, id, utf16);
    out.insert(out.end(), c.language.begin(), c.language.end());
    PutString(out, c.description, utf16, true);
    PutString(out, c.text, utf16, false);
    EndFrame(out, at);
}

void PutPictureFrame(Bytes& out, const TagPicture& p) {
    const bool utf16 = !IsAscii(p.description);
    const size_t at = BeginFrame(out, "APIC", utf16);
    PutString(out, IsAscii(p.mime) ? p.mime : "image/", false, true);
    out.push_back(p.type);
    PutString(out, p.description, utf16, true);
    const auto* image = reinterpret_cast<const uint8_t*>(p.data.data());
    out.insert(out.end(), image, image + p.data.size());
    EndFrame(out, at);
}

// The source's tempo at the cut's speed; empty when the source gives none.
std::string ScaledTempo(const std::string& bpm, double speed) {
    double value = 0.0;
    const auto [end, error] = std::from_chars(bpm.data(), bpm.data() + bpm.size(), value);
    const long scaled = std::lround(value * speed);
    return error == std::errc() && end == bpm.data() + bpm.size() && scaled > 0
               ? std::to_string(scaled)
               : std::string();
}

std::string NameTitle(const std::string& outputPath) {
    // A name that is not UTF-8 reads by the same rule as an old tag's text.
    return DecodeLegacy(GetBaseName(outputPath), LegacyCharset::Ascii);
}

} // namespace

bool CutTagTitleFollowsName(const CarriedTags& tags) {
    return tags.Find("TIT2") == nullptr;
}

std::vector<uint8_t> BuildCutTag(const CarriedTags& tags, const CutFacts& facts, size_t totalSize) {
    constexpr size_t kHeader = 10;
    size_t pictureBytes = 0;
    for (const TagPicture& p : tags.pictures) {
        pictureBytes += p.data.size();
    }
    Bytes tag{'I', 'D', '3', 3, 0, 0, 0, 0, 0, 0};
    tag.reserve(std::max(totalSize, pictureBytes + (64u << 10)));
    const std::string* title = tags.Find("TIT2");
    const std::string named = title ? *title : NameTitle(facts.outputPath);
    if (!named.empty()) {
        PutTextFrame(tag, "TIT2", named);
    }
    for (const TagTextFrame& t : tags.texts) {
        if (t.id == "TBPM") {
            if (const std::string bpm = ScaledTempo(t.text, facts.speed); !bpm.empty()) {
                PutTextFrame(tag, t.id, bpm);
            }
        } else if (t.id != "TIT2" && (t.id != "TKEY" || std::fabs(facts.pitch - 1.0) < 0.005)) {
            PutTextFrame(tag, t.id, t.text);
        }
    }
    PutTextFrame(tag, "TLEN", std::to_string(facts.lengthMs));
    for (const TagComment& c : tags.comments) {
        PutCommentFrame(tag, "COMM", c);
    }
    for (const TagComment& c : tags.lyrics) {
        PutCommentFrame(tag, "USLT", c);
    }
    for (const TagPicture& p : tags.pictures) {
        PutPictureFrame(tag, p);
    }
    const size_t size = totalSize ? totalSize : tag.size() + kCutTagPadding;
    if (tag.size() > size || size - kHeader >= (1u << 28)) {
        return {};
    }
    for (size_t i = 0; i < 4; ++i) {
        tag[6 + i] = static_cast<uint8_t>((size - kHeader) >> (21 - 7 * i) & 0x7F);
    }
    tag.resize(size, 0);
    return tag;
}
