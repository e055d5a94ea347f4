#include "tasks/comtasksavetree.h"

#include "data/datamodulesms.h"
#include "tasks/answertable.h"

namespace riz {

void TComTaskSaveTree::AssembleDataString(TCSDataString& message)
{
    SetHeader(message, "SAVE_TREE", "1.00");
    AddLogin(message);
    TCSTable sent = RequestTable({"queue_id", "tree"});
    TClientDataSet& history = DataModuleSMS->CDSSMSHistory;
    history.First();
    while (!history.Eof()) {
        const std::string ids = history.FieldByName("QUEUE_IDS").AsString();
        const std::string tree = history.FieldByName("TREE").AsString();
        // Every id is followed by ","; a text after the last "," is no complete id.
        std::size_t start = 0;
        for (std::size_t comma = ids.find(','); comma != std::string::npos;
             comma = ids.find(',', start)) {
            sent.AddRow();
            sent.CurrentCell(0).SetString(ids.substr(start, comma - start));
            sent.CurrentCell(1).SetString(tree);
            start = comma + 1;
        }
        history.Next();
    }
    message.AddParam(TCSParam::Table("sent_sms", sent));
    message.AddParam(TCSParam::Table("received_sms", RequestTable({"queue_id", "tree"})));
}

} // namespace riz
