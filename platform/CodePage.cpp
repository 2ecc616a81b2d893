#include "CodePage.h"

#include <cerrno>
#include <iconv.h>

namespace {

// Converts with iconv, replacing what cannot be converted and skipping one input byte.
std::string Convert(const std::string& in, const char* to, const char* from,
                    const std::string& replacement) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        return in;
    }
    std::string out;
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    char chunk[256];
    while (srcLeft > 0) {
        char* dst = chunk;
        size_t dstLeft = sizeof(chunk);
        const size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        out.append(chunk, sizeof(chunk) - dstLeft);
        if (r == static_cast<size_t>(-1) && errno != E2BIG) {
            // EILSEQ or EINVAL: replace and move past the offending byte (or UTF-8 sequence).
            out += replacement;
            size_t skip = 1;
            if (std::string(from) == "UTF-8") {
                while (skip < srcLeft && (static_cast<unsigned char>(src[skip]) & 0xC0) == 0x80) {
                    ++skip;
                }
            }
            src += skip;
            srcLeft -= skip;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    iconv_close(cd);
    return out;
}

} // namespace

std::string Utf8ToGbk(const std::string& utf8) {
    return Convert(utf8, "GBK", "UTF-8", "?");
}

std::string GbkToUtf8(const std::string& gbk) {
    return Convert(gbk, "UTF-8", "GBK", "\xEF\xBF\xBD");
}

bool IsValidUtf8(const std::string& text) {
    size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        size_t len = c < 0x80           ? 1
                     : (c >> 5) == 0x6  ? 2
                     : (c >> 4) == 0xE  ? 3
                     : (c >> 3) == 0x1E ? 4
                                        : 0;
        if (len == 0 || i + len > text.size()) {
            return false;
        }
        for (size_t k = 1; k < len; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) {
                return false;
            }
        }
        i += len;
    }
    return true;
}
