#include "tasks/comtaskget0190numbers.h"

#include "data/datamodulesms.h"
#include "tasks/comtasktables.h"

namespace riz {

void TComTaskGet0190Numbers::AssembleDataString(TCSDataString& message)
{
    SetHeader(message, "GET_0190_NUMBERS", "1.00");
    AddLogin(message);
}

void TComTaskGet0190Numbers::AnalyseResult(TCSDataString& answer)
{
    const int r = answer.GetParam("rslt").AsInt();
    if (r == 0) {
        // 500 and 2000 tenths sell 50 and 200 credits; the rows may come in any order, other
        // values are ignored, and a value the answer lacks keeps the old number.
        std::string number50 = DataModuleSMS->ServiceNumber50;
        std::string number200 = DataModuleSMS->ServiceNumber200;
        for (const auto& cells : ReadAnswerTable(answer, "0190credits", {"credits", "number"})) {
            const int credits = cells[0].AsInt();
            if (credits == 500)
                number50 = cells[1].AsString();
            else if (credits == 2000)
                number200 = cells[1].AsString();
        }
        DataModuleSMS->ServiceNumber50 = number50;
        DataModuleSMS->ServiceNumber200 = number200;
        CheckLatestVersion(answer);
    }
    ReportDone(r);
}

} // namespace riz
