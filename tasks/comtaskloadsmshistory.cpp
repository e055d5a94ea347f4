#include "tasks/comtaskloadsmshistory.h"

#include "data/datamodulesms.h"
#include "platform/strings.h"
#include "tasks/answertable.h"

#include <string_view>
#include <unordered_map>

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
    const std::size_t rows = static_cast<std::size_t>(history.RowCount());
    const auto cell = [&history](std::size_t row, std::int32_t column) -> const TCSParam& {
        return history.Cell(static_cast<std::int32_t>(row), column);
    };

    // Each id decoded once. The index gives the first row of an id, as a search from the top of
    // the answer would find it; the ids' texts stay in place, so the index can refer to them.
    std::vector<std::string> ids(rows);
    std::unordered_map<std::string_view, std::size_t> index;
    index.reserve(rows);
    std::vector<std::size_t> first(rows); // the first row with the id of this row
    for (std::size_t i = 0; i < rows; ++i) {
        ids[i] = cell(i, cId).AsString();
        first[i] = index.emplace(ids[i], i).first->second;
    }
    constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    std::vector<std::size_t> nextRow(rows, kNone); // the row of the next part; none at the end
    for (std::size_t i = 0; i < rows; ++i) {
        const std::string next = cell(i, cNext).AsString();
        if (next.empty())
            continue;
        const auto found = index.find(next);
        if (found != index.end())
            nextRow[i] = found->second; // else the next part is not in the answer
    }
    std::vector<std::string> texts(rows);
    std::vector<bool> decoded(rows, false);
    const auto text = [&](std::size_t row) -> const std::string& {
        if (!decoded[row]) {
            texts[row] = cell(row, cText).AsString();
            decoded[row] = true;
        }
        return texts[row];
    };

    // A row that starts a message is the first row of its id (a later row with the same id finds
    // that first row taken), and a chain leads to first rows only. So "taken" and "in this chain"
    // can be marked on rows, and a row met twice in one chain is a loop.
    std::vector<bool> taken(rows, false);
    std::vector<std::size_t> chainOf(rows, kNone);
    std::vector<std::size_t> parts;
    std::vector<THistoryMessage> messages;
    for (std::size_t i = 0; i < rows; ++i) {
        if (taken[first[i]])
            continue; // a later part of a message already taken
        THistoryMessage m;
        m.FirstRow = static_cast<std::int32_t>(i);
        m.Text = text(i);
        m.QueueIds = ids[i] + ",";
        parts.assign(1, i);
        chainOf[i] = i;
        for (std::size_t row = nextRow[i]; row != kNone && chainOf[row] != i; row = nextRow[row]) {
            chainOf[row] = i;
            m.Text.append(" ").append(text(row));
            m.QueueIds.append(ids[row]).append(",");
            parts.push_back(row);
        }
        for (const std::size_t row : parts)
            taken[row] = true;
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
