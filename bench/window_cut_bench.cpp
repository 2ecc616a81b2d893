// window_cut_bench SONG.mp3 FOLDER: cuts the whole song as the window does, in the window
// itself (offscreen): "原曲长度", "开始剪切", and its cut follows on. Prints two times in
// seconds: until the cut's file is complete in its folder, and until the window says
// "剪切完成!" (its progress timer looks every 500 ms). Settings and output go to FOLDER.
#include "CTesmiraDlg.h"
#include "ControlIds.h"
#include "MessageBox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>

namespace {

void Click(CTesmiraDlg& dialog, int id) {
    qobject_cast<QAbstractButton*>(dialog.GetDlgItem(id))->click();
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: window_cut_bench SONG.mp3 FOLDER\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    const QString song = QString::fromLocal8Bit(argv[1]);
    const std::string folder = QDir(QString::fromLocal8Bit(argv[2])).absolutePath().toStdString();
    CTesmiraDlg dialog(SettingsEnvironment{folder + "/", folder, folder + "/config"});
    QString said;
    SetMessageBoxFunction([&](QWidget*, const QString& text, MessageBoxKind) {
        said = text;
        app.quit();
        return IDOK;
    });
    if (!dialog.Create()) {
        return 1;
    }
    dialog.OnDropFiles({song});
    Click(dialog, IDC_RADIO_WHOLE_SOURCE);
    const QDir saved(QString::fromStdString(folder + "/剪切"));
    const qsizetype before = saved.entryList(QDir::Files).size();
    QElapsedTimer clock;
    qint64 fileMs = -1;
    QTimer watch; // the cut's file gets its name only when it is complete
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (fileMs < 0 && saved.entryList(QDir::Files).size() > before) {
            fileMs = clock.elapsed();
        }
    });
    watch.start(5);
    clock.start();
    Click(dialog, IDC_BTN_START_CUT);
    app.exec();
    const qint64 saidMs = clock.elapsed();
    std::printf("%.3f %.3f\n", fileMs / 1000.0, saidMs / 1000.0);
    return said == QString::fromUtf8("剪切完成!") ? 0 : 1;
}
