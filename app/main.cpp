// The program's entry point: the Qt application, then the framework's start-up for theApp.

#include "Platform.h"

#include <QApplication>
#include <clocale>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // Numbers in files and texts are read and written with a decimal point whatever the desktop's locale.
    std::setlocale(LC_NUMERIC, "C");
    return kavrino::RunApplication();
}
