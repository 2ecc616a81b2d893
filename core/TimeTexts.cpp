#include "TimeTexts.h"

#include "CNumber.h"

#include <charconv>
#include <climits>
#include <cmath>
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

std::string FormatLengthLabel(int ms) {
    return "剪切长度:" + FormatMinSec(ms / 1000) + "(" + FormatFixed(ms / 1000.0, 2) + "秒)";
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

int TextToMs(const std::string& text) {
    return TruncateToInt(TextToDouble(text) * 1000.0);
}

int LengthMsFromTexts(const std::string& startText, const std::string& endText) {
    return TruncateToInt(TextToDouble(endText) * 1000.0 - TextToDouble(startText) * 1000.0);
}
