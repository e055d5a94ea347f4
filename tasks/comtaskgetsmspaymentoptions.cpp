#include "tasks/comtaskgetsmspaymentoptions.h"

#include "data/appparam.h"

namespace riz {

void TComTaskGetSMSPaymentOptions::AssembleDataString(TCSDataString& message)
{
    SetHeader(message, "GET_SMS_PAYMENT_OPTIONS", "1.00");
    AddLogin(message);
}

void TComTaskGetSMSPaymentOptions::AnalyseResult(TCSDataString& answer)
{
    const int r = answer.GetParam("rslt").AsInt();
    if (r == 0) {
        // A run of payment tags such as "<free-50><0190-50>".
        AppParam->SetValidPaymentOptions(answer.GetParam("payment_options").AsString());
        CheckLatestVersion(answer);
    }
    ReportDone(r);
}

} // namespace riz
