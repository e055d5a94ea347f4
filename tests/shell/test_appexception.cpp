#include "platform/modalhook.h"
#include "shell/appexception.h"
#include "tests/shell/guiapp.h"

#include <QCoreApplication>
#include <QTimer>
#include <gtest/gtest.h>
#include <stdexcept>

namespace riz {
namespace {

struct FilterCase
{
    const char* message;
    bool ignored;
};

class AppExceptionFilter : public ::testing::TestWithParam<FilterCase>
{
protected:
    void SetUp() override
    {
        ModalHook::Clear();
        ModalHook::ClearHistory();
        SetAppTerminateHandler([this] { ++terminated; });
    }
    void TearDown() override { SetAppTerminateHandler({}); }

    int terminated = 0;
};

// The exception leaves a timer's handler inside the event loop, as a transport error would.
TEST_P(AppExceptionFilter, IgnoresOnlyTheListedSocketErrors)
{
    const FilterCase& c = GetParam();
    if (!c.ignored)
        ModalHook::PushAnswer("app-error", 1);
    QTimer::singleShot(0, [&] { throw std::runtime_error(c.message); });
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();

    if (c.ignored) {
        EXPECT_EQ(terminated, 0);
        EXPECT_TRUE(ModalHook::History().empty());
    } else {
        EXPECT_EQ(terminated, 1);
        ASSERT_EQ(ModalHook::History().size(), 1u);
        EXPECT_EQ(ModalHook::History()[0].kind, "app-error");
        EXPECT_EQ(ModalHook::History()[0].text,
                  std::string("An application error occured.\n\nMessage: ") + c.message);
    }
    EXPECT_FALSE(ModalHook::HasPending());
}

INSTANTIATE_TEST_SUITE_P(
    Messages, AppExceptionFilter,
    ::testing::Values(FilterCase{"Windows socket error: Verbindung getrennt (10054)", true},
                      FilterCase{"Host Lookup Canceled", true},
                      FilterCase{"Null Remote Address", true},
                      FilterCase{"Asynchronous socket error 10061", true},
                      FilterCase{"Fehler: Asynchronous socket error 10053", true},
                      FilterCase{"Socket: Windows socket error 10060", false},
                      FilterCase{"windows socket error 10060", false},
                      FilterCase{"Lookup: Host Lookup Canceled", false},
                      FilterCase{"Access violation at address 0040A1F2", false}));

TEST(AppException, TextOfTheBox)
{
    EXPECT_EQ(ApplicationErrorText("Division durch Null"),
              "An application error occured.\n\nMessage: Division durch Null");
}

} // namespace
} // namespace riz
