#include "shell/programparts.h"

#include "account/login.h"
#include "connection/formconnectionerror.h"
#include "data/datamodulecust.h"
#include "platform/clock.h"
#include "shell/appexception.h"
#include "shell/controls/orvotrayicon.h"
#include "shell/formrizavivaze.h"
#include "tasks/apptaskcontext.h"
#include "tasks/datacollectionencryption.h"

#include <QAction>
#include <QCoreApplication>

#include <memory>

namespace riz {
namespace {

std::unique_ptr<TAppTaskContext> g_context;
std::unique_ptr<TDataCollectionEncryption> g_encryption;

// The login's view of the main window and its tray menu.
class TMainWindowLoginHost final : public TLoginHost
{
public:
    explicit TMainWindowLoginHost(TFormRIZAvivaze& form) : m_form(form) {}

    void SetTerminating() override
    {
        m_form.SetTerminating();
        // Cancelling the profile choice or the password ends the program without a message.
        QCoreApplication::exit(0);
    }
    void SetNewUserRegistered(bool value) override { m_form.SetNewUserRegistered(value); }
    void UpdateTrayItems() override
    {
        m_form.UpdateLogOffMenuItem();
        const bool redeemed =
            DataModuleCust &&
            DataModuleCust->CDSCustomer.FieldByName("WELCOME_CREDIT_CODE_REDEEMED").AsBoolean();
        if (QAction* welcome = m_form.MenuItem("MenuItemGetWelcomeCredits"))
            welcome->setVisible(!redeemed);
    }
    void SetTrayIconVisible(bool visible) override { m_form.SetTrayIconVisible(visible); }
    void EnableAccountItems(bool enable) override { m_form.EnableAccountMenuItems(enable); }
    void Exit() override { m_form.MenuItemExitClick(); }
    void RefreshSMSPage() override { m_form.RefreshSMSPage(); }
    void RefreshFields() override { m_form.RefreshSMSPage(); }

private:
    TFormRIZAvivaze& m_form;
};

} // namespace

void InstallProgramParts(TFormRIZAvivaze& form)
{
    g_encryption =
        std::make_unique<TDataCollectionEncryption>(static_cast<std::uint32_t>(Clock::UnixTime()));
    DataCollectionEncryption = g_encryption.get();
    g_context = std::make_unique<TAppTaskContext>();
    g_context->ConnectionErrorDialog = [](const std::string& text) {
        return TFormConnectionError::ShowFor(text);
    };
    SetTaskContext(g_context.get());

    auto& hooks = TFormRIZAvivaze::SharedHooks();
    hooks.LoginAtStart = [](TFormRIZAvivaze& f, bool forceList) {
        TMainWindowLoginHost host(f);
        LoginAtStart(host, forceList);
    };
    TFormRIZAvivaze* window = &form;
    hooks.LogOff = [window] {
        TMainWindowLoginHost host(*window);
        LogOffUser(host);
    };
    hooks.AddNewAccount = [window] {
        TMainWindowLoginHost host(*window);
        AddNewAccount(host);
    };
}

void RemoveProgramParts()
{
    auto& hooks = TFormRIZAvivaze::SharedHooks();
    hooks.LoginAtStart = nullptr;
    hooks.LogOff = nullptr;
    hooks.AddNewAccount = nullptr;
    SetTaskContext(nullptr);
    g_context.reset();
    DataCollectionEncryption = nullptr;
    g_encryption.reset();
}

} // namespace riz
