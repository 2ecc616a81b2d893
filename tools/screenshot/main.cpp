// tesmira-screenshot OUT.png DELAY_MS [SONG.mp3]: runs the window as tesmira does (the song
// opened as if dropped on it), saves a picture of it after DELAY_MS and ends.
#include "CTesmiraApp.h"
#include "CTesmiraDlg.h"
#include "ScreenshotRequest.h"

#include <QString>
#include <cstdio>
#include <cstdlib>
#include <vector>

int main(int argc, char** argv) {
    char* end = nullptr;
    const long delayMs = argc >= 3 ? std::strtol(argv[2], &end, 10) : -1;
    if (argc < 3 || argc > 4 || *end != '\0' || delayMs < 0 || delayMs > 600000) {
        std::fprintf(stderr, "usage: tesmira-screenshot OUT.png DELAY_MS [SONG.mp3]\n");
        return 2;
    }
    const QString output = QString::fromLocal8Bit(argv[1]);
    // The program sees its usual command line: the song, if any, as its first argument.
    std::vector<char*> programArguments{argv[0]};
    if (argc == 4) {
        programArguments.push_back(argv[3]);
    }
    programArguments.push_back(nullptr);
    int programArgc = static_cast<int>(programArguments.size()) - 1;

    CTesmiraApp theApp(programArgc, programArguments.data());
    theApp.InitInstance([&](CTesmiraDlg& dialog) {
        ScheduleScreenshot(&dialog, output, static_cast<int>(delayMs));
    });
    return 0;
}
