#include "CTesmiraApp.h"

int main(int argc, char** argv) {
    CTesmiraApp theApp(argc, argv);
    theApp.InitInstance();
    return 0;
}
