#include "tasks/comtaskloadcreditchanges.h"

#include "data/datamodulesms.h"
#include "tasks/comtasktables.h"

#include <string>
#include <vector>

namespace riz {

void TComTaskLoadCreditChanges::AssembleDataString(TCSDataString& message)
{
    SetHeader(message, "LOAD_CREDIT_CHANGES", "1.00");
    AddLogin(message);
}

void TComTaskLoadCreditChanges::AnalyseResult(TCSDataString& answer)
{
    const int r = answer.GetParam("rslt").AsInt();
    if (r == 0) {
        struct TChange
        {
            std::int32_t Change;
            std::string Reason;
            double Date;
        };
        std::vector<TChange> changes;
        for (const auto& cells : ReadAnswerTable(answer, "changes", {"change", "reason", "date"}))
            changes.push_back({cells[0].AsInt(), cells[1].AsString(), cells[2].AsDateTime()});

        // The statement is shown, never written to a file.
        TClientDataSet& table = DataModuleSMS->CDSCreditChanges;
        table.EmptyDataSet();
        for (const TChange& c : changes) {
            table.Append();
            table.FieldByName("CHANGE").SetAsInteger(c.Change);
            table.FieldByName("REASON").SetAsString(c.Reason);
            table.FieldByName("DATE").SetAsDateTime(c.Date);
            table.Post();
        }
        CheckLatestVersion(answer);
    }
    ReportDone(r);
}

} // namespace riz
