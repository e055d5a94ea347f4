// The address book backup, the folder backup, the catalog loads, the history deletion, the
// reminder list and the version question against crafted answers.
#include "data/appparam.h"
#include "data/datamoduleaddresses.h"
#include "data/datamodulereminder.h"
#include "data/datamodulesms.h"
#include "tests/tasks/messagestest.h"

using namespace riz;
using namespace riz::test;

namespace {

using BackupUnit = MessagesUnit;

struct Contact
{
    std::string name, email, home, work, cell;
    double birthday; // 0: none
    std::string lists;
    bool operator==(const Contact&) const = default;
};

void AddContact(const Contact& c)
{
    TClientDataSet& a = DataModuleAddresses->CDSAddressBook;
    a.Append();
    a.FieldByName("NAME").SetAsString(c.name);
    a.FieldByName("EMAIL_ADDRESS").SetAsString(c.email);
    a.FieldByName("HOME_PHONE").SetAsString(c.home);
    a.FieldByName("WORK_PHONE").SetAsString(c.work);
    a.FieldByName("CELL_PHONE").SetAsString(c.cell);
    if (c.birthday != 0)
        a.FieldByName("BIRTHDAY").SetAsDateTime(c.birthday);
    a.FieldByName("DISTRIBUTION_LIST").SetAsString(c.lists);
    a.Post();
}

std::vector<Contact> Contacts()
{
    std::vector<Contact> out;
    TClientDataSet& a = DataModuleAddresses->CDSAddressBook;
    for (a.First(); !a.Eof(); a.Next())
        out.push_back(
            {a.FieldByName("NAME").AsString(), a.FieldByName("EMAIL_ADDRESS").AsString(),
             a.FieldByName("HOME_PHONE").AsString(), a.FieldByName("WORK_PHONE").AsString(),
             a.FieldByName("CELL_PHONE").AsString(),
             a.FieldByName("BIRTHDAY").IsNull() ? 0 : a.FieldByName("BIRTHDAY").AsDateTime(),
             a.FieldByName("DISTRIBUTION_LIST").AsString()});
    return out;
}

// What the service keeps of a saved address book is the table it received; answering the
// load with it is the round trip.
std::string LoadAnswerFromSaveRequest(const TCSDataString& saveRequest)
{
    std::vector<TCSParam> p;
    p.push_back(TCSParam::Table("address_book", saveRequest.GetParam("address_book").AsTable()));
    return AnswerText(0, std::move(p));
}

} // namespace

TEST_F(BackupUnit, AddressBookRoundTripKeepsBackslashAndAngleBrackets)
{
    const std::vector<Contact> book = {
        {"<Chef> Müller", "chef@example.de", "030 1", "030 2", "0172 3", 29000,
         "Büro\\Team;<VIP>;"},
        {"C:\\Kontakte\\Ede", "", "", "", "0173 4", 0, ""},
        {"Zoe >", "z@example.de", "", "", "", 0, "<VIP>;"},
    };
    for (const Contact& c : book)
        AddContact(c);
    DataModuleAddresses->CommitAddressBook();
    const std::vector<Contact> saved = Contacts();

    ASSERT_EQ(Run(50442, AnswerText(0)), 0);
    const TCSDataString save = LastRequest();
    EXPECT_EQ(save.Name, "SAVE_SMS_ADDRESS_BOOK");
    const TCSTable sent = save.GetParam("address_book").AsTable();
    ASSERT_EQ(sent.ColumnCount(), 7);
    const std::vector<std::string> columns = {
        "name",       "email_address", "home_phone",       "office_phone",
        "cell_phone", "birthday",      "distribution_list"};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(sent.ColumnName(i), columns[static_cast<std::size_t>(i)]);
    ASSERT_EQ(sent.RowCount(), 3);
    // In table order (by name); no birthday is an empty cell, a birthday a date-time.
    EXPECT_EQ(sent.Cell(0, 0).AsString(), "<Chef> Müller");
    EXPECT_EQ(sent.Cell(0, 3).AsString(), "030 2");
    EXPECT_DOUBLE_EQ(sent.Cell(0, 5).AsDateTime(), 29000);
    EXPECT_EQ(sent.Cell(1, 0).AsString(), "C:\\Kontakte\\Ede");
    EXPECT_EQ(sent.Cell(1, 5).Value, "");

    // Loading it back after the local book changed gives the saved book again.
    AddContact({"Neu", "", "", "", "", 0, ""});
    ASSERT_EQ(Run(50443, LoadAnswerFromSaveRequest(save)), 0);
    EXPECT_EQ(Contacts(), saved);
    client->Reopen();
    EXPECT_EQ(Contacts(), saved);
}

TEST_F(BackupUnit, EmptyAddressBookRoundTripEmptiesTheLocalBook)
{
    ASSERT_EQ(Run(50442, AnswerText(0)), 0);
    const TCSDataString save = LastRequest();
    const TCSTable sent = save.GetParam("address_book").AsTable();
    EXPECT_EQ(sent.RowCount(), 0);
    EXPECT_EQ(sent.ColumnCount(), 7);
    EXPECT_NE(server->Requests().back().message.find("ROWS=\"0\""), std::string::npos);

    AddContact({"Alt", "", "", "", "0172 1", 0, ""});
    DataModuleAddresses->CommitAddressBook();
    ASSERT_EQ(Run(50443, LoadAnswerFromSaveRequest(save)), 0);
    EXPECT_TRUE(Contacts().empty());
    client->Reopen();
    EXPECT_TRUE(Contacts().empty());
}

TEST_F(BackupUnit, AddressBookAnswerWithoutAColumnKeepsTheBook)
{
    AddContact({"Alt", "", "", "", "0172 1", 0, ""});
    DataModuleAddresses->CommitAddressBook();
    std::vector<TCSParam> p;
    p.push_back(TCSParam::Table(
        "address_book",
        CellTable({"name", "email_address", "home_phone", "office_phone", "cell_phone", "birthday"},
                  {{T("Neu"), T(""), T(""), T(""), T(""), T("")}})));
    EXPECT_FALSE(RunFailing(50443, AnswerText(0, std::move(p))).empty());
    ASSERT_EQ(Contacts().size(), 1u);
    EXPECT_EQ(Contacts()[0].name, "Alt");
}

TEST_F(BackupUnit, SaveTreeSendsOneRowPerCompleteQueueId)
{
    TClientDataSet& h = DataModuleSMS->CDSSMSHistory;
    const std::vector<std::pair<std::string, std::string>> rows = {
        {"17,18,", "Privat;"}, {"", "Leer;"}, {"19,20", "Rest;"}, {"21,", "Gesendete SMS;"}};
    for (const auto& [ids, tree] : rows) {
        h.Append();
        h.FieldByName("QUEUE_IDS").SetAsString(ids);
        h.FieldByName("TREE").SetAsString(tree);
        h.Post();
    }
    ASSERT_EQ(Run(50447, AnswerText(0)), 0);
    const TCSDataString req = LastRequest();
    EXPECT_EQ(req.Name, "SAVE_TREE");
    EXPECT_EQ(ParamNames(req), (std::vector<std::string>{"email_address", "password", "sent_sms",
                                                         "received_sms", "my_version"}));
    const std::vector<std::vector<std::string>> sent = {
        {"17", "Privat;"}, {"18", "Privat;"}, {"19", "Rest;"}, {"21", "Gesendete SMS;"}};
    EXPECT_EQ(Rows(req.GetParam("sent_sms").AsTable()), sent);
    const TCSTable received = req.GetParam("received_sms").AsTable();
    EXPECT_EQ(received.RowCount(), 0);
    ASSERT_EQ(received.ColumnCount(), 2);
    EXPECT_EQ(received.ColumnName(0), "queue_id");
    EXPECT_EQ(received.ColumnName(1), "tree");
}

TEST_F(BackupUnit, DeleteHistorySendsTheListedIdsInOrder)
{
    const std::vector<std::vector<std::string>> cases[] = {{{"18"}, {"17"}, {"a<b"}}, {}};
    for (const auto& ids : cases) {
        DataModuleSMS->HistoryIdsToDelete.clear();
        for (const auto& id : ids)
            DataModuleSMS->HistoryIdsToDelete.push_back(id[0]);
        ASSERT_EQ(Run(50446, AnswerText(0)), 0);
        const TCSDataString req = LastRequest();
        EXPECT_EQ(req.Name, "DELETE_SMS_HISTORY");
        const TCSTable t = req.GetParam("queue_id").AsTable();
        ASSERT_EQ(t.ColumnCount(), 1);
        EXPECT_EQ(t.ColumnName(0), "queue_id");
        EXPECT_EQ(Rows(t), ids);
    }
}

namespace {

struct Item
{
    int id;
    std::string type, name;
    int category;
    std::string data;
    bool operator==(const Item&) const = default;
};

void AddItem(TClientDataSet& t, const Item& i, bool typed)
{
    t.Append();
    t.FieldByName("ID").SetAsInteger(i.id);
    if (typed) {
        t.FieldByName("TYPE").SetAsString(i.type);
        t.FieldByName("NAME").SetAsString(i.name);
    }
    t.FieldByName("CATEGORY").SetAsInteger(i.category);
    t.FieldByName("DATA").SetAsString(i.data);
    t.Post();
}

std::vector<Item> AllItems(TClientDataSet& t, bool typed)
{
    const TFilter saved = t.Filter();
    t.ClearFilter();
    std::vector<Item> out;
    for (t.First(); !t.Eof(); t.Next())
        out.push_back({t.FieldByName("ID").AsInteger(),
                       typed ? t.FieldByName("TYPE").AsString() : "",
                       typed ? t.FieldByName("NAME").AsString() : "",
                       t.FieldByName("CATEGORY").AsInteger(), t.FieldByName("DATA").AsString()});
    t.SetFilter(saved);
    return out;
}

struct ItemCase
{
    const char* name;
    int taskId;
    bool logos; // CDSLogos with type and name; else CDSTexts
};

class CatalogItems : public MessagesUnit, public ::testing::WithParamInterface<ItemCase>
{
};

} // namespace

TEST_P(CatalogItems, LoadReplacesOnlyTheChosenCategory)
{
    const ItemCase& c = GetParam();
    TDataModuleSMS& sms = *DataModuleSMS;
    TClientDataSet& table = c.logos ? sms.CDSLogos : sms.CDSTexts;
    AddItem(table, {1, c.logos ? "NOL" : "", c.logos ? "Herz" : "", 1, "eins"}, c.logos);
    AddItem(table, {2, c.logos ? "NOL" : "", c.logos ? "Sonne" : "", 2, "alt"}, c.logos);
    AddItem(table, {3, c.logos ? "NOL" : "", c.logos ? "Welle" : "", 3, "drei"}, c.logos);
    sms.SetCategoryFilter(2);

    const std::string bitmap("BM\0\x01<\\>", 7);
    std::vector<TCSParam> p;
    if (c.logos)
        p.push_back(
            TCSParam::Table("items", CellTable({"id", "type", "name", "data"},
                                               {{I(20), T("NGG"), T("Stern"), B(bitmap)},
                                                {I(21), T("RING"), T("Ode"), B("4c2 4d2")}})));
    else
        p.push_back(TCSParam::Table("items", CellTable({"id", "data"}, {{I(20), T("Alles <Gute>!")},
                                                                        {I(21), T("Prost")}})));
    ASSERT_EQ(Run(c.taskId, AnswerText(0, std::move(p))), 0);
    EXPECT_EQ(LastRequest().GetParam("category").AsInt(), 2);

    std::vector<Item> expected;
    if (c.logos)
        expected = {{1, "NOL", "Herz", 1, "eins"},
                    {3, "NOL", "Welle", 3, "drei"},
                    {20, "NGG", "Stern", 2, bitmap},
                    {21, "RING", "Ode", 2, "4c2 4d2"}};
    else
        expected = {{1, "", "", 1, "eins"},
                    {3, "", "", 3, "drei"},
                    {20, "", "", 2, "Alles <Gute>!"},
                    {21, "", "", 2, "Prost"}};
    EXPECT_EQ(AllItems(table, c.logos), expected);
    EXPECT_EQ(table.RecordCount(), 2); // the category filter still holds
    client->Reopen();
    TClientDataSet& reread = c.logos ? DataModuleSMS->CDSLogos : DataModuleSMS->CDSTexts;
    EXPECT_EQ(AllItems(reread, c.logos), expected);
}

INSTANTIATE_TEST_SUITE_P(Loads, CatalogItems,
                         ::testing::Values(ItemCase{"Ringtones", 50470, true},
                                           ItemCase{"Logos", 50471, true},
                                           ItemCase{"Texts", 50472, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(BackupUnit, LogoCategoriesReplaceTheTableAndDropTheItemsOfGoneCategories)
{
    TDataModuleSMS& sms = *DataModuleSMS;
    for (int id : {1, 2}) {
        sms.CDSLogoCategory.Append();
        sms.CDSLogoCategory.FieldByName("ID").SetAsInteger(id);
        sms.CDSLogoCategory.Post();
    }
    AddItem(sms.CDSLogos, {10, "NOL", "a", 1, "x"}, true);
    AddItem(sms.CDSLogos, {11, "NOL", "b", 2, "y"}, true);
    sms.CommitLogoTables();

    const std::string icon("BM\0\x7f<>", 6);
    std::vector<TCSParam> p;
    p.push_back(TCSParam::Table("categories", CellTable({"id", "type", "name", "icon"},
                                                        {{I(5), T("NOL_NGG"), T("Liebe"), B(icon)},
                                                         {I(6), T("RING"), T("Klassik"), B("")}})));
    for (int id : {50473, 50474}) {
        ASSERT_EQ(Run(id, AnswerText(0, std::vector<TCSParam>(p))), 0);
        EXPECT_EQ(LastRequest().Name, "LOAD_LOGO_CATEGORIES");
        client->Reopen();
        TClientDataSet& c = DataModuleSMS->CDSLogoCategory;
        ASSERT_EQ(c.RecordCount(), 2);
        c.First();
        EXPECT_EQ(c.FieldByName("ID").AsInteger(), 5);
        EXPECT_EQ(c.FieldByName("TYPE").AsString(), "NOL_NGG");
        EXPECT_EQ(c.FieldByName("NAME").AsString(), "Liebe");
        EXPECT_EQ(c.FieldByName("ICON").AsString(), icon);
        EXPECT_TRUE(c.FieldByName("LAST_UPDATED").IsNull());
        c.Next();
        EXPECT_EQ(c.FieldByName("NAME").AsString(), "Klassik");
        EXPECT_TRUE(AllItems(DataModuleSMS->CDSLogos, true).empty());
    }
}

TEST_F(BackupUnit, TextCategoriesReplaceTheTable)
{
    TDataModuleSMS& sms = *DataModuleSMS;
    sms.CDSTextCategory.Append();
    sms.CDSTextCategory.FieldByName("ID").SetAsInteger(1);
    sms.CDSTextCategory.Post();
    AddItem(sms.CDSTexts, {10, "", "", 1, "alt"}, false);
    std::vector<TCSParam> p;
    p.push_back(TCSParam::Table("categories", CellTable({"id", "name"}, {{I(7), T("Sprüche")}})));
    ASSERT_EQ(Run(50475, AnswerText(0, std::move(p))), 0);
    EXPECT_EQ(LastRequest().Name, "LOAD_TEXT_CATEGORIES");
    client->Reopen();
    TClientDataSet& c = DataModuleSMS->CDSTextCategory;
    ASSERT_EQ(c.RecordCount(), 1);
    c.First();
    EXPECT_EQ(c.FieldByName("ID").AsInteger(), 7);
    EXPECT_EQ(c.FieldByName("NAME").AsString(), "Sprüche");
    EXPECT_TRUE(AllItems(DataModuleSMS->CDSTexts, false).empty());
}

TEST_F(BackupUnit, CatalogLoadsWithoutAColumnOrWithResult101KeepTheCache)
{
    TDataModuleSMS& sms = *DataModuleSMS;
    sms.CDSLogoCategory.Append();
    sms.CDSLogoCategory.FieldByName("ID").SetAsInteger(1);
    sms.CDSLogoCategory.Post();
    AddItem(sms.CDSLogos, {10, "NOL", "a", 1, "x"}, true);
    sms.CommitLogoTables();
    sms.SetCategoryFilter(1);

    std::vector<TCSParam> noIcon;
    noIcon.push_back(TCSParam::Table(
        "categories", CellTable({"id", "type", "name"}, {{I(5), T("RING"), T("x")}})));
    EXPECT_FALSE(RunFailing(50474, AnswerText(0, std::move(noIcon))).empty());
    std::vector<TCSParam> noData;
    noData.push_back(TCSParam::Table("items", CellTable({"id", "type", "name"}, {})));
    EXPECT_FALSE(RunFailing(50471, AnswerText(0, std::move(noData))).empty());
    EXPECT_EQ(Run(50471, AnswerText(101)), 101);

    EXPECT_EQ(sms.CDSLogoCategory.RecordCount(), 1);
    EXPECT_EQ(AllItems(sms.CDSLogos, true), (std::vector<Item>{{10, "NOL", "a", 1, "x"}}));
}

namespace {

struct Event
{
    int id;
    double date;
    std::string description;
    double when;
    bool operator==(const Event&) const = default;
};

std::vector<Event> Events()
{
    std::vector<Event> out;
    TClientDataSet& r = DataModuleReminder->CDSReminder;
    for (r.First(); !r.Eof(); r.Next())
        out.push_back(
            {r.FieldByName("REMINDER_ID").AsInteger(), r.FieldByName("REMIND_DATE").AsDateTime(),
             r.FieldByName("DESCRIPTION").AsString(), r.FieldByName("REMIND_WHEN").AsFloat()});
    return out;
}

const char* const kOptionFields[] = {"REMIND_BIRTHDAYS", "REMIND_WITH_SMS", "REMIND_WITH_EMAIL",
                                     "REMIND_BIRTHDAY_WITH_SMS", "REMIND_BIRTHDAY_WITH_EMAIL"};

} // namespace

TEST_F(BackupUnit, ReminderListUploadCarriesOptionsAndEvents)
{
    TClientDataSet& c = DataModuleCust->CDSCustomer;
    c.Edit();
    const bool options[] = {true, false, true, false, true};
    for (int i = 0; i < 5; ++i)
        c.FieldByName(kOptionFields[i]).SetAsBoolean(options[i]);
    c.Post();
    TClientDataSet& r = DataModuleReminder->CDSReminder;
    for (const Event& e :
         {Event{1, kNow + 10.75, "Zahnarzt <Dr. B>", 0.5}, Event{2, kNow + 30, "Urlaub", 7}}) {
        r.Append();
        r.FieldByName("REMINDER_ID").SetAsInteger(e.id);
        r.FieldByName("REMIND_DATE").SetAsDateTime(e.date);
        r.FieldByName("DESCRIPTION").SetAsString(e.description);
        r.FieldByName("REMIND_WHEN").SetAsFloat(e.when);
        r.Post();
    }
    ASSERT_EQ(Run(50461, AnswerText(0)), 0);
    const TCSDataString req = LastRequest();
    EXPECT_EQ(req.Name, "SAVE_REMINDER_LIST");
    EXPECT_EQ(ParamNames(req),
              (std::vector<std::string>{"email_address", "password", "remind_birthdays",
                                        "remind_with_sms", "remind_with_email",
                                        "remind_birthday_with_sms", "remind_birthday_with_email",
                                        "reminder_list", "my_version"}));
    EXPECT_EQ(req.GetParam("remind_birthdays").AsInt(), 1);
    EXPECT_EQ(req.GetParam("remind_with_sms").AsInt(), 0);
    EXPECT_EQ(req.GetParam("remind_birthday_with_email").AsInt(), 1);
    const TCSTable list = req.GetParam("reminder_list").AsTable();
    ASSERT_EQ(list.RowCount(), 2);
    EXPECT_EQ(list.ColumnName(0), "datetime");
    EXPECT_EQ(list.ColumnName(1), "description");
    EXPECT_EQ(list.ColumnName(2), "remind_when");
    EXPECT_NEAR(list.Cell(0, 0).AsDateTime(), kNow + 10.75, 1e-5);
    EXPECT_EQ(list.Cell(0, 1).AsString(), "Zahnarzt <Dr. B>");
    EXPECT_DOUBLE_EQ(list.Cell(1, 2).AsFloat(), 7);
}

TEST_F(BackupUnit, ReminderListLoadStoresOptionsAndNumbersTheEvents)
{
    TClientDataSet& r = DataModuleReminder->CDSReminder;
    r.Append();
    r.FieldByName("REMINDER_ID").SetAsInteger(9);
    r.FieldByName("DESCRIPTION").SetAsString("alt");
    r.Post();
    DataModuleReminder->CommitReminderList();

    auto answer = [](bool complete) {
        std::vector<TCSParam> p;
        const int values[] = {1, 1, 0, 2, 1}; // 2 is no "1"
        const char* names[] = {"remind_birthdays", "remind_with_sms", "remind_with_email",
                               "remind_birthday_with_sms", "remind_birthday_with_email"};
        for (int i = 0; i < 5; ++i)
            p.push_back(TCSParam::Int(names[i], values[i]));
        std::vector<std::string> columns = {"datetime", "description", "remind_when"};
        std::vector<std::vector<TCSParam>> rows = {{D(kNow + 1.5), T("Termin"), F(0.25)},
                                                   {D(kNow + 40), T("Geburtstag Ede"), F(3)}};
        if (!complete) {
            columns.pop_back();
            for (auto& row : rows)
                row.pop_back();
        }
        p.push_back(TCSParam::Table("reminder_list", CellTable(columns, rows)));
        return AnswerText(0, std::move(p));
    };

    // A list without its remind-before column changes neither the options nor the events.
    EXPECT_FALSE(RunFailing(50462, answer(false)).empty());
    TClientDataSet& c = DataModuleCust->CDSCustomer;
    for (const char* f : kOptionFields)
        EXPECT_FALSE(c.FieldByName(f).AsBoolean()) << f;
    EXPECT_EQ(Events(), (std::vector<Event>{{9, 0, "alt", 0}}));

    ASSERT_EQ(Run(50462, answer(true)), 0);
    EXPECT_EQ(LastRequest().Name, "LOAD_REMINDER_LIST");
    const std::vector<Event> expected = {{1, kNow + 1.5, "Termin", 0.25},
                                         {2, kNow + 40, "Geburtstag Ede", 3}};
    client->Reopen();
    const bool options[] = {true, true, false, false, true};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(DataModuleCust->CDSCustomer.FieldByName(kOptionFields[i]).AsBoolean(), options[i])
            << kOptionFields[i];
    const std::vector<Event> got = Events();
    ASSERT_EQ(got.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(got[i].id, expected[i].id);
        EXPECT_NEAR(got[i].date, expected[i].date, 1e-5);
        EXPECT_EQ(got[i].description, expected[i].description);
        EXPECT_DOUBLE_EQ(got[i].when, expected[i].when);
    }
}

TEST_F(BackupUnit, LatestVersionIsStored)
{
    std::vector<TCSParam> p;
    p.push_back(TCSParam::Text("latest_version", "0.98.00"));
    ASSERT_EQ(Run(50435, AnswerText(0, std::move(p))), 0);
    EXPECT_EQ(LastRequest().Name, "GET_LATEST_VERSION");
    EXPECT_EQ(AppParam->sLatestVersion, "0.98.00");
}
