#pragma once
// The application: runs the main dialog modally; the dialog's life is the program's life.
#include <QApplication>
#include <QString>
#include <functional>

class CTesmiraDlg;

class CTesmiraApp {
public:
    CTesmiraApp(int& argc, char** argv);

    // Runs the program. An MP3 path given as the first argument is taken as if it had been
    // dropped on the window; beforeRun, when given, sees the dialog before it runs (a tool
    // uses it to take a picture). Returns false: the program ends when it returns.
    bool InitInstance(const std::function<void(CTesmiraDlg&)>& beforeRun = {});

private:
    QApplication application;
};
