#pragma once

#include "platform/datetime.h"

#include <functional>
#include <string>

namespace riz {

// The update bookkeeping the offer reads and writes (kept in the INI file's update section).
class IUpdateParams
{
public:
    virtual ~IUpdateParams() = default;
    virtual std::string LatestVersion() const = 0;
    virtual bool DontAskForUpdates() const = 0;
    virtual TDateTime LastAskedForUpdate() const = 0;
    virtual void SetDontAskForUpdates(bool value) = 0;
    virtual void SetLastAskedForUpdate(TDateTime value) = 0;
};

// The user's answer to the new-version dialog.
struct TNewVersionAnswer
{
    bool Update = false;  // "Ja"
    bool DontAsk = false; // "Nicht mehr fragen*" checked
};

// The update offer. Mode 0: asked for from the tray menu (asks the service first);
// mode 1: after a user action, at most once a day; mode 2: at start.
class TUpdateOffer final
{
public:
    enum Mode
    {
        umManual = 0,
        umAfterAction = 1,
        umStart = 2
    };
    enum Outcome
    {
        uoCancelled, // the version request was cancelled or failed
        uoNotDue,    // mode 1 within a day of the last offer, or offers switched off
        uoNoUpdate,  // the own version is the newest
        uoUpdateStarted,
        uoUpdateFailed, // "Ja", but the update program could not be started
        uoDeclined,
    };

    TUpdateOffer(IUpdateParams& params, std::string ownVersion, std::string programDir);

    // Runs the version request (task 50435): 1 completed with the result code, 2 cancelled.
    std::function<int(int taskId, int& resultCode)> RunTask;
    // Shows the new-version dialog; by default TFormNewVersion.
    std::function<TNewVersionAnswer(const std::string& own, const std::string& latest)> AskUser;
    // Starts the update program; by default StartUpdateProgram.
    std::function<bool(const std::string& programDir)> StartUpdater;

    Outcome CheckForUpdate(int mode);

private:
    IUpdateParams& m_params;
    std::string m_ownVersion;
    std::string m_programDir;
};

// The update program's path in the program folder.
std::string UpdateProgramPath(const std::string& programDir);
// Starts the update program without arguments and without waiting; false when it is missing,
// not executable or does not start.
bool StartUpdateProgram(const std::string& programDir);

} // namespace riz
