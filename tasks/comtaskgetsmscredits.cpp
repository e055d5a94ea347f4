#include "tasks/comtaskgetsmscredits.h"

#include "data/datamodulecust.h"

namespace riz {

void TComTaskGetSMSCredits::AssembleDataString(TCSDataString& message)
{
    SetHeader(message, "GET_SMS_CREDITS", "1.00");
    AddLogin(message);
}

void TComTaskGetSMSCredits::AnalyseResult(TCSDataString& answer)
{
    const int r = answer.GetParam("rslt").AsInt();
    if (r == 0) {
        TClientDataSet& customer = DataModuleCust->CDSCustomer;
        const int credits = answer.GetParam("credits").AsInt();
        customer.Edit();
        customer.FieldByName("CREDITS").SetAsInteger(credits);
        customer.Post();
        DataModuleCust->CommitCustomerTables();
        CheckLatestVersion(answer);
    }
    ReportDone(r);
}

} // namespace riz
