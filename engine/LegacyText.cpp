#include "LegacyText.h"

#include <array>
#include <cerrno>
#include <iconv.h>

namespace {

bool IsAscii(const std::string& bytes) {
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}

bool IsCjkIdeograph(char32_t c) {
    return (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0x3400 && c <= 0x4DBF) ||
           (c >= 0xF900 && c <= 0xFAFF) || (c >= 0x20000 && c <= 0x3134F);
}

// Line breaks and tabs belong in comments and lyrics; other controls mean a wrong reading.
bool IsControl(char32_t c) {
    return (c < 0x20 && c != '\t' && c != '\n' && c != '\r') || (c >= 0x7F && c <= 0x9F);
}

// Strict GB18030 through iconv; a cut-short field may lose its last, incomplete character.
bool DecodeGb18030(const std::string& bytes, bool cutShort, std::u32string& out) {
    iconv_t cd = iconv_open("UTF-32LE", "GB18030");
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        return false;
    }
    std::string wide(bytes.size() * 4 + 4, '\0');
    char* src = const_cast<char*>(bytes.data());
    size_t srcLeft = bytes.size();
    char* dst = wide.data();
    size_t dstLeft = wide.size();
    const size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    const bool ok = r != static_cast<size_t>(-1) || (cutShort && errno == EINVAL);
    iconv_close(cd);
    out.clear();
    for (size_t i = 0; ok && i + 4 <= wide.size() - dstLeft; i += 4) {
        const auto* u = reinterpret_cast<const unsigned char*>(wide.data() + i);
        out.push_back(static_cast<char32_t>(u[0] | u[1] << 8 | u[2] << 16 | u[3] << 24));
    }
    return ok;
}

bool NoControls(const std::u32string& text) {
    for (const char32_t c : text) {
        if (IsControl(c)) {
            return false;
        }
    }
    return true;
}

bool HasIdeograph(const std::u32string& text) {
    for (const char32_t c : text) {
        if (IsCjkIdeograph(c)) {
            return true;
        }
    }
    return false;
}

std::string Latin1ToUtf8(const std::string& bytes) {
    std::u32string text;
    for (const char c : bytes) {
        text.push_back(static_cast<unsigned char>(c));
    }
    return EncodeUtf8(text);
}

} // namespace

bool DecodeUtf8(const std::string& bytes, std::u32string& out) {
    out.clear();
    size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        const size_t length = lead < 0x80   ? 1
                              : lead < 0xC2 ? 0
                              : lead < 0xE0 ? 2
                              : lead < 0xF0 ? 3
                              : lead < 0xF5 ? 4
                                            : 0;
        if (length == 0 || i + length > bytes.size()) {
            return false;
        }
        char32_t c = length == 1 ? lead : lead & (0x7F >> length);
        for (size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            if ((next & 0xC0) != 0x80) {
                return false;
            }
            c = c << 6 | (next & 0x3F);
        }
        constexpr std::array<char32_t, 5> kSmallest{0, 0, 0x80, 0x800, 0x10000};
        if (c < kSmallest[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
            return false;
        }
        out.push_back(c);
        i += length;
    }
    return true;
}

std::string EncodeUtf8(const std::u32string& text) {
    std::string out;
    for (const char32_t c : text) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | c >> 6);
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | c >> 12);
            out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | c >> 18);
            out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
            out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

LegacyCharset ClassifyLegacy(const std::string& bytes, bool cutShort) {
    std::u32string text;
    if (IsAscii(bytes)) {
        return LegacyCharset::Ascii;
    }
    if (DecodeUtf8(bytes, text)) {
        return LegacyCharset::Utf8;
    }
    if (DecodeGb18030(bytes, cutShort, text) && HasIdeograph(text) && NoControls(text)) {
        return LegacyCharset::Gbk;
    }
    return LegacyCharset::Latin1;
}

LegacyCharset MajorityCharset(const std::vector<LegacyCharset>& classes) {
    int utf8 = 0;
    int gbk = 0;
    int latin1 = 0;
    for (const LegacyCharset c : classes) {
        utf8 += c == LegacyCharset::Utf8;
        gbk += c == LegacyCharset::Gbk;
        latin1 += c == LegacyCharset::Latin1;
    }
    if (utf8 + gbk + latin1 == 0) {
        return LegacyCharset::Ascii;
    }
    if (utf8 >= gbk && utf8 >= latin1) {
        return LegacyCharset::Utf8;
    }
    return gbk >= latin1 ? LegacyCharset::Gbk : LegacyCharset::Latin1;
}

std::string DecodeLegacy(const std::string& bytes, LegacyCharset majority, bool cutShort) {
    const LegacyCharset own = ClassifyLegacy(bytes, cutShort);
    std::u32string text;
    switch (own == LegacyCharset::Ascii ? own : majority) {
    case LegacyCharset::Ascii:
        break;
    case LegacyCharset::Utf8:
        if (own == LegacyCharset::Utf8) {
            return bytes;
        }
        break;
    case LegacyCharset::Gbk:
        // In a GBK file a name without ideographs (kana, full-width signs) is GBK too.
        if (DecodeGb18030(bytes, cutShort, text) && NoControls(text)) {
            return EncodeUtf8(text);
        }
        break;
    case LegacyCharset::Latin1:
        // Valid UTF-8 is too unlikely by chance to be read otherwise.
        if (own != LegacyCharset::Utf8) {
            return Latin1ToUtf8(bytes);
        }
        break;
    }
    if (own == LegacyCharset::Gbk) {
        DecodeGb18030(bytes, cutShort, text);
        return EncodeUtf8(text);
    }
    return own == LegacyCharset::Latin1 ? Latin1ToUtf8(bytes) : bytes;
}
