#include "tasks/comtaskloadlogos.h"

#include "data/datamodulesms.h"
#include "tasks/answertable.h"

namespace riz {

void TComTaskLoadLogos::AssembleDataString(TCSDataString& message)
{
    SetHeader(message, "LOAD_LOGOS", "1.00");
    AddLogin(message);
    message.AddParam(TCSParam::Int("category", DataModuleSMS->CategoryId));
}

void TComTaskLoadLogos::AnalyseResult(TCSDataString& answer)
{
    const int r = answer.GetParam("rslt").AsInt();
    if (r == 0) {
        const TCSTable items = answer.GetParam("items").AsTable();
        const std::int32_t cId = RequiredColumn(items, "id");
        const std::int32_t cType = RequiredColumn(items, "type");
        const std::int32_t cName = RequiredColumn(items, "name");
        const std::int32_t cData = RequiredColumn(items, "data");
        TDataModuleSMS& sms = *DataModuleSMS;
        const int category = sms.CategoryId;
        // Only the items of the category asked for go, whatever filter the table has.
        sms.DeleteCategoryItems(category, "logo");
        TClientDataSet& table = sms.CDSLogos;
        for (std::int32_t i = 0; i < items.RowCount(); ++i) {
            table.Append();
            table.FieldByName("ID").SetAsInteger(items.Cell(i, cId).AsInt());
            table.FieldByName("TYPE").SetAsString(items.Cell(i, cType).AsString());
            table.FieldByName("NAME").SetAsString(items.Cell(i, cName).AsString());
            table.FieldByName("DATA").SetAsString(items.Cell(i, cData).AsStream());
            table.FieldByName("CATEGORY").SetAsInteger(category);
            table.Post();
        }
        sms.CommitLogoTables();
        CheckLatestVersion(answer);
    }
    ReportDone(r);
}

} // namespace riz
