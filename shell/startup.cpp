#include "shell/startup.h"

#include "platform/text.h"
#include "platform/trace.h"

#include <QLockFile>

namespace riz {

bool HasPopupArgument(const QStringList& arguments)
{
    for (const QString& a : arguments) {
        if (a.compare(QLatin1String("popup"), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

TSingleInstance::TSingleInstance(const std::string& programDir)
    : m_lock(std::make_unique<QLockFile>(ToQString(LockFileName(programDir))))
{
    // A running program keeps its lock however long it runs; only a lock whose owner is gone
    // counts as stale.
    m_lock->setStaleLockTime(0);
}

TSingleInstance::~TSingleInstance() = default;

std::string TSingleInstance::LockFileName(const std::string& programDir)
{
    return programDir + "/RIZAvivaze.lock";
}

bool TSingleInstance::TryLock()
{
    if (m_locked)
        return true;
    m_locked = m_lock->tryLock(0);
    if (!m_locked && m_lock->error() != QLockFile::LockFailedError) {
        // The folder does not allow a lock file; nothing shows another program, so this one
        // runs (it could not keep its tables either, and will say so when it writes them).
        Trace("single instance: no lock file possible in the program folder");
        return true;
    }
    return m_locked;
}

void TStartupSequence::Run()
{
    auto call = [](const std::function<void()>& step) {
        if (step)
            step();
    };
    if (IsOnlyInstance && !IsOnlyInstance()) {
        Terminating = true;
        call(Terminate);
        return;
    }
    call(SetReadyCaption);
    call(OpenTables);
    call(LoginAtStart);
    if (Terminating)
        return;
    call(UpdateAutoStartMenuItem);
    if (Terminating)
        return;
    call(ShowTrayIcon);
    if (Terminating)
        return;
    call(NavigateHomePage);
    if (NewUserRegistered || Popup)
        call(ShowMainWindow);
    call(CheckForUpdate);
}

} // namespace riz
