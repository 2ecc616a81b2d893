#pragma once
// The texts in which the window shows times, lengths and factors, and the reading
// of typed seconds. Numbers are read and written with '.' as the decimal point
// whatever the user's locale, as the stored and typed texts always use it.
#include <string>

// "MM:SS" (each field two digits at least); "H:MM:SS" from one hour on; "00:00" for 0
// or less.
std::string FormatMinSec(int seconds);
// "%0.3f": 12.345 gives "12.345".
std::string FormatSeconds3(double seconds);
// "%0.2f": 0.95 gives "0.95".
std::string FormatFactor(double factor);
// "剪切长度:" + FormatMinSec(ms / 1000) + "(" + "%0.2f" of ms / 1000.0 + "秒)".
std::string FormatLengthLabel(int ms);
// The text without leading and trailing white space.
std::string GetTrimmedText(const std::string& text);

// A decimal number by atof's rules: leading white space skipped, parsing stops at the
// first character that does not fit, no number gives 0.
double TextToDouble(const std::string& text);
// Truncates toward zero into a 32-bit int; values beyond its range are clamped and NaN
// gives 0 (the plain conversion would be undefined for them).
int TruncateToInt(double value);
// Seconds text to milliseconds: TruncateToInt(TextToDouble(text) * 1000.0).
int TextToMs(const std::string& text);
// Length between two seconds texts, the difference taken before truncation:
// TruncateToInt(TextToDouble(end) * 1000.0 - TextToDouble(start) * 1000.0).
int LengthMsFromTexts(const std::string& startText, const std::string& endText);
