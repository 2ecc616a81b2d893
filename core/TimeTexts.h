#pragma once
// The texts in which the window shows times, lengths and factors, and the reading
// of typed seconds. Numbers are read and written with '.' as the decimal point
// whatever the user's locale, as the stored and typed texts always use it.
#include <optional>
#include <string>

// "MM:SS" (each field two digits at least); "H:MM:SS" from one hour on; "00:00" for 0
// or less.
std::string FormatMinSec(int seconds);
// "%0.3f": 12.345 gives "12.345".
std::string FormatSeconds3(double seconds);
// "%0.2f": 0.95 gives "0.95".
std::string FormatFactor(double factor);
// "%0.2f" of seconds: 5 gives "5.00".
std::string FormatSeconds2(double seconds);
// "剪切长度:" + FormatMinSec(ms / 1000) + "(" + "%0.2f" of ms / 1000.0 + "秒)".
std::string FormatLengthLabel(int ms);
// The text without leading and trailing white space.
std::string GetTrimmedText(const std::string& text);

// A decimal number by atof's rules: leading white space skipped, parsing stops at the
// first character that does not fit, no number gives 0. For the factor texts.
double TextToDouble(const std::string& text);
// Truncates toward zero into a 32-bit int; values beyond its range are clamped and NaN
// gives 0 (the plain conversion would be undefined for them).
int TruncateToInt(double value);

// A time as the window shows it and people type it: seconds ("90", "90.5"), minutes and
// seconds ("1:30", "1:30.25") or hours, minutes and seconds ("1:02:03"), white space around
// it allowed. The decimal point is '.' in every locale; digits past the millisecond are
// dropped. Nothing for any other text ("abc", "1:75", "1:5", "1:30x", "-3", "1e3") or a time
// past 2147483.647 s (a 32-bit int of ms), so a mistyped time is never taken as another one.
std::optional<int> ParseTimeMs(const std::string& text);
