#include "TimeTexts.h"

#include "CNumber.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <string_view>
#include <system_error>

namespace {

// "0%d" below 10, "%d" otherwise. Appending rather than "0" + text keeps GCC 12 at -O3
// from a false -Wrestrict inside std::string's insert.
std::string TwoDigits(int value) {
    std::string text = value < 10 ? "0" : "";
    return text.append(std::to_string(value));
}

// printf's "%0.<precision>f" without the locale's decimal point (Qt sets the user's
// locale for the C library, and the cut reads these texts back with '.').
std::string FormatFixed(double value, int precision) {
    char buffer[400]; // the longest double in fixed form has 309 digits before the point
    const auto result =
        std::to_chars(buffer, buffer + sizeof(buffer), value, std::chars_format::fixed, precision);
    if (result.ec != std::errc()) {
        return {};
    }
    return std::string(buffer, result.ptr);
}

// Reads the digits at text[at...] into value (at most 10 of them); false when there are none
// or too many.
bool ReadDigits(std::string_view text, size_t& at, long long& value, size_t& count) {
    const size_t from = at;
    value = 0;
    while (at < text.size() && text[at] >= '0' && text[at] <= '9') {
        value = value * 10 + (text[at++] - '0');
        if (at - from > 10) {
            return false;
        }
    }
    count = at - from;
    return count > 0;
}

} // namespace

std::string FormatMinSec(int seconds) {
    if (seconds <= 0) {
        return "00:00";
    }
    const int hours = seconds / 3600;
    const int minutes = seconds % 3600 / 60;
    const std::string minSec = TwoDigits(minutes) + ":" + TwoDigits(seconds % 60);
    return hours > 0 ? std::to_string(hours) + ":" + minSec : minSec;
}

std::string FormatSeconds3(double seconds) {
    return FormatFixed(seconds, 3);
}

std::string FormatFactor(double factor) {
    return FormatFixed(factor, 2);
}

std::string FormatSeconds2(double seconds) {
    return FormatFixed(seconds, 2);
}

std::string FormatLengthLabel(int ms) {
    return "剪切长度:" + FormatMinSec(ms / 1000) + "(" + FormatSeconds2(ms / 1000.0) + "秒)";
}

std::string GetTrimmedText(const std::string& text) {
    const char* blanks = " \t\r\n\v\f";
    const size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

double TextToDouble(const std::string& text) {
    return AtofC(text);
}

int TruncateToInt(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    if (value >= static_cast<double>(INT_MAX)) {
        return INT_MAX;
    }
    if (value <= static_cast<double>(INT_MIN)) {
        return INT_MIN;
    }
    return static_cast<int>(value);
}

std::optional<int> ParseTimeMs(const std::string& text) {
    const std::string trimmed = GetTrimmedText(text);
    const std::string_view t(trimmed);
    size_t at = 0;
    long long seconds = 0;
    for (int field = 0; field < 3; ++field) {
        long long value = 0;
        size_t digits = 0;
        if (!ReadDigits(t, at, value, digits)) {
            return std::nullopt;
        }
        // After a colon come two digits below 60, as the window writes them.
        if (field > 0 && (digits != 2 || value >= 60)) {
            return std::nullopt;
        }
        seconds = seconds * 60 + value;
        if (at == t.size() || t[at] != ':') {
            break;
        }
        ++at;
    }
    long long ms = seconds * 1000;
    if (at < t.size() && t[at] == '.') {
        ++at;
        int scale = 100;
        const size_t from = at;
        for (; at < t.size() && t[at] >= '0' && t[at] <= '9'; ++at, scale /= 10) {
            ms += (t[at] - '0') * scale;
        }
        if (at == from) {
            return std::nullopt;
        }
    }
    if (at != t.size() || ms > INT_MAX) {
        return std::nullopt;
    }
    return static_cast<int>(ms);
}
