#include "data/datacollection.h"
#include "data/datamodules.h"
#include "platform/text.h"
#include "shell/appexception.h"
#include "shell/controls/formimages.h"
#include "shell/formrizavivaze.h"
#include "shell/programparts.h"
#include "shell/screenshot.h"
#include "tasks/communicationscreen.h"
#include "tasks/taskfactory.h"

#include <QMessageBox>
#include <QtWebEngineCore/qtwebenginecoreglobal.h>
#include <exception>
#include <unistd.h>

namespace {

// Qt WebEngine's sandbox does not run for root; the pages are the service's own.
void AllowWebEngineAsRoot()
{
    if (geteuid() != 0)
        return;
    QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    if (!flags.contains("--no-sandbox")) {
        flags += " --no-sandbox";
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags.trimmed());
    }
}

} // namespace

int main(int argc, char** argv)
{
    AllowWebEngineAsRoot();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts); // for Qt WebEngine
    riz::TRizApplication app(argc, argv);
    try {
        app.setApplicationName(QStringLiteral("Parvion RIZ Avivaze"));
        app.setQuitOnLastWindowClosed(false); // a tray program runs on without windows
        // The pictures come first: the tray icon copies the application's icon when it is
        // made, and the main window's tabs carry their icons.
        riz::TFormImages images;
        riz::SetFormImages(&images);
        app.setWindowIcon(images.AppIcon);

        // The runner knows every server task before the first one can be asked for.
        riz::RegisterAllTasks();
        riz::TFormRIZAvivaze form(app.arguments());
        riz::CreateDataModules(*riz::DataCollection);
        riz::InstallProgramParts(form);
        auto* communication = new riz::TCommunicationScreen(&form);
        riz::SetCommunicationScreen(communication);
        riz::ArmScreenshots(form);

        const int rc = app.exec();

        riz::SetCommunicationScreen(nullptr);
        riz::RemoveProgramParts();
        riz::DestroyDataModules();
        riz::SetFormImages(nullptr);
        return rc;
    } catch (const std::exception& e) {
        QMessageBox::critical(nullptr, QStringLiteral("Parvion RIZ Avivaze"),
                              riz::ToQString(e.what()));
        return 1;
    }
}
