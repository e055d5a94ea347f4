#include "tasks/comtaskgetwelcomecredits.h"

#include "data/datamodulecust.h"

namespace riz {

void TComTaskGetWelcomeCredits::AssembleDataString(TCSDataString& message)
{
    SetHeader(message, "GET_WELCOME_CREDITS", "1.00");
    AddLogin(message);
    // Digits with the country code, no "+".
    message.AddParam(TCSParam("cell_phone", DataModuleCust->WelcomeNumber));
}

void TComTaskGetWelcomeCredits::AnalyseResult(TCSDataString& answer)
{
    const int r = answer.GetParam("rslt").AsInt();
    if (r == 0) {
        // The caller records on the profile that the code was sent, and to which number; an
        // edit it has pending is posted and written here.
        DataModuleCust->CDSCustomer.Post();
        DataModuleCust->CommitCustomerTables();
        CheckLatestVersion(answer);
    }
    ReportDone(r);
}

} // namespace riz
