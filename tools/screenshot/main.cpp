// tesmira-screenshot OUT.png DELAY_MS [SONG.mp3 [START END]]: runs the window as tesmira does
// (the song opened as if dropped on it, the range typed in with fades ticked), saves a picture
// of it after DELAY_MS and ends.
#include "CTesmiraApp.h"
#include "CTesmiraDlg.h"
#include "ControlIds.h"
#include "ScreenshotRequest.h"

#include <QAbstractButton>
#include <QString>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <vector>

int main(int argc, char** argv) {
    char* end = nullptr;
    const long delayMs = argc >= 3 ? std::strtol(argv[2], &end, 10) : -1;
    if (argc < 3 || argc == 5 || argc > 6 || *end != '\0' || delayMs < 0 || delayMs > 600000) {
        std::fprintf(stderr, "usage: tesmira-screenshot OUT.png DELAY_MS [SONG.mp3 [START END]]\n");
        return 2;
    }
    const QString output = QString::fromLocal8Bit(argv[1]);
    // The program sees its usual command line: the song, if any, as its first argument.
    std::vector<char*> programArguments{argv[0]};
    if (argc >= 4) {
        programArguments.push_back(argv[3]);
    }
    programArguments.push_back(nullptr);
    int programArgc = static_cast<int>(programArguments.size()) - 1;

    CTesmiraApp theApp(programArgc, programArguments.data());
    theApp.InitInstance([&](CTesmiraDlg& dialog) {
        // A marked range with both fades, typed as a user would, once the song is open.
        if (argc == 6) {
            const QString start = QString::fromLocal8Bit(argv[4]);
            const QString finish = QString::fromLocal8Bit(argv[5]);
            QTimer::singleShot(0, &dialog, [&dialog, start, finish] {
                dialog.SetDlgItemText(IDC_EDIT_START, start);
                dialog.SetDlgItemText(IDC_EDIT_END, finish);
                dialog.SetDlgItemText(IDC_EDIT_FADE_IN, QStringLiteral("3"));
                dialog.SetDlgItemText(IDC_EDIT_FADE_OUT, QStringLiteral("3"));
                for (int box : {IDC_CHECK_FADE_IN, IDC_CHECK_FADE_OUT}) {
                    static_cast<QAbstractButton*>(dialog.GetDlgItem(box))->click();
                }
            });
        }
        ScheduleScreenshot(&dialog, output, static_cast<int>(delayMs));
    });
    return 0;
}
