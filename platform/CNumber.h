#pragma once
#include <string>

// atof on text in the "C" locale: '.' is the decimal point whatever locale the
// process has set (Qt sets the user's one for the C library).
double AtofC(const std::string& text);
