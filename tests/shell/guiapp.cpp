#include "tests/shell/guiapp.h"

#include <QApplication>
#include <gtest/gtest.h>

namespace riz::test {

QApplication* GuiApp()
{
    static int argc = 1;
    static char name[] = "riz-shell-test";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        auto* a = new QApplication(argc, argv);
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
