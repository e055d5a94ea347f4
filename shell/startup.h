#pragma once

#include <QStringList>
#include <functional>
#include <memory>
#include <string>

class QLockFile;

namespace riz {

// Whether the program was started with the word "popup" (any case) among its arguments;
// the program path is compared too.
bool HasPopupArgument(const QStringList& arguments);

// One running program per program folder: a lock file beside the INI file. A lock left by a
// program that died is taken over; one held by a running program is not.
class TSingleInstance final
{
public:
    explicit TSingleInstance(const std::string& programDir);
    ~TSingleInstance();
    TSingleInstance(const TSingleInstance&) = delete;
    TSingleInstance& operator=(const TSingleInstance&) = delete;

    // True when this program now holds the lock (or held it already).
    bool TryLock();
    bool Locked() const { return m_locked; }
    static std::string LockFileName(const std::string& programDir);

private:
    std::unique_ptr<QLockFile> m_lock;
    bool m_locked = false;
};

// The steps of the start-up timer, in their order. Each step is a hook the main window binds;
// the sequence keeps the order and the checks of "terminating" between the steps.
class TStartupSequence final
{
public:
    std::function<bool()> IsOnlyInstance;  // false: another program runs
    std::function<void()> SetReadyCaption; // window caption := the program name
    std::function<void()> OpenTables;
    std::function<void()> LoginAtStart; // may set terminating
    std::function<void()> UpdateAutoStartMenuItem;
    std::function<void()> ShowTrayIcon;
    std::function<void()> NavigateHomePage;
    std::function<void()> ShowMainWindow;
    std::function<void()> CheckForUpdate; // the offer at start
    std::function<void()> Terminate;      // ends the program's event loop

    bool Terminating = false;
    bool NewUserRegistered = false;
    bool Popup = false;

    void Run();
};

} // namespace riz
