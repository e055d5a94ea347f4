#pragma once

#include "tasks/apptaskcontext.h"

#include <memory>
#include <string>

namespace riz {
class TCommunicationScreen;
class TDataCollection;
class TDataCollectionEncryption;
} // namespace riz

namespace riz::test {

// A client installation in a temporary program folder, set up as the program does at start:
// DataCollection, AppParam, the encryption holder, the four data modules with their tables
// open, the task context and every task class. The service's address goes into AppParam.
class ClientInstall final
{
public:
    ClientInstall(const std::string& host, int port);
    ~ClientInstall();

    // Adds a profile row and logs it in, as a completed registration leaves it.
    void AddProfile(const std::string& email, const std::string& password, int customerId);
    // Runs a task through the runner; the runner's return value (1 done, 2 cancelled).
    int Execute(int taskId);
    int ResultCode() const;
    // Runs a task whose storing is expected to fail: answers the error box that reports the
    // failure, then cancels the runner (which waits for the user after such an error) and
    // confirms the cancel question. Returns the error text shown, empty when none was.
    std::string ExecuteExpectingError(int taskId);
    TCommunicationScreen& Screen() { return *m_screen; }

    // Closes the tables and opens them again from their files.
    void Reopen();

    const std::string& ProgramDir() const { return m_programDir; }
    TAppTaskContext& Context() { return m_context; }

private:
    std::string m_programDir;
    std::unique_ptr<TDataCollection> m_collection;
    std::unique_ptr<TDataCollectionEncryption> m_encryption;
    TAppTaskContext m_context;
    std::unique_ptr<TCommunicationScreen> m_screen;
};

} // namespace riz::test
