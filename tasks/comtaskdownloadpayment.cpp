#include "tasks/comtaskdownloadpayment.h"

#include "data/datamodulecust.h"
#include "data/valueconv.h"
#include "tasks/comtasktables.h"

namespace riz {
namespace {

const char* const kPaymentFields[] = {
    "NICK_NAME",          "PAYMENT_TYPE",       "CC_TYPE",      "CC_NAME_ON_CARD",
    "CC_NUMBER",          "CC_EXP_MONTH",       "CC_EXP_YEAR",  "BEZ_ACCOUNT_OWNER",
    "BEZ_ACCOUNT_NUMBER", "BEZ_ROUTING_NUMBER", "BEZ_BANK_NAME"};

bool IsExpiryColumn(size_t i)
{
    return i == 5 || i == 6;
}

} // namespace

void TComTaskDownloadPayment::AssembleDataString(TCSDataString& message)
{
    SetHeader(message, "GET_PAYMENT", "1.00");
    AddLogin(message);
    AddSingleCellTable(message, "payment", "nick_name", DataModuleCust->EditPaymentNick);
}

void TComTaskDownloadPayment::AnalyseResult(TCSDataString& answer)
{
    const int r = answer.GetParam("rslt").AsInt();
    if (r == 0) {
        // Read and convert every cell first: a fault leaves the scratch rows as they were.
        std::vector<std::vector<TValue>> rows;
        for (const auto& cells : ReadAnswerTable(answer, "payment", PaymentTableColumns())) {
            std::vector<TValue> values;
            for (size_t i = 0; i < cells.size(); ++i) {
                const std::string text = cells[i].AsString();
                if (!IsExpiryColumn(i)) {
                    values.emplace_back(text);
                } else if (text.empty()) {
                    values.emplace_back(); // no expiry (a direct debit): the field stays null
                } else {
                    // The expiry month and year travel as the decimal text of the integer;
                    // any other text raises EConvertError.
                    values.emplace_back(ValueToInt(TValue(text)));
                }
            }
            rows.push_back(std::move(values));
        }
        TClientDataSet& temp = DataModuleCust->CDSPaymentInfoTemp;
        if (!temp.Active())
            temp.CreateDataSet();
        temp.EmptyDataSet();
        for (const auto& values : rows) {
            temp.Append();
            for (size_t i = 0; i < values.size(); ++i)
                temp.FieldByName(kPaymentFields[i]).SetValue(values[i]);
            temp.Post();
        }
        CheckLatestVersion(answer);
    }
    ReportDone(r);
}

} // namespace riz
