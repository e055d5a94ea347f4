#include "shell/updateoffer.h"

#include "platform/clock.h"
#include "platform/text.h"
#include "platform/widgets/msgbox.h"
#include "shell/formnewversion.h"
#include "shell/version.h"

#include <QFileInfo>
#include <QProcess>

namespace riz {

namespace {
constexpr int kTaskGetLatestVersion = 50435;
constexpr int kResultLoginInvalid = 11;
} // namespace

TUpdateOffer::TUpdateOffer(IUpdateParams& params, std::string ownVersion, std::string programDir)
    : m_params(params), m_ownVersion(std::move(ownVersion)), m_programDir(std::move(programDir))
{
    AskUser = [](const std::string& own, const std::string& latest) {
        return TFormNewVersion::Ask(own, latest);
    };
    StartUpdater = &StartUpdateProgram;
}

TUpdateOffer::Outcome TUpdateOffer::CheckForUpdate(int mode)
{
    if (mode == umManual) {
        int result = 0;
        if (!RunTask || RunTask(kTaskGetLatestVersion, result) != 1)
            return uoCancelled;
        if (result == kResultLoginInvalid) {
            MsgBox().Error(10609);
            return uoCancelled;
        }
        if (result != 0) {
            MsgBox().Error(10901);
            return uoCancelled;
        }
    }
    if (mode == umAfterAction && !(Clock::Now() > m_params.LastAskedForUpdate() + 1.0))
        return uoNotDue;
    if ((mode == umAfterAction || mode == umStart) && m_params.DontAskForUpdates())
        return uoNotDue;

    const std::string latest = m_params.LatestVersion();
    if (!IsNewerVersion(latest, m_ownVersion)) {
        if (mode == umManual)
            MsgBox().Info(30841);
        return uoNoUpdate;
    }
    const TNewVersionAnswer answer = AskUser(m_ownVersion, latest);
    Outcome outcome = uoDeclined;
    if (answer.Update) {
        outcome = uoUpdateStarted;
        if (!StartUpdater(m_programDir)) {
            MsgBox().Error(10101);
            outcome = uoUpdateFailed;
        }
    } else {
        m_params.SetDontAskForUpdates(answer.DontAsk);
    }
    m_params.SetLastAskedForUpdate(Clock::Now());
    return outcome;
}

std::string UpdateProgramPath(const std::string& programDir)
{
    return programDir + "/WiseUpdt.exe";
}

bool StartUpdateProgram(const std::string& programDir)
{
    const QString path = ToQString(UpdateProgramPath(programDir));
    const QFileInfo info(path);
    if (!info.isFile() || !info.isExecutable())
        return false;
    return QProcess::startDetached(path, {}, ToQString(programDir));
}

} // namespace riz
