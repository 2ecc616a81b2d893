#include "CTesmiraApp.h"
#include "StandardStreams.h"

int main(int argc, char** argv) {
    OpenMissingStandardStreams();
    CTesmiraApp theApp(argc, argv);
    theApp.InitInstance();
    return 0;
}
