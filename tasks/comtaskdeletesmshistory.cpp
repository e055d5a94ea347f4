#include "tasks/comtaskdeletesmshistory.h"

#include "data/datamodulesms.h"
#include "tasks/answertable.h"

namespace riz {

void TComTaskDeleteSMSHistory::AssembleDataString(TCSDataString& message)
{
    SetHeader(message, "DELETE_SMS_HISTORY", "1.00");
    AddLogin(message);
    TCSTable ids = RequestTable({"queue_id"});
    for (const std::string& id : DataModuleSMS->HistoryIdsToDelete) {
        ids.AddRow();
        ids.CurrentCell(0).SetString(id);
    }
    message.AddParam(TCSParam::Table("queue_id", ids));
}

} // namespace riz
