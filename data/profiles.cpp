#include "data/profiles.h"

#include "data/datamoduleaddresses.h"
#include "data/datamodulecust.h"
#include "data/datamodulereminder.h"
#include "data/datamodulesms.h"
#include "platform/strings.h"

namespace riz {

TRemoveProfileResult RemoveProfile(const std::string& selectedEmail, const TAskQuestion& ask,
                                   const TShowError& showError)
{
    if (selectedEmail.empty()) {
        showError(10201);
        return TRemoveProfileResult::NoneSelected;
    }
    if (selectedEmail == DataModuleCust->LoggedInEmail) {
        showError(10202);
        return TRemoveProfileResult::LoggedIn;
    }
    if (!ask(20201, Format(LoadStr(20201), selectedEmail)))
        return TRemoveProfileResult::Declined;

    DataModuleCust->DeleteCustomer(selectedEmail);
    // The profile leaves this PC for good: its rows leave the files now, not with some
    // later write.
    if (DataModuleSMS)
        DataModuleSMS->CommitMessageTables();
    if (DataModuleAddresses)
        DataModuleAddresses->CommitAddressBook();
    if (DataModuleReminder)
        DataModuleReminder->CommitReminderList();
    if (!DataModuleCust->LoggedInEmail.empty())
        DataModuleCust->GoToLoggedInCustomer();
    return TRemoveProfileResult::Removed;
}

TDefaultProfileChoice DefaultChoiceAfterRemoval(const std::vector<std::string>& remaining,
                                                const std::string& removed,
                                                const TDefaultProfileChoice& before)
{
    TDefaultProfileChoice after = before;
    if (before.PromptForUser || before.Chosen != removed)
        return after;
    after.Chosen = remaining.empty() ? std::string() : remaining.front();
    if (remaining.size() > 1)
        after.PromptForUser = true;
    return after;
}

} // namespace riz
