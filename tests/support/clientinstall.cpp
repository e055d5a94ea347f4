#include "tests/support/clientinstall.h"

#include "connection/formconnectionerror.h"
#include "data/appparam.h"
#include "data/datacollection.h"
#include "data/datamodulecust.h"
#include "data/datamodules.h"
#include "platform/clock.h"
#include "platform/modalhook.h"
#include "platform/widgets/msgbox.h"
#include "tasks/communicationscreen.h"

#include <QPushButton>
#include "tasks/datacollectionencryption.h"
#include "tasks/taskfactory.h"
#include "tests/support/qtapp.h"
#include "tests/support/testpaths.h"

#include <QTimer>

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

std::string ClientInstall::ExecuteExpectingError(int taskId)
{
    const size_t before = ModalHook::History().size();
    ModalHook::PushAnswer("error", TMsgBox::mrOk);
    std::string shown;
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        const auto& history = ModalHook::History();
        for (size_t i = before; i < history.size(); ++i) {
            if (history[i].kind == "error") {
                shown = history[i].text;
                poll.stop();
                ModalHook::PushAnswer("question", TMsgBox::mrYes);
                m_screen->BtnCancel->click();
                return;
            }
        }
    });
    poll.start();
    m_screen->Execute(taskId);
    poll.stop();
    return shown;
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
