#pragma once
// Where the program finds the libraries it loads at run time. A copy run from its build or
// a portable folder has them beside its executable; an installed copy (the executable in
// <prefix>/bin) has them in its private folder under <prefix>/lib.
#include <string>

// True when the private library folder lies where the installation puts it, relative to the
// executable's folder (also for a copy unpacked under another root).
bool IsInstalledCopy();

// The folder holding libencmp3.so and libPlovex1.so, always ending with '/'.
std::string GetPrivateLibraryFolder();
