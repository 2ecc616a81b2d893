#include "CutTag.h"

#include "Id3v1Tag.h"
#include "LegacyText.h"

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

void PutFrame(Bytes& out, const char* id, const Bytes& body) {
    out.insert(out.end(), id, id + 4);
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<uint8_t>(body.size() >> shift));
    }
    out.insert(out.end(), {0, 0});
    out.insert(out.end(), body.begin(), body.end());
}

void PutTextFrame(Bytes& out, const std::string& id, const std::string& text) {
    const bool utf16 = !IsAscii(text);
    Bytes body{static_cast<uint8_t>(utf16)};
    PutString(body, text, utf16, false);
    PutFrame(out, id.c_str(), body);
}

// COMM and USLT: language, description, text.
void PutCommentFrame(Bytes& out, const char* id, const TagComment& c) {
    const bool utf16 = !IsAscii(c.description) || !IsAscii(c.text);
    Bytes body{static_cast<uint8_t>(utf16)};
    body.insert(body.end(), c.language.begin(), c.language.end());
    PutString(body, c.description, utf16, true);
    PutString(body, c.text, utf16, false);
    PutFrame(out, id, body);
}

void PutPictureFrame(Bytes& out, const TagPicture& p) {
    const bool utf16 = !IsAscii(p.description);
    Bytes body{static_cast<uint8_t>(utf16)};
    PutString(body, IsAscii(p.mime) ? p.mime : "image/", false, true);
    body.push_back(p.type);
    PutString(body, p.description, utf16, true);
    body.insert(body.end(), p.data.begin(), p.data.end());
    PutFrame(out, "APIC", body);
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
    return DecodeLegacy(TitleFromOutputPath(outputPath), LegacyCharset::Ascii);
}

} // namespace

bool CutTagTitleFollowsName(const CarriedTags& tags) {
    return tags.Find("TIT2") == nullptr;
}

std::vector<uint8_t> BuildCutTag(const CarriedTags& tags, const CutFacts& facts, size_t totalSize) {
    Bytes frames;
    const std::string* title = tags.Find("TIT2");
    const std::string named = title ? *title : NameTitle(facts.outputPath);
    if (!named.empty()) {
        PutTextFrame(frames, "TIT2", named);
    }
    for (const TagTextFrame& t : tags.texts) {
        if (t.id == "TBPM") {
            if (const std::string bpm = ScaledTempo(t.text, facts.speed); !bpm.empty()) {
                PutTextFrame(frames, t.id, bpm);
            }
        } else if (t.id != "TIT2" && (t.id != "TKEY" || std::fabs(facts.pitch - 1.0) < 0.005)) {
            PutTextFrame(frames, t.id, t.text);
        }
    }
    PutTextFrame(frames, "TLEN", std::to_string(facts.lengthMs));
    for (const TagComment& c : tags.comments) {
        PutCommentFrame(frames, "COMM", c);
    }
    for (const TagComment& c : tags.lyrics) {
        PutCommentFrame(frames, "USLT", c);
    }
    for (const TagPicture& p : tags.pictures) {
        PutPictureFrame(frames, p);
    }
    constexpr size_t kHeader = 10;
    const size_t size = totalSize ? totalSize : kHeader + frames.size() + kCutTagPadding;
    if (kHeader + frames.size() > size || size - kHeader >= (1u << 28)) {
        return {};
    }
    const size_t payload = size - kHeader;
    Bytes tag{'I', 'D', '3', 3, 0, 0};
    for (int shift = 21; shift >= 0; shift -= 7) {
        tag.push_back(static_cast<uint8_t>(payload >> shift & 0x7F));
    }
    tag.insert(tag.end(), frames.begin(), frames.end());
    tag.resize(size, 0);
    return tag;
}
