#pragma once

#include <QApplication>
#include <exception>
#include <functional>
#include <string>

namespace riz {

// Socket errors the transport raises when a connection is torn down or abandoned; they carry
// no news for the user and are dropped.
bool IsIgnoredApplicationError(const std::string& message);
// The text of the application error box.
std::string ApplicationErrorText(const std::string& message);

// The application-wide handler: drops the ignored errors; any other shows the application
// error box and ends the program through the terminate handler.
void AppException(const std::exception& e);
// What ending the program means (the main window sets terminating and quits the loop).
void SetAppTerminateHandler(std::function<void()> handler);

// The application object: an exception escaping an event handler ends in AppException
// instead of unwinding through the event loop.
class TRizApplication final : public QApplication
{
    Q_OBJECT

public:
    TRizApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace riz
