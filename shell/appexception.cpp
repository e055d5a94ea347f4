#include "shell/appexception.h"

#include "platform/modalhook.h"
#include "platform/text.h"
#include "platform/trace.h"
#include "platform/widgets/appexceptionhook.h"

#include <QMessageBox>
#include <stdexcept>

namespace riz {
namespace {

std::function<void()>& TerminateHandler()
{
    static std::function<void()> handler;
    return handler;
}

bool StartsWith(const std::string& s, const char* prefix)
{
    return s.rfind(prefix, 0) == 0;
}

} // namespace

bool IsIgnoredApplicationError(const std::string& message)
{
    return StartsWith(message, "Host Lookup Canceled") ||
           StartsWith(message, "Null Remote Address") ||
           message.find("Asynchronous socket error") != std::string::npos ||
           StartsWith(message, "Windows socket error");
}

std::string ApplicationErrorText(const std::string& message)
{
    return "An application error occured.\n\nMessage: " + message;
}

void SetAppTerminateHandler(std::function<void()> handler)
{
    TerminateHandler() = std::move(handler);
}

void AppException(const std::exception& e)
{
    const std::string message = e.what();
    if (IsIgnoredApplicationError(message)) {
        Trace("ignored: " + message);
        return;
    }
    const std::string text = ApplicationErrorText(message);
    Trace(text);
    ModalHook::Note("app-error", text);
    int answer = 0;
    if (!ModalHook::TakeAnswer("app-error", answer)) {
        if (ModalHook::Unattended()) {
            ModalHook::ReportUnexpected({"app-error", text});
        } else {
            QMessageBox box(QMessageBox::Critical, QStringLiteral("Application error"),
                            ToQString(text), QMessageBox::Ok);
            box.exec();
        }
    }
    if (TerminateHandler())
        TerminateHandler()();
    else
        QCoreApplication::exit(1);
}

TRizApplication::TRizApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    SetApplicationExceptionHandler([](const std::exception& e) { AppException(e); });
}

bool TRizApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        AppException(e);
    } catch (...) {
        AppException(std::runtime_error("unknown exception"));
    }
    return false;
}

} // namespace riz
