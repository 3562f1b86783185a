// Runs every test with one application object on the main thread, headless.
#include "DialogTemplate.h"
#include "SanitizerDefaults.h"

#include <QApplication>
#include <clocale>
#include <cstdlib>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    // Tests read the compiled-in resources directly too, not only through the window system.
    kavrino::RegisterResources();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
