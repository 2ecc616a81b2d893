#include "CTesmiraApp.h"
#include "LicenceNotice.h"
#include "StandardStreams.h"

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    OpenMissingStandardStreams();
    // Answered before Qt starts, so it needs no display.
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("tesmira %s\n%s", TESMIRA_VERSION, kLicenceNotice);
        return 0;
    }
    CTesmiraApp theApp(argc, argv);
    theApp.InitInstance();
    return 0;
}
