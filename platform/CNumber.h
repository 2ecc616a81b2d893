#pragma once
#include <string>

// atof on text in the "C" locale, decimal numbers only: leading white space skipped, an
// optional sign, digits with an optional '.', an optional exponent; reading stops at the
// first character that does not fit and no number gives 0. '.' is the decimal point
// whatever locale the process has set (Qt sets the user's one for the C library);
// hexadecimal numbers, "inf" and "nan", which strtod would read, give 0 ("0x10" is 0).
double AtofC(const std::string& text);
