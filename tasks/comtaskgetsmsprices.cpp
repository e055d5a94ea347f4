#include "tasks/comtaskgetsmsprices.h"

#include "data/appparam.h"
#include "data/datamodulesms.h"
#include "tasks/comtasktables.h"

#include <utility>
#include <vector>

namespace riz {

void TComTaskGetSMSPrices::AssembleDataString(TCSDataString& message)
{
    SetHeader(message, "GET_SMS_PRICES", "1.00");
    AddLogin(message);
}

void TComTaskGetSMSPrices::AnalyseResult(TCSDataString& answer)
{
    const int r = answer.GetParam("rslt").AsInt();
    if (r == 0) {
        // Everything is read before anything is stored: the discounts file is written before
        // the prices are saved, so a missing price must not leave new discounts beside old prices.
        std::vector<std::pair<std::int32_t, double>> discounts;
        for (const auto& cells : ReadAnswerTable(answer, "discounts", {"amount", "percentage"}))
            discounts.emplace_back(cells[0].AsInt(), cells[1].AsFloat());
        std::string owner = answer.GetParam("account_owner").AsString();
        std::string account = answer.GetParam("account_number").AsString();
        std::string routing = answer.GetParam("routing_number").AsString();
        std::string bank = answer.GetParam("bank_name").AsString();
        const int sms = answer.GetParam("sms_price").AsInt();
        const int logo = answer.GetParam("logo_price").AsInt();
        const int ring = answer.GetParam("ring_price").AsInt();
        const double vat = answer.GetParam("vat").AsFloat();
        const double discountCC = answer.GetParam("discount_cc").AsFloat();
        const double discountPreWire = answer.GetParam("discount_pre_wire").AsFloat();

        // The answer replaces the discounts completely, also with an empty table.
        TClientDataSet& table = DataModuleSMS->CDSDiscounts;
        table.EmptyDataSet();
        for (const auto& [amount, percentage] : discounts) {
            table.Append();
            table.FieldByName("AMOUNT").SetAsInteger(amount);
            table.FieldByName("PERCENTAGE").SetAsFloat(percentage);
            table.Post();
        }
        DataModuleSMS->CommitDiscounts();

        AppParam->sPreWireAccountOwner = std::move(owner);
        AppParam->sPreWireAccountNumber = std::move(account);
        AppParam->sPreWireRoutingNumber = std::move(routing);
        AppParam->sPreWireBankName = std::move(bank);
        // Stamps the update time and saves, the bank values with it.
        AppParam->SetPricesDiscounts(sms, logo, ring, vat, discountCC, discountPreWire);
        CheckLatestVersion(answer);
    }
    ReportDone(r);
}

} // namespace riz
