#include "tasks/comtaskloadtextcategories.h"

#include "data/datamodulesms.h"
#include "data/datasetutils.h"
#include "tasks/answertable.h"

namespace riz {

void TComTaskLoadTextCategories::AssembleDataString(TCSDataString& message)
{
    SetHeader(message, "LOAD_TEXT_CATEGORIES", "1.00");
    AddLogin(message);
}

void TComTaskLoadTextCategories::AnalyseResult(TCSDataString& answer)
{
    const int r = answer.GetParam("rslt").AsInt();
    if (r == 0) {
        const TCSTable categories = answer.GetParam("categories").AsTable();
        const std::int32_t cId = RequiredColumn(categories, "id");
        const std::int32_t cName = RequiredColumn(categories, "name");
        TClientDataSet& table = DataModuleSMS->CDSTextCategory;
        DeleteAllRows(table); // takes each category's cached texts with it
        for (std::int32_t i = 0; i < categories.RowCount(); ++i) {
            table.Append();
            table.FieldByName("ID").SetAsInteger(categories.Cell(i, cId).AsInt());
            table.FieldByName("NAME").SetAsString(categories.Cell(i, cName).AsString());
            table.Post();
        }
        DataModuleSMS->CommitTextTables();
        CheckLatestVersion(answer);
    }
    ReportDone(r);
}

} // namespace riz
