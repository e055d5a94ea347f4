#pragma once

#include <QApplication>

namespace riz::test {

// The one QApplication of a test program that shows widgets (offscreen).
inline QApplication& EnsureApp()
{
    static int argc = 1;
    static char name[] = "riz-test";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QApplication(argc, argv);
    }();
    return *app;
}

} // namespace riz::test
