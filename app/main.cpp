// The program's entry point: the Qt application, then the framework's start-up for theApp.

#include "CKavrinoApp.h"

#include <QApplication>
#include <clocale>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // Numbers in files and texts are read and written with a decimal point whatever the desktop's locale.
    std::setlocale(LC_NUMERIC, "C");
    // Naming the application object here also links it in from the library that holds it.
    if (AfxGetApp() != &theApp)
        return -1;
    return kavrino::RunApplication();
}
