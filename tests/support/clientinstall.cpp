#include "tests/support/clientinstall.h"

#include "connection/formconnectionerror.h"
#include "data/appparam.h"
#include "data/datacollection.h"
#include "data/datamodulecust.h"
#include "data/datamodules.h"
#include "platform/clock.h"
#include "tasks/communicationscreen.h"
#include "tasks/datacollectionencryption.h"
#include "tasks/taskfactory.h"
#include "tests/support/qtapp.h"
#include "tests/support/testpaths.h"

namespace riz::test {

ClientInstall::ClientInstall(const std::string& host, int port)
{
    EnsureApp();
    m_programDir = TempDir("riz-client");
    m_collection = std::make_unique<TDataCollection>(m_programDir);
    DataCollection = m_collection.get();
    AppParam = new TAppParam(m_programDir);
    AppParam->ServerNames.SetServerList(host + "*;");
    AppParam->SetHttpPort(port);
    AppParam->Save();
    m_encryption =
        std::make_unique<TDataCollectionEncryption>(static_cast<std::uint32_t>(Clock::UnixTime()));
    DataCollectionEncryption = m_encryption.get();
    AppParam->bOneUserProfileFinished = true;
    CreateDataModules(*m_collection);
    OpenAllTables();
    m_context.ConnectionErrorDialog = [](const std::string& text) {
        return TFormConnectionError::ShowFor(text);
    };
    // Failures should not wait for the real time-outs.
    m_context.AnswerTimeoutMs = 5000;
    m_context.ConnectTimeoutMs = 2000;
    m_context.RestartDelayMs = 20;
    SetTaskContext(&m_context);
    RegisterAllTasks();
    m_screen = std::make_unique<TCommunicationScreen>();
}

ClientInstall::~ClientInstall()
{
    m_screen.reset();
    SetTaskContext(nullptr);
    DestroyDataModules();
    delete AppParam;
    AppParam = nullptr;
    DataCollectionEncryption = nullptr;
    DataCollection = nullptr;
}

void ClientInstall::AddProfile(const std::string& email, const std::string& password,
                               int customerId)
{
    TClientDataSet& c = DataModuleCust->CDSCustomer;
    c.Append();
    c.FieldByName("CUSTOMER_ID").SetAsInteger(customerId);
    c.FieldByName("EMAIL_ADDRESS").SetAsString(email);
    c.FieldByName("PASSWORD").SetAsString(password);
    c.Post();
    DataModuleCust->CommitCustomerTables();
    DataModuleCust->LoginCustomer(email);
}

int ClientInstall::Execute(int taskId)
{
    return m_screen->Execute(taskId);
}

int ClientInstall::ResultCode() const
{
    return m_screen->ResultCode;
}

void ClientInstall::Reopen()
{
    const std::string email = DataModuleCust->LoggedInEmail;
    DestroyDataModules();
    CreateDataModules(*m_collection);
    OpenAllTables();
    if (!email.empty())
        DataModuleCust->LoginCustomer(email);
}

} // namespace riz::test
