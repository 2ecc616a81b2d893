#include "CNumber.h"

#include <cstdlib>
#include <locale.h>

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsBlank(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// Length of the decimal number at the start of text ([+-] digits [. digits] [e [+-] digits]),
// 0 when there is none: hexadecimal, "inf" and "nan" are not read.
size_t DecimalPrefix(const std::string& text, size_t i) {
    const size_t start = i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        ++i;
    }
    size_t digits = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        ++digits;
    }
    if (i < text.size() && text[i] == '.') {
        for (++i; i < text.size() && IsDigit(text[i]); ++i) {
            ++digits;
        }
    }
    if (digits == 0) {
        return 0;
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
            ++j;
        }
        if (j < text.size() && IsDigit(text[j])) {
            for (i = j; i < text.size() && IsDigit(text[i]); ++i) {
            }
        }
    }
    return i - start;
}

} // namespace

double AtofC(const std::string& text) {
    size_t first = 0;
    while (first < text.size() && IsBlank(text[first])) {
        ++first;
    }
    const size_t length = DecimalPrefix(text, first);
    if (length == 0) {
        return 0.0;
    }
    const std::string number = text.substr(first, length);
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    if (cLocale == static_cast<locale_t>(0)) {
        return std::atof(number.c_str());
    }
    return strtod_l(number.c_str(), nullptr, cLocale);
}
