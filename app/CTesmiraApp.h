#pragma once
// The application: runs the main dialog modally; the dialog's life is the program's life.
#include <QApplication>
#include <QString>

class CTesmiraApp {
public:
    CTesmiraApp(int& argc, char** argv);

    // Runs the program. An MP3 path given as the first argument is taken as if it had been
    // dropped on the window. Returns false: the program ends when it returns.
    bool InitInstance();

private:
    QApplication application;
};
