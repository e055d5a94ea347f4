#include "tasks/comtaskloadlogocategories.h"

#include "data/datamodulesms.h"
#include "data/datasetutils.h"
#include "tasks/answertable.h"

namespace riz {

void TComTaskLoadLogoCategories::AssembleDataString(TCSDataString& message)
{
    SetHeader(message, "LOAD_LOGO_CATEGORIES", "1.00");
    AddLogin(message);
}

void TComTaskLoadLogoCategories::AnalyseResult(TCSDataString& answer)
{
    const int r = answer.GetParam("rslt").AsInt();
    if (r == 0) {
        const TCSTable categories = answer.GetParam("categories").AsTable();
        const std::int32_t cId = RequiredColumn(categories, "id");
        const std::int32_t cType = RequiredColumn(categories, "type");
        const std::int32_t cName = RequiredColumn(categories, "name");
        const std::int32_t cIcon = RequiredColumn(categories, "icon");
        TClientDataSet& table = DataModuleSMS->CDSLogoCategory;
        // Deleting a category deletes its cached items too (the table's delete hook).
        DeleteAllRows(table);
        for (std::int32_t i = 0; i < categories.RowCount(); ++i) {
            table.Append();
            table.FieldByName("ID").SetAsInteger(categories.Cell(i, cId).AsInt());
            table.FieldByName("TYPE").SetAsString(categories.Cell(i, cType).AsString());
            table.FieldByName("NAME").SetAsString(categories.Cell(i, cName).AsString());
            table.FieldByName("ICON").SetAsString(categories.Cell(i, cIcon).AsStream());
            table.Post();
        }
        DataModuleSMS->CommitLogoTables();
        CheckLatestVersion(answer);
    }
    ReportDone(r);
}

} // namespace riz
