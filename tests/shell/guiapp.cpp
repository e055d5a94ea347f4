#include "tests/shell/guiapp.h"

#include <QApplication>
#include <gtest/gtest.h>

#ifdef RIZ_TEST_WITH_RIZ_APPLICATION
#include "shell/appexception.h"
using TestApplication = riz::TRizApplication;
#else
using TestApplication = QApplication;
#endif

namespace riz::test {

QApplication* GuiApp()
{
    static int argc = 1;
    static char name[] = "riz-shell-test";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        auto* a = new TestApplication(argc, argv);
        a->setQuitOnLastWindowClosed(false);
        return a;
    }();
    return app;
}

} // namespace riz::test

namespace {
// Widgets that are members of a fixture exist before SetUp runs; the application object
// is made before any test starts.
class GuiAppEnvironment final : public ::testing::Environment
{
public:
    void SetUp() override { riz::test::GuiApp(); }
};
[[maybe_unused]] ::testing::Environment* const g_env =
    ::testing::AddGlobalTestEnvironment(new GuiAppEnvironment);
} // namespace
