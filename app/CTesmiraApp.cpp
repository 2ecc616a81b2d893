#include "CTesmiraApp.h"

#include "CTesmiraDlg.h"
#include "QtTranslations.h"

#include <QFileInfo>
#include <QTimer>

CTesmiraApp::CTesmiraApp(int& argc, char** argv) : application(argc, argv) {
    // Without the translations Qt's buttons stay English; the program runs all the same.
    InstallChineseQtTranslations();
}

bool CTesmiraApp::InitInstance(const std::function<void(CTesmiraDlg&)>& beforeRun) {
    CTesmiraDlg dialog;
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() > 1) {
        // A dropped file always comes with its full path.
        const QString path = QFileInfo(arguments.at(1)).absoluteFilePath();
        QTimer::singleShot(0, &dialog, [&dialog, path] { dialog.OnDropFiles({path}); });
    }
    if (beforeRun) {
        beforeRun(dialog);
    }
    dialog.DoModal();
    return false;
}
