#include "data/datacollection.h"
#include "data/datamoduleaddresses.h"
#include "data/datamodulecust.h"
#include "data/datamodulereminder.h"
#include "data/datamodulesms.h"
#include "data/profiles.h"
#include "data/tablefile.h"
#include "platform/clock.h"
#include "tests/data/dataenv.h"
#include "tests/support/testpaths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace riz;

namespace {

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

int RowsInFile(const std::string& path)
{
    TClientDataSet ds("F");
    ds.LoadFromFile(path);
    return ds.TotalRecordCount();
}

void AddCustomer(int id, const std::string& email, const std::string& first)
{
    TClientDataSet& c = DataModuleCust->CDSCustomer;
    c.Append();
    c.FieldByName("CUSTOMER_ID").SetAsInteger(id);
    c.FieldByName("EMAIL_ADDRESS").SetAsString(email);
    c.FieldByName("FIRST_NAME").SetAsString(first);
    c.FieldByName("PASSWORD").SetAsString("pw-" + first);
    c.Post();
}

void AddRow(TClientDataSet& ds, const std::string& field, const std::string& value)
{
    ds.Append();
    ds.FieldByName(field).SetAsString(value);
    ds.Post();
}

// Rows of every per-profile table that belong to the profile currently selected.
void AddProfileRows(const std::string& tag)
{
    AddRow(DataModuleSMS->CDSSMSHistory, "RECEIVER", tag);
    AddRow(DataModuleSMS->CDSSMSQueue, "RECEIVER", tag);
    AddRow(DataModuleSMS->CDSTree, "TREE", tag + ";");
    AddRow(DataModuleAddresses->CDSAddressBook, "NAME", tag);
    AddRow(DataModuleReminder->CDSReminder, "DESCRIPTION", tag);
}

std::vector<TClientDataSet*> ProfileTables()
{
    return {&DataModuleSMS->CDSSMSHistory, &DataModuleSMS->CDSSMSQueue, &DataModuleSMS->CDSTree,
            &DataModuleAddresses->CDSAddressBook, &DataModuleReminder->CDSReminder};
}

class DataModulesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        setenv("XDG_CONFIG_HOME", (home + "/config").c_str(), 1);
        Clock::SetNow(EncodeDate(2003, 6, 15) + 0.25);
    }
    void TearDown() override
    {
        env.Stop();
        Clock::Reset();
        unsetenv("XDG_CONFIG_HOME");
    }
    std::string DbFile(const std::string& name) const { return env.DataFile(name); }

    // Writes an older table file into the data folder.
    void WriteOldFile(const std::string& name, TFieldDefs defs,
                      const std::vector<std::vector<TValue>>& rows)
    {
        std::filesystem::create_directories(home + "/db");
        TClientDataSet ds("OLD");
        ds.FieldDefs = std::move(defs);
        ds.CreateDataSet();
        for (const auto& row : rows) {
            ds.Append();
            for (std::size_t i = 0; i < row.size(); ++i)
                ds.Fields(static_cast<int>(i)).SetValue(row[i]);
            ds.Post();
        }
        ds.SaveToFile(DbFile(name));
    }

    std::string home = test::TempDir("riz-dm");
    test::TDataEnvironment env{home};
};

TEST_F(DataModulesTest, FirstStartCreatesEmptyTablesAndTheMessageFiles)
{
    env.Start(false);
    EXPECT_EQ(DataModuleCust->LoggedInCustomerId, -1);
    EXPECT_EQ(DataModuleSMS->CustomerId, -1);
    EXPECT_EQ(DataModuleSMS->CharsPerPart, 160);
    EXPECT_EQ(DataModuleSMS->FreeSmsLeft, -1);
    EXPECT_EQ(DataModuleAddresses->CustomerId, -1);
    for (TClientDataSet* ds : ProfileTables())
        EXPECT_TRUE(ds->Active() && ds->IsEmpty()) << ds->Name();
    EXPECT_TRUE(DataModuleCust->CDSCustomer.IsEmpty());
    EXPECT_TRUE(DataModuleSMS->CDSSMSReceiver.Active());
    EXPECT_TRUE(DataModuleCust->CDSNeighborhood.Active());
    for (const char* name :
         {"sms_history.0.94.cds", "sms_queue.0.94.cds", "sms_tree.0.90.cds", "discounts.0.95.cds"})
        EXPECT_EQ(RowsInFile(DbFile(name)), 0) << name;
    for (const char* name : {"customer.0.96.cds", "sms_logos.0.94.cds", "banner.0.96.cds",
                             "sms_address_book.0.90.cds", "reminder_list.0.94.1cds"})
        EXPECT_FALSE(std::filesystem::exists(DbFile(name))) << name;
    EXPECT_FALSE(DataModuleCust->CustomerFileExists());
}

TEST_F(DataModulesTest, UpgradeFromAnOlderHistoryTag)
{
    // The 0.90 history had no QUEUE_IDS; a field it had is gone now.
    WriteOldFile("sms_history.0.90.cds",
                 {IntField("CUSTOMER_ID"), StrField("SMS_SENDER", 20), MemoField("RECEIVER"),
                  MemoField("SMS_TEXT"), DateTimeField("SENT_DATE"), MemoField("TREE"),
                  IntField("OBSOLETE")},
                 {{TValue(1), TValue(std::string("Anna")), TValue(std::string("+4917255")),
                   TValue(std::string("Hallo")), TValue(37000.5),
                   TValue(std::string("Gesendete SMS;")), TValue(9)},
                  {TValue(2), TValue(std::string("Bernd"))}});
    const std::string oldBytes = ReadBytes(DbFile("sms_history.0.90.cds"));
    env.Start(true);
    TClientDataSet& h = DataModuleSMS->CDSSMSHistory;
    ASSERT_EQ(h.RecordCount(), 2);
    h.First();
    EXPECT_EQ(h.FieldByName("CUSTOMER_ID").AsInteger(), 1); // copied, not the hook's -1
    EXPECT_EQ(h.FieldByName("SMS_TEXT").AsString(), "Hallo");
    EXPECT_DOUBLE_EQ(h.FieldByName("SENT_DATE").AsDateTime(), 37000.5);
    EXPECT_TRUE(h.FieldByName("QUEUE_IDS").IsNull());
    EXPECT_EQ(RowsInFile(DbFile("sms_history.0.94.cds")), 2); // written at the end of the start
    EXPECT_EQ(ReadBytes(DbFile("sms_history.0.90.cds")), oldBytes); // the old file stays
}

TEST_F(DataModulesTest, ZeroByteFileCountsAsMissing)
{
    WriteOldFile("sms_address_book.0.80.cds", {StrField("NAME", 100), StrField("CELL_PHONE", 50)},
                 {{TValue(std::string("Zoe")), TValue(std::string("+49 172 1"))},
                  {TValue(std::string("Anton")), TValue(std::string("0172-2"))}});
    std::ofstream(DbFile("sms_address_book.0.90.cds")).close();
    env.Start(true);
    TClientDataSet& ab = DataModuleAddresses->CDSAddressBook;
    ASSERT_EQ(ab.RecordCount(), 2);
    ab.First();
    EXPECT_EQ(ab.FieldByName("NAME").AsString(), "Anton");              // kept in NAME order
    EXPECT_EQ(ab.FieldByName("CELL_PHONE_DIGITS").AsString(), "01722"); // calculated
    EXPECT_EQ(RowsInFile(DbFile("sms_address_book.0.90.cds")), 2);      // written after the upgrade
}

TEST_F(DataModulesTest, TwoProfilesSeeOnlyTheirRows)
{
    env.Start(true);
    AddCustomer(1, "anna@example.de", "Anna");
    AddCustomer(2, "bernd@example.de", "Bernd");
    DataModuleCust->CommitCustomerTables();

    // Before the first selection every row shows.
    AddProfileRows("nobody");
    for (TClientDataSet* ds : ProfileTables())
        EXPECT_EQ(ds->RecordCount(), 1) << ds->Name();

    DataModuleCust->GoToCustomer("ANNA@example.de");
    for (TClientDataSet* ds : ProfileTables()) {
        EXPECT_EQ(ds->Filter().Text, "CUSTOMER_ID = 1") << ds->Name();
        EXPECT_TRUE(ds->IsEmpty()) << ds->Name();
    }
    AddProfileRows("anna");
    for (TClientDataSet* ds : ProfileTables()) {
        ASSERT_EQ(ds->RecordCount(), 1) << ds->Name();
        ds->First();
        EXPECT_EQ(ds->FieldByName("CUSTOMER_ID").AsInteger(), 1) << ds->Name();
    }
    DataModuleCust->GoToCustomer("bernd@example.de");
    for (TClientDataSet* ds : ProfileTables())
        EXPECT_TRUE(ds->IsEmpty()) << ds->Name();
    EXPECT_EQ(DataModuleSMS->CustomerId, 2);
    EXPECT_EQ(DataModuleReminder->CustomerId, 2);
}

TEST_F(DataModulesTest, RemovingAProfileRemovesItsRowsEverywhere)
{
    env.Start(true);
    AddCustomer(1, "anna@example.de", "Anna");
    AddCustomer(2, "bernd@example.de", "Bernd");
    DataModuleCust->CommitCustomerTables();
    DataModuleCust->GoToCustomer("bernd@example.de");
    AddProfileRows("bernd");
    TClientDataSet& addr = DataModuleCust->CDSCustAddr();
    addr.Append();
    addr.FieldByName("NICK_NAME").SetAsString("Zuhause");
    addr.Post();
    DataModuleCust->LoginCustomer("anna@example.de");
    AddProfileRows("anna");
    DataModuleSMS->CommitMessageTables();
    DataModuleAddresses->CommitAddressBook();
    DataModuleReminder->CommitReminderList();
    DataModuleCust->CommitCustomerTables();

    std::vector<int> errors;
    std::vector<std::string> questions;
    auto error = [&](int id) { errors.push_back(id); };
    bool answer = false;
    auto ask = [&](int id, const std::string& text) {
        EXPECT_EQ(id, 20201);
        questions.push_back(text);
        return answer;
    };
    EXPECT_EQ(RemoveProfile("", ask, error), TRemoveProfileResult::NoneSelected);
    EXPECT_EQ(RemoveProfile("anna@example.de", ask, error), TRemoveProfileResult::LoggedIn);
    EXPECT_EQ(errors, (std::vector<int>{10201, 10202}));
    EXPECT_EQ(RemoveProfile("bernd@example.de", ask, error), TRemoveProfileResult::Declined);
    EXPECT_EQ(DataModuleCust->CDSCustomer.RecordCount(), 2);
    answer = true;
    EXPECT_EQ(RemoveProfile("bernd@example.de", ask, error), TRemoveProfileResult::Removed);
    ASSERT_EQ(questions.size(), 2u);
    EXPECT_EQ(
        questions[0],
        "Wollen Sie das Benutzerprofil \"bernd@example.de\" wirklich von diesem PC entfernen?");

    // The logged-in profile is selected again, with its filters.
    EXPECT_EQ(DataModuleCust->CDSCustomer.FieldByName("EMAIL_ADDRESS").AsString(),
              "anna@example.de");
    for (TClientDataSet* ds : ProfileTables()) {
        EXPECT_EQ(ds->RecordCount(), 1) << ds->Name();
        EXPECT_EQ(ds->TotalRecordCount(), 1) << ds->Name();
    }
    std::vector<std::string> users;
    DataModuleCust->FillUsersIntoStringList(users);
    EXPECT_EQ(users, (std::vector<std::string>{"anna@example.de"}));

    // The removal reached every file.
    env.Stop();
    env.Start(true);
    for (TClientDataSet* ds : ProfileTables()) {
        ASSERT_EQ(ds->TotalRecordCount(), 1) << ds->Name();
        ds->First();
        EXPECT_EQ(ds->FieldByName("CUSTOMER_ID").AsInteger(), 1) << ds->Name();
    }
    EXPECT_EQ(DataModuleCust->CDSCustomer.TotalRecordCount(), 1);
}

TEST_F(DataModulesTest, DefaultProfileChoiceAfterRemoval)
{
    struct Case
    {
        std::vector<std::string> remaining;
        TDefaultProfileChoice before;
        TDefaultProfileChoice after;
    } cases[] = {
        {{"a@x.de"}, {"b@x.de", false}, {"a@x.de", false}},
        {{"a@x.de", "c@x.de"}, {"b@x.de", false}, {"a@x.de", true}},
        {{"a@x.de", "c@x.de"}, {"c@x.de", false}, {"c@x.de", false}}, // another default
        {{"a@x.de", "c@x.de"}, {"b@x.de", true}, {"b@x.de", true}},   // the list was chosen
    };
    for (const Case& c : cases) {
        const TDefaultProfileChoice got =
            DefaultChoiceAfterRemoval(c.remaining, "b@x.de", c.before);
        EXPECT_EQ(got.Chosen, c.after.Chosen);
        EXPECT_EQ(got.PromptForUser, c.after.PromptForUser);
    }
}

TEST_F(DataModulesTest, DeletingACategoryDeletesItsItemsAndKeepsTheFilter)
{
    env.Start(true);
    struct Kind
    {
        TClientDataSet* categories;
        TClientDataSet* items;
    } kinds[] = {{&DataModuleSMS->CDSLogoCategory, &DataModuleSMS->CDSLogos},
                 {&DataModuleSMS->CDSSoundCategory, &DataModuleSMS->CDSSounds},
                 {&DataModuleSMS->CDSTextCategory, &DataModuleSMS->CDSTexts}};
    for (const Kind& k : kinds) {
        for (int cat = 1; cat <= 3; ++cat) {
            k.categories->Append();
            k.categories->FieldByName("ID").SetAsInteger(cat);
            k.categories->Post();
            for (int i = 0; i < 2; ++i) {
                k.items->Append();
                k.items->FieldByName("ID").SetAsInteger(cat * 10 + i);
                k.items->FieldByName("CATEGORY").SetAsInteger(cat);
                k.items->Post();
            }
        }
    }
    DataModuleSMS->SetCategoryFilter(2);
    EXPECT_EQ(DataModuleSMS->CategoryId, 2);
    for (const Kind& k : kinds) {
        EXPECT_EQ(k.items->RecordCount(), 2) << k.items->Name();
        ASSERT_TRUE(k.categories->Locate("ID", TValue(1)));
        k.categories->Delete();
        EXPECT_EQ(k.items->Filter().Text, "CATEGORY = 2") << k.items->Name();
        EXPECT_EQ(k.items->RecordCount(), 2) << k.items->Name();
        EXPECT_EQ(k.items->TotalRecordCount(), 4) << k.items->Name();
        k.items->ClearFilter();
        for (k.items->First(); !k.items->Eof(); k.items->Next())
            EXPECT_NE(k.items->FieldByName("CATEGORY").AsInteger(), 1) << k.items->Name();
    }
    // Deleted in memory only; the catalog's commit writes them.
    EXPECT_FALSE(std::filesystem::exists(DbFile("sms_logos.0.94.cds")));
    DataModuleSMS->CommitLogoTables();
    EXPECT_EQ(RowsInFile(DbFile("sms_logos.0.94.cds")), 4);
    EXPECT_EQ(RowsInFile(DbFile("sms_logo_cat.0.96.cds")), 2);
}

TEST_F(DataModulesTest, UnreadableFileAtStartIsReportedAndLeftAlone)
{
    std::filesystem::create_directories(home + "/db");
    const std::string broken = DbFile("sms_history.0.94.cds");
    std::ofstream(broken, std::ios::binary) << "SQLite format 3\0 but not really";
    WriteOldFile("sms_queue.0.94.cds", {IntField("QUEUE_ID"), IntField("CUSTOMER_ID")},
                 {{TValue(1), TValue(1)}});
    const std::string before = ReadBytes(broken);
    try {
        env.Start(true);
        ADD_FAILURE() << "the start did not report the broken file";
    } catch (const ETableFileError& e) {
        EXPECT_EQ(e.Code, 19020);
        EXPECT_EQ(e.Path(), broken);
    }
    // Everything else opened and was written as usual.
    EXPECT_EQ(DataModuleSMS->CDSSMSQueue.RecordCount(), 1);
    EXPECT_TRUE(DataModuleAddresses->CDSAddressBook.Active());
    EXPECT_TRUE(DataModuleReminder->CDSReminder.Active());
    EXPECT_EQ(RowsInFile(DbFile("sms_tree.0.90.cds")), 0);
    EXPECT_EQ(ReadBytes(broken), before);

    // Later writes leave it alone too, while the other tables still reach their files.
    AddRow(DataModuleSMS->CDSSMSHistory, "RECEIVER", "x");
    AddRow(DataModuleSMS->CDSTree, "TREE", "Neu;");
    try {
        DataModuleSMS->CommitMessageTables();
        ADD_FAILURE() << "the broken file was written over";
    } catch (const ETableFileError& e) {
        EXPECT_EQ(e.Code, 19022);
    }
    EXPECT_EQ(ReadBytes(broken), before);
    EXPECT_EQ(RowsInFile(DbFile("sms_tree.0.90.cds")), 1);
}

TEST_F(DataModulesTest, WithoutAFinishedProfileFilesAreNotReadButKeptAside)
{
    WriteOldFile("sms_history.0.94.cds", {IntField("CUSTOMER_ID"), MemoField("RECEIVER")},
                 {{TValue(1), TValue(std::string("kept"))}});
    WriteOldFile("sms_history.0.90.cds", {IntField("CUSTOMER_ID"), MemoField("RECEIVER")},
                 {{TValue(1), TValue(std::string("older"))}});
    env.Start(false);
    EXPECT_TRUE(DataModuleSMS->CDSSMSHistory.IsEmpty());      // neither read nor upgraded
    EXPECT_EQ(RowsInFile(DbFile("sms_history.0.94.cds")), 0); // replaced by the start's write
    EXPECT_EQ(RowsInFile(DbFile(".~sms_history.0.94.cds.unread")), 1);
}

TEST_F(DataModulesTest, CustomerLookupsAndLogin)
{
    env.Start(true);
    try {
        DataModuleCust->GoToCustomer("nobody@example.de"); // empty table
        ADD_FAILURE();
    } catch (const EZKError& e) {
        EXPECT_EQ(e.Code, 19010);
        EXPECT_EQ(e.DetailString, "nobody@example.de");
    }
    AddCustomer(7, "anna@example.de", "Anna");
    DataModuleCust->LoginCustomer("Anna@Example.de");
    EXPECT_EQ(DataModuleCust->LoggedInCustomerId, 7);
    EXPECT_EQ(DataModuleCust->LoggedInFirstName, "Anna");
    EXPECT_EQ(DataModuleCust->LoggedInPassword, "pw-Anna");
    EXPECT_EQ(DataModuleAddresses->CustomerId, 7);

    for (int id : {30, 10, 20}) {
        TClientDataSet& addr = DataModuleCust->CDSCustAddr();
        addr.Append();
        addr.FieldByName("ADDRESS_ID").SetAsInteger(id);
        addr.FieldByName("NICK_NAME").SetAsString("Adresse " + std::to_string(id));
        addr.Post();
    }
    TClientDataSet& pay = DataModuleCust->CDSPaymentInfoNickNames();
    pay.Append();
    pay.FieldByName("NICK_NAME").SetAsString("Karte");
    pay.Post();
    DataModuleCust->GoToAddress("ADRESSE 20");
    EXPECT_EQ(DataModuleCust->CDSCustAddr().FieldByName("ADDRESS_ID").AsInteger(), 20);
    DataModuleCust->CDSCustAddr().First();
    EXPECT_EQ(DataModuleCust->CDSCustAddr().FieldByName("ADDRESS_ID").AsInteger(), 10);
    DataModuleCust->GoToPaymentInfo("karte");
    const std::pair<std::function<void()>, int> misses[] = {
        {[] { DataModuleCust->GoToAddress("Büro"); }, 19011},
        {[] { DataModuleCust->GoToPaymentInfo("Konto"); }, 19013},
        {[] { DataModuleCust->DeleteCustomer("x@y.de"); }, 19010}};
    for (const auto& [call, code] : misses) {
        try {
            call();
            ADD_FAILURE() << code;
        } catch (const EZKError& e) {
            EXPECT_EQ(e.Code, code);
        }
    }
    DataModuleCust->CommitCustomerTables();
    EXPECT_TRUE(DataModuleCust->CustomerFileExists());

    // Changes after the write can be discarded, nested rows included.
    AddCustomer(8, "bernd@example.de", "Bernd");
    DataModuleCust->GoToCustomer("anna@example.de");
    DataModuleCust->CDSCustAddr().First();
    DataModuleCust->CDSCustAddr().Delete();
    DataModuleCust->RollbackCustomerTables();
    EXPECT_EQ(DataModuleCust->CDSCustomer.RecordCount(), 1);
    DataModuleCust->GoToCustomer("anna@example.de");
    EXPECT_EQ(DataModuleCust->CDSCustAddr().RecordCount(), 3);

    DataModuleCust->LoginCustomer("");
    EXPECT_EQ(DataModuleCust->LoggedInCustomerId, -1);
    EXPECT_EQ(DataModuleCust->LoggedInFirstName, "");

    // The nested rows come back from the file in their order.
    env.Stop();
    env.Start(true);
    DataModuleCust->GoToCustomer("anna@example.de");
    TClientDataSet& addr = DataModuleCust->CDSCustAddr();
    std::vector<int> ids;
    for (addr.First(); !addr.Eof(); addr.Next())
        ids.push_back(addr.FieldByName("ADDRESS_ID").AsInteger());
    EXPECT_EQ(ids, (std::vector<int>{10, 20, 30}));
    EXPECT_EQ(DataModuleCust->CDSPaymentInfoNickNames().RecordCount(), 1);
}

TEST_F(DataModulesTest, AddressBookPostRecordsTheChangeTime)
{
    env.Start(true);
    EXPECT_EQ(AppParam->dtLastAddrBookChange, 0);
    TClientDataSet& ab = DataModuleAddresses->CDSAddressBook;
    ab.Append();
    ab.FieldByName("NAME").SetAsString("Anna");
    ab.FieldByName("CELL_PHONE").SetAsString("+49 (0)172-5555555");
    ab.Post();
    EXPECT_DOUBLE_EQ(AppParam->dtLastAddrBookChange, Clock::Now());
    EXPECT_EQ(ab.FieldByName("CELL_PHONE_DIGITS").AsString(), "4901725555555");
    ab.Edit();
    ab.FieldByName("CELL_PHONE").SetAsString("0171 1");
    ab.Post();
    EXPECT_EQ(ab.FieldByName("CELL_PHONE_DIGITS").AsString(), "01711");
}

TEST_F(DataModulesTest, FolderTableAndQueueEntry)
{
    env.Start(true);
    TClientDataSet& h = DataModuleSMS->CDSSMSHistory;
    for (const char* tree : {"Gesendete SMS;", "Privat;", "gesendete sms;", "Privat;Urlaub;"})
        AddRow(h, "TREE", tree);
    AddRow(DataModuleSMS->CDSTree, "TREE", "Alt;");
    DataModuleSMS->RebuildFolderTable();
    std::vector<std::string> folders;
    TClientDataSet& t = DataModuleSMS->CDSTree;
    for (t.First(); !t.Eof(); t.Next())
        folders.push_back(t.FieldByName("TREE").AsString());
    EXPECT_EQ(folders, (std::vector<std::string>{"Gesendete SMS;", "Privat;", "Privat;Urlaub;"}));
    EXPECT_TRUE(DataModuleSMS->FolderExists("PRIVAT;"));
    EXPECT_FALSE(DataModuleSMS->FolderExists("Alt;"));

    TClientDataSet& q = DataModuleSMS->CDSSMSQueue;
    q.Append();
    q.FieldByName("SMS_SENDER").SetAsString("Anna");
    q.FieldByName("SMS_TEXT").SetAsString("Bis gleich");
    q.FieldByName("SEND_DATE").SetAsDateTime(0);
    q.FieldByName("SEND_OPTION").SetAsString("logo");
    q.FieldByName("OPTION_ID").SetAsInteger(77);
    q.FieldByName("OPTION_TYPE").SetAsString("NOL");
    q.FieldByName("FREE").SetAsBoolean(true);
    q.FieldByName("DONT_SPLIT").SetAsBoolean(true);
    q.FieldByName("OWN_LOGO").SetAsBoolean(true);
    q.FieldByName("OWN_LOGO_DATA").SetAsString("BM\x01\x02");
    q.Post();
    DataModuleSMS->LoadQueueEntry();
    EXPECT_EQ(DataModuleSMS->SmsSender, "Anna");
    EXPECT_EQ(DataModuleSMS->SmsText, "Bis gleich");
    EXPECT_TRUE(DataModuleSMS->SendNow);
    EXPECT_EQ(DataModuleSMS->SendOption, "logo");
    EXPECT_EQ(DataModuleSMS->OptionId, 77);
    EXPECT_EQ(DataModuleSMS->OptionType, "NOL");
    EXPECT_TRUE(DataModuleSMS->FreeSms);
    EXPECT_TRUE(DataModuleSMS->DontSplit);
    EXPECT_EQ(DataModuleSMS->OwnLogoData, "BM\x01\x02");
    q.Edit();
    q.FieldByName("SEND_DATE").SetAsDateTime(EncodeDate(2003, 7, 1));
    q.Post();
    DataModuleSMS->LoadQueueEntry();
    EXPECT_FALSE(DataModuleSMS->SendNow);
    EXPECT_DOUBLE_EQ(DataModuleSMS->SendDate, EncodeDate(2003, 7, 1));
}

TEST(CountryTable, PaymentMethodTags)
{
    EXPECT_EQ(CountryPaymentMethodTags("de"),
              "<CSH><BEZ><CHK><ATMD><CC><VISA><MC><AMEX><DNRS><DSCV>");
    EXPECT_EQ(CountryPaymentMethodTags("us"), "<CSH><CHK><ATMD><CC><VISA><MC><AMEX><DNRS><DSCV>");
    EXPECT_EQ(CountryPaymentMethodTags("DE"), "");
    EXPECT_EQ(CountryPaymentMethodTags(""), "");
    ASSERT_EQ(DataCollectionCountry().size(), 2u);
    EXPECT_EQ(DataCollectionCountry()[0].DialCode, "49");
    EXPECT_EQ(DataCollectionCountry()[0].CurrencySymbols, "DM;\x80");
}

} // namespace
