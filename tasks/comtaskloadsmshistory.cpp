#include "tasks/comtaskloadsmshistory.h"

#include "data/datamodulesms.h"
#include "platform/strings.h"
#include "tasks/answertable.h"

#include <unordered_map>
#include <unordered_set>

namespace riz {

void TComTaskLoadSMSHistory::AssembleDataString(TCSDataString& message)
{
    SetHeader(message, "LOAD_SMS_HISTORY", "1.00");
    AddLogin(message);
}

std::vector<THistoryMessage> BuildHistoryMessages(const TCSTable& history)
{
    const std::int32_t cId = RequiredColumn(history, "queue_id");
    const std::int32_t cNext = RequiredColumn(history, "next_queue_id");
    const std::int32_t cText = RequiredColumn(history, "text");
    const std::int32_t rows = history.RowCount();

    // Each id decoded once; the index gives the first row of an id, as a search from the top
    // of the answer would find it.
    std::vector<std::string> ids(static_cast<std::size_t>(rows));
    std::vector<std::string> nexts(static_cast<std::size_t>(rows));
    std::unordered_map<std::string, std::int32_t> firstRow;
    firstRow.reserve(static_cast<std::size_t>(rows));
    for (std::int32_t i = 0; i < rows; ++i) {
        ids[i] = history.Cell(i, cId).AsString();
        nexts[i] = history.Cell(i, cNext).AsString();
        firstRow.emplace(ids[i], i);
    }

    std::vector<THistoryMessage> messages;
    std::unordered_set<std::string> seen;
    seen.reserve(static_cast<std::size_t>(rows));
    std::unordered_set<std::int32_t> chain; // rows of the message being built
    for (std::int32_t i = 0; i < rows; ++i) {
        if (seen.count(ids[i]))
            continue; // a later part of a message already taken
        THistoryMessage m;
        m.FirstRow = i;
        m.Text = history.Cell(i, cText).AsString();
        m.QueueIds = ids[i] + ",";
        // A row that starts a message is the first row of its id (a later row with the same id
        // finds it in seen), so the chain holds first rows only and a row met twice is a loop.
        chain.clear();
        chain.insert(i);
        std::vector<std::int32_t> parts{i};
        const std::string* next = &nexts[i];
        while (!next->empty()) {
            const auto found = firstRow.find(*next);
            if (found == firstRow.end())
                break; // the next part is not in the answer
            const std::int32_t row = found->second;
            if (!chain.insert(row).second)
                break; // the chain comes back to one of its own parts
            m.Text += " " + history.Cell(row, cText).AsString();
            m.QueueIds += ids[row] + ",";
            parts.push_back(row);
            next = &nexts[row];
        }
        for (const std::int32_t row : parts)
            seen.insert(ids[row]);
        messages.push_back(std::move(m));
    }
    return messages;
}

namespace {

// Deletes the visible rows from the last one: each deletion then costs the same, whatever the
// size of the table.
void DeleteVisibleRowsFromLast(TClientDataSet& table)
{
    while (table.RecordCount() > 0) {
        table.Last();
        table.Delete();
    }
}

} // namespace

void StoreSMSHistory(const TCSTable& history)
{
    const std::int32_t cSender = RequiredColumn(history, "sender");
    const std::int32_t cReceiver = RequiredColumn(history, "receiver");
    const std::int32_t cType = RequiredColumn(history, "sms_type");
    const std::int32_t cTree = RequiredColumn(history, "tree");
    const std::int32_t cDate = RequiredColumn(history, "sent_date");
    const std::vector<THistoryMessage> messages = BuildHistoryMessages(history);

    TDataModuleSMS& sms = *DataModuleSMS;
    TClientDataSet& table = sms.CDSSMSHistory;
    DeleteVisibleRowsFromLast(table);
    const std::string logoText = LoadStr(52035);
    const std::string soundText = LoadStr(52037);
    const std::string sentFolder = LoadStr(52003) + ";";
    const std::string birthdayFolder = LoadStr(52004) + ";";
    const std::string eventFolder = LoadStr(52005) + ";";
    const int fSender = table.FindField("SMS_SENDER");
    const int fReceiver = table.FindField("RECEIVER");
    const int fDate = table.FindField("SENT_DATE");
    const int fIds = table.FindField("QUEUE_IDS");
    const int fText = table.FindField("SMS_TEXT");
    const int fTree = table.FindField("TREE");
    for (const THistoryMessage& m : messages) {
        const std::int32_t row = m.FirstRow;
        const std::string type = history.Cell(row, cType).AsString();
        std::string tree = history.Cell(row, cTree).AsString();
        if (tree.empty()) {
            if (type == "event")
                tree = eventFolder;
            else if (type == "birthday")
                tree = birthdayFolder;
            else
                tree = sentFolder;
        }
        table.Append();
        table.Fields(fSender).SetAsString(history.Cell(row, cSender).AsString());
        table.Fields(fReceiver).SetAsString(history.Cell(row, cReceiver).AsString());
        table.Fields(fDate).SetAsDateTime(history.Cell(row, cDate).AsDateTime());
        table.Fields(fIds).SetAsString(m.QueueIds);
        if (type == "logo")
            table.Fields(fText).SetAsString(logoText);
        else if (type == "sound")
            table.Fields(fText).SetAsString(soundText);
        else
            table.Fields(fText).SetAsString(m.Text);
        table.Fields(fTree).SetAsString(tree);
        table.Post();
    }
    sms.RebuildFolderTable();
}

void TComTaskLoadSMSHistory::AnalyseResult(TCSDataString& answer)
{
    const int r = answer.GetParam("rslt").AsInt();
    if (r == 0) {
        StoreSMSHistory(answer.GetParam("history").AsTable());
        DataModuleSMS->CommitMessageTables();
        CheckLatestVersion(answer);
    }
    ReportDone(r);
}

} // namespace riz
