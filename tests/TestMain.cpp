// Runs every test with one application object on the main thread, headless.
#include "DialogTemplate.h"

#include <QApplication>
#include <clocale>
#include <cstdlib>
#include <gtest/gtest.h>

// Allocations the libraries keep for the life of the process are not leaks of ours. Built into the test
// programs, so a sanitizer build reports only our own leaks however its tests are started.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig\n"
           "leak:libQt5Core\n"
           "leak:libQt5Gui\n"
           "leak:libQt5Widgets\n"
           "leak:libdbus\n"
           "leak:libglib\n"
           "leak:libgobject\n"
           "leak:libgtk\n";
}

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    // Tests read the compiled-in resources directly too, not only through the window system.
    kavrino::RegisterResources();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
