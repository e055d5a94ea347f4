// The history load against crafted answers: how part chains become messages (in order, out of
// order, dangling, looping), what each message row holds, and that a broken answer leaves the
// history and the folders as they were.
#include "data/datamodulesms.h"
#include "platform/strings.h"
#include "tasks/comtaskloadsmshistory.h"
#include "tests/tasks/messagestest.h"

#include <algorithm>
#include <random>

using namespace riz;
using namespace riz::test;

namespace {

struct Part
{
    std::string id, next, text;
};

TCSTable ChainTable(const std::vector<Part>& parts)
{
    std::vector<std::vector<TCSParam>> rows;
    for (const Part& p : parts)
        rows.push_back({T(p.id), T(p.next), T(p.text)});
    return CellTable({"queue_id", "next_queue_id", "text"}, rows);
}

struct ChainCase
{
    const char* name;
    std::vector<Part> parts;
    std::vector<std::pair<std::string, std::string>> messages; // ids, text
};

class HistoryChains : public ::testing::TestWithParam<ChainCase>
{
};

} // namespace

TEST_P(HistoryChains, GiveTheMessagesOfTheChains)
{
    const ChainCase& c = GetParam();
    std::vector<std::pair<std::string, std::string>> got;
    for (const THistoryMessage& m : BuildHistoryMessages(ChainTable(c.parts)))
        got.emplace_back(m.QueueIds, m.Text);
    EXPECT_EQ(got, c.messages);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HistoryChains,
    ::testing::Values(
        ChainCase{"TwoPartsAndOne",
                  {{"A", "B", "Hallo"}, {"B", "", "Welt"}, {"C", "", "Tschüss"}},
                  {{"A,B,", "Hallo Welt"}, {"C,", "Tschüss"}}},
        ChainCase{
            "DanglingNextId", {{"A", "B", "eins"}, {"B", "Z", "zwei"}}, {{"A,B,", "eins zwei"}}},
        ChainCase{"LoopBackToTheFirstPart",
                  {{"A", "B", "a"}, {"B", "C", "b"}, {"C", "A", "c"}, {"D", "", "d"}},
                  {{"A,B,C,", "a b c"}, {"D,", "d"}}},
        ChainCase{"PartPointingToItself", {{"A", "A", "a"}}, {{"A,", "a"}}},
        ChainCase{"LoopInTheMiddle",
                  {{"A", "B", "a"}, {"B", "C", "b"}, {"C", "B", "c"}},
                  {{"A,B,C,", "a b c"}}},
        ChainCase{"LaterPartListedFirst",
                  {{"B", "C", "b"}, {"C", "", "c"}, {"A", "B", "a"}},
                  {{"B,C,", "b c"}, {"A,B,C,", "a b c"}}},
        ChainCase{"RepeatedIdFollowsItsFirstRow",
                  {{"A", "B", "a"}, {"B", "", "b1"}, {"B", "", "b2"}, {"E", "B", "e"}},
                  {{"A,B,", "a b1"}, {"E,B,", "e b1"}}},
        ChainCase{"Empty", {}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

namespace {

// The plain reading of the chain rule: for every next id, a search from the top of the answer.
std::vector<std::pair<std::string, std::string>> SearchFromTheTop(const std::vector<Part>& parts)
{
    std::vector<std::pair<std::string, std::string>> out;
    std::string seen;
    for (const Part& p : parts) {
        if (seen.rfind(p.id + ",", 0) == 0 || seen.find("," + p.id + ",") != std::string::npos)
            continue;
        std::string text = p.text;
        std::string ids = p.id + ",";
        std::string next = p.next;
        while (!next.empty()) {
            const auto found = std::find_if(parts.begin(), parts.end(),
                                            [&](const Part& q) { return q.id == next; });
            if (found == parts.end())
                break;
            text += " " + found->text;
            ids += found->id + ",";
            next = found->next;
        }
        out.emplace_back(ids, text);
        seen += ids;
    }
    return out;
}

} // namespace

TEST(HistoryChainsAgainstTheSearch, RandomAnswersGiveTheSameMessages)
{
    // Ids from a small pool so that they repeat; a next id is a greater id (so the search ends),
    // sometimes one the answer does not hold; rows in random order.
    std::mt19937 random(4711);
    for (int round = 0; round < 200; ++round) {
        SCOPED_TRACE(round);
        const int rows = 1 + static_cast<int>(random() % 60);
        std::vector<Part> parts;
        for (int r = 0; r < rows; ++r) {
            const int id = static_cast<int>(random() % 80);
            std::string next;
            if (random() % 4 != 0)
                next = std::to_string(id + 1 + static_cast<int>(random() % 5));
            parts.push_back({std::to_string(id), next, "t" + std::to_string(r)});
        }
        std::vector<std::pair<std::string, std::string>> got;
        for (const THistoryMessage& m : BuildHistoryMessages(ChainTable(parts)))
            got.emplace_back(m.QueueIds, m.Text);
        EXPECT_EQ(got, SearchFromTheTop(parts));
    }
}

namespace {

std::vector<TCSParam> HistoryRow(const std::string& id, const std::string& next,
                                 const std::string& text, const std::string& type,
                                 const std::string& tree, double sent)
{
    return {T(id), T(next), T(text), T("Anna"), T("Ben"), T(type), T(tree), D(sent)};
}

const std::vector<std::string> kHistoryColumns = {"queue_id", "next_queue_id", "text", "sender",
                                                  "receiver", "sms_type",      "tree", "sent_date"};

std::string HistoryAnswer(const std::vector<std::vector<TCSParam>>& rows,
                          const std::vector<std::string>& columns = kHistoryColumns)
{
    std::vector<TCSParam> p;
    p.push_back(TCSParam::Table("history", CellTable(columns, rows)));
    return AnswerText(0, std::move(p));
}

struct HistoryRowState
{
    int customer;
    std::string sender, receiver, text, ids, tree;
    double sent;
    bool operator==(const HistoryRowState&) const = default;
};

std::vector<HistoryRowState> HistoryRows()
{
    std::vector<HistoryRowState> out;
    TClientDataSet& h = DataModuleSMS->CDSSMSHistory;
    for (h.First(); !h.Eof(); h.Next())
        out.push_back({h.FieldByName("CUSTOMER_ID").AsInteger(),
                       h.FieldByName("SMS_SENDER").AsString(), h.FieldByName("RECEIVER").AsString(),
                       h.FieldByName("SMS_TEXT").AsString(), h.FieldByName("QUEUE_IDS").AsString(),
                       h.FieldByName("TREE").AsString(), h.FieldByName("SENT_DATE").AsDateTime()});
    return out;
}

std::vector<std::string> Folders()
{
    std::vector<std::string> out;
    TClientDataSet& t = DataModuleSMS->CDSTree;
    for (t.First(); !t.Eof(); t.Next())
        out.push_back(t.FieldByName("TREE").AsString());
    return out;
}

void AddHistoryRow(const std::string& ids, const std::string& tree)
{
    TClientDataSet& h = DataModuleSMS->CDSSMSHistory;
    h.Append();
    h.FieldByName("SMS_TEXT").SetAsString("alt " + ids);
    h.FieldByName("QUEUE_IDS").SetAsString(ids);
    h.FieldByName("TREE").SetAsString(tree);
    h.Post();
}

using HistoryUnit = MessagesUnit;

} // namespace

TEST_F(HistoryUnit, LoadReplacesTheProfilesHistoryAndRebuildsTheFolders)
{
    AddHistoryRow("1,", "Alt;");
    DataModuleSMS->RebuildFolderTable();
    DataModuleSMS->CommitMessageTables();
    const double sent = kNow - 3.5;
    const std::string answer = HistoryAnswer({
        HistoryRow("10", "11", "Guten", "sms", "", sent),
        HistoryRow("11", "", "Morgen", "sms", "", sent),
        HistoryRow("12", "", "", "logo", "Privat;Familie;", sent),
        HistoryRow("13", "", "", "sound", "", sent),
        HistoryRow("14", "", "Oma", "birthday", "", sent),
        HistoryRow("15", "", "Zahnarzt", "event", "", sent),
    });
    ASSERT_EQ(Run(50445, answer), 0);
    EXPECT_EQ(LastRequest().Name, "LOAD_SMS_HISTORY");

    const int me = kCustomerId;
    const std::vector<HistoryRowState> expected = {
        {me, "Anna", "Ben", "Guten Morgen", "10,11,", "Gesendete SMS;", sent},
        {me, "Anna", "Ben", LoadStr(52035), "12,", "Privat;Familie;", sent},
        {me, "Anna", "Ben", LoadStr(52037), "13,", "Gesendete SMS;", sent},
        {me, "Anna", "Ben", "Oma", "14,", "Geburtstag Reminder;", sent},
        {me, "Anna", "Ben", "Zahnarzt", "15,", "Event Reminder;", sent},
    };
    EXPECT_EQ(HistoryRows(), expected);
    const std::vector<std::string> folders = {"Gesendete SMS;", "Privat;Familie;",
                                              "Geburtstag Reminder;", "Event Reminder;"};
    EXPECT_EQ(Folders(), folders);

    // Written: the files give the same rows back.
    client->Reopen();
    EXPECT_EQ(HistoryRows(), expected);
    EXPECT_EQ(Folders(), folders);
}

TEST_F(HistoryUnit, OtherProfilesKeepTheirHistory)
{
    client->AddProfile("zweite@example.de", "pw", 8);
    AddHistoryRow("80,", "Zweite;");
    DataModuleSMS->CommitMessageTables();
    DataModuleCust->LoginCustomer("kunde@example.de");
    AddHistoryRow("70,", "Erste;");
    DataModuleSMS->CommitMessageTables();

    ASSERT_EQ(Run(50445, HistoryAnswer({HistoryRow("1", "", "neu", "sms", "", kNow)})), 0);
    ASSERT_EQ(HistoryRows().size(), 1u);
    EXPECT_EQ(HistoryRows()[0].ids, "1,");
    DataModuleCust->LoginCustomer("zweite@example.de");
    ASSERT_EQ(HistoryRows().size(), 1u);
    EXPECT_EQ(HistoryRows()[0].ids, "80,");
}

TEST_F(HistoryUnit, AnswerThatCannotBeStoredLeavesHistoryAndFoldersAsTheyWere)
{
    AddHistoryRow("1,2,", "Alt;");
    AddHistoryRow("3,", "Andere;");
    DataModuleSMS->RebuildFolderTable();
    DataModuleSMS->CommitMessageTables();
    const std::vector<HistoryRowState> before = HistoryRows();
    const std::vector<std::string> foldersBefore = Folders();

    std::vector<std::string> withoutDate(kHistoryColumns.begin(), kHistoryColumns.end() - 1);
    std::vector<std::vector<TCSParam>> rows = {HistoryRow("9", "", "x", "sms", "", kNow)};
    for (auto& r : rows)
        r.pop_back();
    // A date that is no date in the second message fails after the old rows were deleted and
    // the first message appended.
    std::vector<std::vector<TCSParam>> badDate = {HistoryRow("9", "", "x", "sms", "", kNow),
                                                  HistoryRow("10", "", "y", "sms", "", kNow)};
    badDate[1][7].Value = "2025-02-30";
    const std::vector<std::string> answers = {
        HistoryAnswer(rows, withoutDate),
        AnswerText(0, {}), // no "history" at all
        HistoryAnswer(badDate),
    };
    for (const std::string& answer : answers) {
        SCOPED_TRACE(answer);
        EXPECT_FALSE(RunFailing(50445, answer).empty());
        EXPECT_EQ(HistoryRows(), before);
        EXPECT_EQ(Folders(), foldersBefore);
        // A later write of the tables for another reason writes the old rows, not half an answer.
        DataModuleSMS->CommitMessageTables();
        client->Reopen();
        EXPECT_EQ(HistoryRows(), before);
        EXPECT_EQ(Folders(), foldersBefore);
    }
}

TEST_F(HistoryUnit, RefusedLoadChangesNothing)
{
    AddHistoryRow("1,", "Alt;");
    DataModuleSMS->CommitMessageTables();
    ASSERT_EQ(Run(50445, AnswerText(11)), 11);
    ASSERT_EQ(HistoryRows().size(), 1u);
    EXPECT_EQ(HistoryRows()[0].ids, "1,");
}
