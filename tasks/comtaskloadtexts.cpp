#include "tasks/comtaskloadtexts.h"

#include "data/datamodulesms.h"
#include "tasks/answertable.h"

namespace riz {

void TComTaskLoadTexts::AssembleDataString(TCSDataString& message)
{
    SetHeader(message, "LOAD_TEXTS", "1.00");
    AddLogin(message);
    message.AddParam(TCSParam::Int("category", DataModuleSMS->CategoryId));
}

void TComTaskLoadTexts::AnalyseResult(TCSDataString& answer)
{
    const int r = answer.GetParam("rslt").AsInt();
    if (r == 0) {
        const TCSTable items = answer.GetParam("items").AsTable();
        const std::int32_t cId = RequiredColumn(items, "id");
        const std::int32_t cData = RequiredColumn(items, "data");
        TDataModuleSMS& sms = *DataModuleSMS;
        const int category = sms.CategoryId;
        sms.DeleteCategoryItems(category, "text");
        TClientDataSet& table = sms.CDSTexts;
        for (std::int32_t i = 0; i < items.RowCount(); ++i) {
            table.Append();
            table.FieldByName("ID").SetAsInteger(items.Cell(i, cId).AsInt());
            table.FieldByName("DATA").SetAsString(items.Cell(i, cData).AsString());
            table.FieldByName("CATEGORY").SetAsInteger(category);
            table.Post();
        }
        sms.CommitTextTables();
        CheckLatestVersion(answer);
    }
    ReportDone(r);
}

} // namespace riz
