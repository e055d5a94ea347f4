#include "tasks/comtaskbuycredits.h"

#include "data/appparam.h"
#include "data/datamodulecust.h"
#include "data/datamodulesms.h"

namespace riz {

void TComTaskBuyCredits::AssembleDataString(TCSDataString& message)
{
    const TDataModuleSMS& sms = *DataModuleSMS;
    SetHeader(message, "BUY_CREDITS", "1.00");
    AddLogin(message);
    message.AddParam(TCSParam("payment_option", sms.PaymentOption));
    if (sms.PaymentOption == "<welcome>" || sms.PaymentOption == "<0190-50>" ||
        sms.PaymentOption == "<0190-200>")
        message.AddParam(TCSParam("credit_code", sms.CreditCode));
    if (sms.PaymentOption == "<cc2>") {
        message.AddParam(TCSParam("cc_type", sms.CcType));
        message.AddParam(TCSParam("cc_number", sms.CcNumber));
        message.AddParam(TCSParam("cc_owner", sms.CcOwner));
        message.AddParam(TCSParam::Int("cc_exp_month", sms.CcExpMonth));
        message.AddParam(TCSParam::Int("cc_exp_year", sms.CcExpYear));
        // Tenths of a credit, not an amount of money.
        message.AddParam(TCSParam::Int("credits", sms.CreditsToBuy));
    }
}

void TComTaskBuyCredits::AnalyseResult(TCSDataString& answer)
{
    const int r = answer.GetParam("rslt").AsInt();
    // 91: this payment option is not possible; the page then offers only what the service
    // allows now. Both parameters are read before either is stored.
    const bool options = r == 0 || r == 91;
    const std::string paymentOptions =
        options ? answer.GetParam("payment_options").AsString() : std::string();
    if (r == 0) {
        const int credits = answer.GetParam("credits").AsInt();
        TClientDataSet& customer = DataModuleCust->CDSCustomer;
        if (customer.State() == TDataSetState::Browse)
            customer.Edit();
        customer.FieldByName("CREDITS").SetAsInteger(credits);
        customer.Post();
        DataModuleCust->CommitCustomerTables();
        CheckLatestVersion(answer);
    }
    if (options)
        AppParam->SetValidPaymentOptions(paymentOptions);
    ReportDone(r);
}

} // namespace riz
