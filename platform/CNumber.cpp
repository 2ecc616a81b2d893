#include "CNumber.h"

#include <cstdlib>
#include <locale.h>

double AtofC(const std::string& text) {
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    if (cLocale == static_cast<locale_t>(0)) {
        return std::atof(text.c_str());
    }
    return strtod_l(text.c_str(), nullptr, cLocale);
}
