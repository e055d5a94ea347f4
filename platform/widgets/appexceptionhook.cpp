#include "platform/widgets/appexceptionhook.h"

#include "platform/trace.h"
#include "platform/widgets/msgbox.h"

namespace riz {
namespace {
ApplicationExceptionHandler& Handler()
{
    static ApplicationExceptionHandler handler;
    return handler;
}
} // namespace

void SetApplicationExceptionHandler(ApplicationExceptionHandler handler)
{
    Handler() = std::move(handler);
}

void ReportApplicationException(const std::exception& e)
{
    if (Handler()) {
        Handler()(e);
        return;
    }
    Trace(std::string("unhandled exception: ") + e.what());
    MsgBox().Error(std::string(e.what()));
}

} // namespace riz
