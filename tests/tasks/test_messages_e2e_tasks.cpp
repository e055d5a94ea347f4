// The message, backup, catalog, history, reminder and version tasks against a real riz-service:
// what the service received and stored, and what the client keeps in its tables and files.
#include "data/appparam.h"
#include "data/datamoduleaddresses.h"
#include "data/datamodulecust.h"
#include "data/datamodulereminder.h"
#include "data/datamodulesms.h"
#include "platform/clock.h"
#include "platform/modalhook.h"
#include "protocol/csdatastring.h"
#include "tests/service/serviceclient.h"
#include "tests/support/clientinstall.h"
#include "tests/support/serviceprocess.h"

#include <gtest/gtest.h>

#include <memory>

using namespace riz;

namespace {

// A riz-service with one confirmed customer holding credits, and a client logged in as that
// customer.
class MessagesE2E : public ::testing::Test
{
protected:
    static constexpr const char* kEmail = "anna@example.de";
    static constexpr const char* kPassword = "Sommer2026";

    void SetUp() override
    {
        ModalHook::Clear();
        ModalHook::ClearHistory();
        Clock::Reset();
        test::ServiceOptions options;
        options.LatestVersion = "0.97.05";
        service = std::make_unique<test::ServiceProcess>(options);
        ASSERT_TRUE(service->Running()) << service->Error();
        test::ServiceClient helper(service->Host(), service->Port());
        customerId = helper.Register(kEmail, kPassword);
        ASSERT_GT(customerId, 0);
        service->Confirm(kEmail);
        service->SetCredits(kEmail, 1000);
        client = std::make_unique<test::ClientInstall>(service->Host(), service->Port());
        client->AddProfile(kEmail, kPassword, customerId);
    }
    void TearDown() override
    {
        client.reset();
        EXPECT_FALSE(ModalHook::HasPending());
    }

    int Run(int taskId) { return client->Execute(taskId) == 1 ? client->ResultCode() : -1; }
    // The last request of that name the service received, decoded.
    TCSDataString Received(const std::string& name) const
    {
        const auto requests = service->Requests(name);
        TCSDataString m;
        if (!requests.empty())
            m.Decode(requests.back().Message);
        return m;
    }
    void AddReceiver(int id, const std::string& number)
    {
        TClientDataSet& r = DataModuleSMS->CDSSMSReceiver;
        r.Append();
        r.FieldByName("RECEIVER_ID").SetAsInteger(id);
        r.FieldByName("RECEIVER_NUMBER").SetAsString(number);
        r.FieldByName("RESPONSE_CODE").SetAsInteger(-1);
        r.Post();
    }
    std::string ReceiverField(int id, const std::string& field)
    {
        TClientDataSet& r = DataModuleSMS->CDSSMSReceiver;
        EXPECT_TRUE(r.Locate("RECEIVER_ID", TValue(std::int32_t(id))));
        return r.FieldByName(field).AsString();
    }
    int LocalCredits() { return DataModuleCust->CDSCustomer.FieldByName("CREDITS").AsInteger(); }

    std::unique_ptr<test::ServiceProcess> service;
    std::unique_ptr<test::ClientInstall> client;
    int customerId = 0;
};

std::vector<std::string> SplitIds(const std::string& ids)
{
    std::vector<std::string> out;
    std::size_t start = 0;
    for (std::size_t c = ids.find(','); c != std::string::npos; c = ids.find(',', start)) {
        out.push_back(ids.substr(start, c - start));
        start = c + 1;
    }
    return out;
}

} // namespace

TEST_F(MessagesE2E, SendHistoryFoldersAndDeletion)
{
    AddReceiver(1, "+491721234567");
    AddReceiver(2, "+4930123456"); // a landline: no mobile area code
    AddReceiver(3, "+491739876543");
    const std::string first(160, 'a');
    const std::string text = first + "Ende";
    DataModuleSMS->SmsText = text;
    DataModuleSMS->SmsSender = "Anna";

    ASSERT_EQ(Run(50441), 0);
    const TCSDataString req = Received("SEND_SMS");
    EXPECT_EQ(req.Ver, "1.01");
    EXPECT_EQ(req.GetParam("sms_text").AsString(), text);
    EXPECT_EQ(req.GetParam("receivers").AsTable().RowCount(), 3);

    // Two parts to two receivers at 1.5 credits a part; the landline costs nothing.
    EXPECT_EQ(service->Credits(kEmail), 1000 - 4 * 15);
    EXPECT_EQ(LocalCredits(), 1000 - 4 * 15);
    EXPECT_EQ(ReceiverField(2, "RESPONSE_CODE"), "82");
    EXPECT_EQ(ReceiverField(2, "QUEUE_IDS"), "");
    const std::string ids1 = ReceiverField(1, "QUEUE_IDS");
    const std::string ids3 = ReceiverField(3, "QUEUE_IDS");
    EXPECT_EQ(ReceiverField(1, "RESPONSE_CODE"), "-1");
    ASSERT_EQ(SplitIds(ids1).size(), 2u);
    ASSERT_EQ(SplitIds(ids3).size(), 2u);
    EXPECT_EQ(service->PhoneInbox("+491721234567").size(), 2u);
    EXPECT_TRUE(service->PhoneInbox("+4930123456").empty());
    EXPECT_EQ(DataModuleSMS->FreeSmsLeft, 5);
    EXPECT_EQ(AppParam->sLatestVersion, "0.97.05");
    client->Reopen();
    EXPECT_EQ(LocalCredits(), 1000 - 4 * 15);

    // The history: one row per receiver, its parts joined.
    ASSERT_EQ(Run(50445), 0);
    TClientDataSet& h = DataModuleSMS->CDSSMSHistory;
    ASSERT_EQ(h.RecordCount(), 2);
    h.First();
    EXPECT_EQ(h.FieldByName("QUEUE_IDS").AsString(), ids1);
    EXPECT_EQ(h.FieldByName("SMS_TEXT").AsString(), first + " Ende");
    EXPECT_EQ(h.FieldByName("SMS_SENDER").AsString(), "Anna");
    EXPECT_EQ(h.FieldByName("RECEIVER").AsString(), "+491721234567");
    EXPECT_EQ(h.FieldByName("TREE").AsString(), "Gesendete SMS;");
    h.Next();
    EXPECT_EQ(h.FieldByName("QUEUE_IDS").AsString(), ids3);

    // A message filed in a folder of its own: the service keeps the folder of both its parts.
    h.First();
    h.Edit();
    h.FieldByName("TREE").SetAsString("Privat;Anna;");
    h.Post();
    ASSERT_EQ(Run(50447), 0);
    const auto trees = service->Query(
        "SELECT queue_id, tree FROM messages WHERE customer_id = ?1 ORDER BY queue_id",
        {std::to_string(customerId)});
    const auto p1 = SplitIds(ids1);
    const auto p3 = SplitIds(ids3);
    const std::vector<std::vector<std::string>> expectedTrees = {{p1[0], "Privat;Anna;"},
                                                                 {p1[1], "Privat;Anna;"},
                                                                 {p3[0], "Gesendete SMS;"},
                                                                 {p3[1], "Gesendete SMS;"}};
    EXPECT_EQ(trees, expectedTrees);

    // Deleting the second message on the service; the next load has the first one only, with
    // its folder from the service.
    DataModuleSMS->HistoryIdsToDelete = p3;
    ASSERT_EQ(Run(50446), 0);
    EXPECT_EQ(Received("DELETE_SMS_HISTORY").GetParam("queue_id").AsTable().RowCount(), 2);
    EXPECT_EQ(service->Query("SELECT COUNT(*) FROM messages WHERE deleted = 1")[0][0], "2");
    ASSERT_EQ(Run(50445), 0);
    client->Reopen();
    TClientDataSet& reread = DataModuleSMS->CDSSMSHistory;
    ASSERT_EQ(reread.RecordCount(), 1);
    reread.First();
    EXPECT_EQ(reread.FieldByName("QUEUE_IDS").AsString(), ids1);
    EXPECT_EQ(reread.FieldByName("TREE").AsString(), "Privat;Anna;");
    ASSERT_EQ(DataModuleSMS->CDSTree.RecordCount(), 1);
    DataModuleSMS->CDSTree.First();
    EXPECT_EQ(DataModuleSMS->CDSTree.FieldByName("TREE").AsString(), "Privat;Anna;");
}

TEST_F(MessagesE2E, SponsoredSendStoresTheBannersAndListsThemNextTime)
{
    AddReceiver(1, "+491721234567");
    DataModuleSMS->SmsText = "Gratis";
    DataModuleSMS->FreeSms = true;
    ASSERT_EQ(Run(50441), 0);
    EXPECT_EQ(Received("SEND_SMS").GetParam("banners").AsString(), "");
    const auto sponsors = service->Query("SELECT id FROM banners ORDER BY id");
    ASSERT_FALSE(sponsors.empty());
    EXPECT_EQ(DataModuleSMS->FreeSmsLeft, 4);
    client->Reopen();
    TClientDataSet& b = DataModuleSMS->CDSBanner;
    ASSERT_EQ(b.RecordCount(), static_cast<int>(sponsors.size()));
    std::string held;
    for (b.First(); !b.Eof(); b.Next()) {
        held += "<" + b.FieldByName("BANNER_ID").AsString() + ">";
        EXPECT_FALSE(b.FieldByName("BANNER").AsString().empty());
    }
    EXPECT_EQ(service->Credits(kEmail), 1000);

    DataModuleSMS->FreeSms = true;
    DataModuleSMS->SmsText = "Nochmal";
    ASSERT_EQ(Run(50441), 0);
    EXPECT_EQ(Received("SEND_SMS").GetParam("banners").AsString(), held);
    EXPECT_TRUE(held.find("<" + std::to_string(DataModuleSMS->BannerToShow) + ">") !=
                std::string::npos);
    EXPECT_EQ(DataModuleSMS->CDSBanner.RecordCount(), static_cast<int>(sponsors.size()));
}

struct SendCodeCase
{
    const char* name;
    bool confirm;
    std::string password;
    int credits;
    bool free;
    int receivers;
    int expected;
};

class SendResultCodes : public MessagesE2E, public ::testing::WithParamInterface<SendCodeCase>
{
};

TEST_P(SendResultCodes, AreReportedAndLeaveTheReceiversAlone)
{
    const SendCodeCase& c = GetParam();
    if (!c.confirm) {
        test::ServiceClient helper(service->Host(), service->Port());
        const int id = helper.Register("neu@example.de", "pw");
        ASSERT_GT(id, 0);
        client->AddProfile("neu@example.de", "pw", id);
    }
    if (!c.password.empty()) {
        TClientDataSet& cust = DataModuleCust->CDSCustomer;
        cust.Edit();
        cust.FieldByName("PASSWORD").SetAsString(c.password);
        cust.Post();
    }
    service->SetCredits(kEmail, c.credits);
    for (int i = 1; i <= c.receivers; ++i)
        AddReceiver(i, "+49172123456" + std::to_string(i));
    DataModuleSMS->SmsText = "Hallo";
    DataModuleSMS->FreeSms = c.free;
    ASSERT_EQ(Run(50441), c.expected);
    EXPECT_EQ(ReceiverField(1, "QUEUE_IDS"), "");
    EXPECT_TRUE(service->PhoneInbox("+491721234561").empty());
    if (c.expected == 87)
        EXPECT_EQ(DataModuleSMS->FreeSmsLeft, 5);
    else
        EXPECT_EQ(DataModuleSMS->FreeSmsLeft, -1);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, SendResultCodes,
    ::testing::Values(SendCodeCase{"Unconfirmed", false, "", 1000, false, 1, 5},
                      SendCodeCase{"WrongPassword", true, "falsch", 1000, false, 1, 11},
                      SendCodeCase{"TooFewCredits", true, "", 20, false, 2, 86},
                      SendCodeCase{"FreeLimit", true, "", 1000, true, 6, 87}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MessagesE2E, CatalogLogoRingtoneAndOwnLogoReachThePhone)
{
    ASSERT_EQ(Run(50474), 0);
    TClientDataSet& cats = DataModuleSMS->CDSLogoCategory;
    const auto serviceCats =
        service->Query("SELECT id, type, name FROM logo_categories ORDER BY id");
    ASSERT_EQ(cats.RecordCount(), static_cast<int>(serviceCats.size()));
    int logoCategory = 0;
    int ringCategory = 0;
    int i = 0;
    for (cats.First(); !cats.Eof(); cats.Next(), ++i) {
        EXPECT_EQ(cats.FieldByName("ID").AsString(), serviceCats[i][0]);
        EXPECT_EQ(cats.FieldByName("TYPE").AsString(), serviceCats[i][1]);
        EXPECT_EQ(cats.FieldByName("NAME").AsString(), serviceCats[i][2]);
        EXPECT_FALSE(cats.FieldByName("ICON").AsString().empty());
        if (serviceCats[i][1] == "NOL_NGG" && !logoCategory)
            logoCategory = cats.FieldByName("ID").AsInteger();
        if (serviceCats[i][1] == "RING" && !ringCategory)
            ringCategory = cats.FieldByName("ID").AsInteger();
    }
    ASSERT_TRUE(logoCategory && ringCategory);

    // Items of both kinds land in the one item table, each under its category.
    DataModuleSMS->SetCategoryFilter(logoCategory);
    ASSERT_EQ(Run(50471), 0);
    EXPECT_EQ(Received("LOAD_LOGOS").GetParam("category").AsInt(), logoCategory);
    TClientDataSet& items = DataModuleSMS->CDSLogos;
    const auto serviceLogos = service->Query("SELECT COUNT(*) FROM logos WHERE category = ?1",
                                             {std::to_string(logoCategory)});
    ASSERT_EQ(std::to_string(items.RecordCount()), serviceLogos[0][0]);
    items.First();
    const int logoId = items.FieldByName("ID").AsInteger();
    const std::string logoName = items.FieldByName("NAME").AsString();
    const std::string bitmap = items.FieldByName("DATA").AsString();
    EXPECT_EQ(bitmap.substr(0, 2), "BM");
    DataModuleSMS->SetCategoryFilter(ringCategory);
    ASSERT_EQ(Run(50470), 0);
    ASSERT_GT(items.RecordCount(), 0);
    items.First();
    const int ringId = items.FieldByName("ID").AsInteger();
    client->Reopen();
    DataModuleSMS->SetCategoryFilter(logoCategory);
    EXPECT_EQ(std::to_string(DataModuleSMS->CDSLogos.RecordCount()), serviceLogos[0][0]);

    AddReceiver(1, "+491721234567");
    TDataModuleSMS& sms = *DataModuleSMS;
    struct Send
    {
        std::string option;
        int id;
        bool own;
        std::string delivered;
        int price;
    };
    const Send sends[] = {{"logo", logoId, false, "[Logo " + logoName + "]", 30},
                          {"logo", 0, true, "[Eigenes Logo]", 30},
                          {"sound", ringId, false, "", 30}};
    int credits = 1000;
    for (const Send& s : sends) {
        SCOPED_TRACE(s.option + (s.own ? " own" : ""));
        sms.SendOption = s.option;
        sms.OptionId = s.id;
        sms.OptionType = "NOL";
        sms.OwnLogo = s.own;
        sms.OwnLogoData = s.own ? bitmap : std::string();
        ASSERT_EQ(Run(50441), 0);
        credits -= s.price;
        EXPECT_EQ(LocalCredits(), credits);
        EXPECT_EQ(ReceiverField(1, "RESPONSE_CODE"), "-1");
        const auto inbox = service->PhoneInbox("+491721234567");
        ASSERT_FALSE(inbox.empty());
        EXPECT_EQ(inbox.back().Kind, s.option);
        if (!s.delivered.empty()) {
            EXPECT_EQ(inbox.back().Text, s.delivered);
        }
    }
    EXPECT_EQ(service->Credits(kEmail), credits);
}

TEST_F(MessagesE2E, TextCatalogAndNothingOnTheServer)
{
    ASSERT_EQ(Run(50475), 0);
    TClientDataSet& cats = DataModuleSMS->CDSTextCategory;
    const auto serviceCats = service->Query("SELECT id, name FROM text_categories ORDER BY id");
    ASSERT_EQ(cats.RecordCount(), static_cast<int>(serviceCats.size()));
    cats.First();
    const int category = cats.FieldByName("ID").AsInteger();
    EXPECT_EQ(cats.FieldByName("NAME").AsString(), serviceCats[0][1]);
    DataModuleSMS->SetCategoryFilter(category);
    ASSERT_EQ(Run(50472), 0);
    const auto serviceTexts = service->Query(
        "SELECT data FROM texts WHERE category = ?1 ORDER BY id", {std::to_string(category)});
    TClientDataSet& texts = DataModuleSMS->CDSTexts;
    ASSERT_EQ(texts.RecordCount(), static_cast<int>(serviceTexts.size()));
    texts.First();
    EXPECT_EQ(texts.FieldByName("DATA").AsString(), serviceTexts[0][0]);

    // An empty category: 101, and the cache stays.
    DataModuleSMS->SetCategoryFilter(99999);
    EXPECT_EQ(Run(50472), 101);
    DataModuleSMS->SetCategoryFilter(category);
    EXPECT_EQ(texts.RecordCount(), static_cast<int>(serviceTexts.size()));
}

TEST_F(MessagesE2E, AddressBookBackupRoundTrip)
{
    struct Contact
    {
        std::string name, cell, lists;
        double birthday;
    };
    const std::vector<Contact> book = {{"<Chef>", "0172 1111111", "Büro\\Team;", 29000},
                                       {"Ede > Emil", "", "", 0}};
    TClientDataSet& a = DataModuleAddresses->CDSAddressBook;
    for (const Contact& c : book) {
        a.Append();
        a.FieldByName("NAME").SetAsString(c.name);
        a.FieldByName("CELL_PHONE").SetAsString(c.cell);
        a.FieldByName("DISTRIBUTION_LIST").SetAsString(c.lists);
        if (c.birthday)
            a.FieldByName("BIRTHDAY").SetAsDateTime(c.birthday);
        a.Post();
    }
    ASSERT_EQ(Run(50442), 0);
    const auto stored = service->Query(
        "SELECT name, cell_phone, distribution_list, birthday <> '' FROM address_book "
        "WHERE customer_id = ?1 ORDER BY pos",
        {std::to_string(customerId)});
    const std::vector<std::vector<std::string>> expected = {
        {"<Chef>", "0172 1111111", "Büro\\Team;", "1"}, {"Ede > Emil", "", "", "0"}};
    EXPECT_EQ(stored, expected);

    while (a.RecordCount() > 0) {
        a.First();
        a.Delete();
    }
    DataModuleAddresses->CommitAddressBook();
    ASSERT_EQ(Run(50443), 0);
    client->Reopen();
    TClientDataSet& back = DataModuleAddresses->CDSAddressBook;
    ASSERT_EQ(back.RecordCount(), 2);
    back.First();
    EXPECT_EQ(back.FieldByName("NAME").AsString(), "<Chef>");
    EXPECT_EQ(back.FieldByName("DISTRIBUTION_LIST").AsString(), "Büro\\Team;");
    EXPECT_DOUBLE_EQ(back.FieldByName("BIRTHDAY").AsDateTime(), 29000);
    back.Next();
    EXPECT_EQ(back.FieldByName("NAME").AsString(), "Ede > Emil");
    EXPECT_TRUE(back.FieldByName("BIRTHDAY").IsNull());

    // The empty book: saved as a table without rows, loaded back as an empty book.
    TClientDataSet& now = DataModuleAddresses->CDSAddressBook;
    while (now.RecordCount() > 0) {
        now.First();
        now.Delete();
    }
    ASSERT_EQ(Run(50442), 0);
    EXPECT_EQ(service->Query("SELECT COUNT(*) FROM address_book")[0][0], "0");
    now.Append();
    now.FieldByName("NAME").SetAsString("lokal");
    now.Post();
    ASSERT_EQ(Run(50443), 0);
    EXPECT_EQ(now.RecordCount(), 0);
}

TEST_F(MessagesE2E, ReminderListUploadAndDownload)
{
    const double when = Clock::Now() + 30;
    TClientDataSet& cust = DataModuleCust->CDSCustomer;
    cust.Edit();
    cust.FieldByName("REMIND_BIRTHDAYS").SetAsBoolean(true);
    cust.FieldByName("REMIND_WITH_EMAIL").SetAsBoolean(true);
    cust.Post();
    TClientDataSet& r = DataModuleReminder->CDSReminder;
    r.Append();
    r.FieldByName("REMINDER_ID").SetAsInteger(1);
    r.FieldByName("REMIND_DATE").SetAsDateTime(when);
    r.FieldByName("DESCRIPTION").SetAsString("Zahnarzt <Dr. B>");
    r.FieldByName("REMIND_WHEN").SetAsFloat(0.5);
    r.Post();
    ASSERT_EQ(Run(50461), 0);
    const auto stored =
        service->Query("SELECT description, remind_when FROM reminders WHERE customer_id = ?1",
                       {std::to_string(customerId)});
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0][0], "Zahnarzt <Dr. B>");
    EXPECT_EQ(
        service->Query("SELECT remind_birthdays, remind_with_sms, remind_with_email FROM customers "
                       "WHERE id = ?1",
                       {std::to_string(customerId)})[0],
        (std::vector<std::string>{"1", "0", "1"}));

    // Local state lost, then loaded from the service.
    while (r.RecordCount() > 0) {
        r.First();
        r.Delete();
    }
    cust.Edit();
    cust.FieldByName("REMIND_BIRTHDAYS").SetAsBoolean(false);
    cust.Post();
    ASSERT_EQ(Run(50462), 0);
    client->Reopen();
    TClientDataSet& back = DataModuleReminder->CDSReminder;
    ASSERT_EQ(back.RecordCount(), 1);
    back.First();
    EXPECT_EQ(back.FieldByName("REMINDER_ID").AsInteger(), 1);
    EXPECT_EQ(back.FieldByName("DESCRIPTION").AsString(), "Zahnarzt <Dr. B>");
    EXPECT_NEAR(back.FieldByName("REMIND_DATE").AsDateTime(), when, 1e-5);
    EXPECT_DOUBLE_EQ(back.FieldByName("REMIND_WHEN").AsFloat(), 0.5);
    EXPECT_TRUE(DataModuleCust->CDSCustomer.FieldByName("REMIND_BIRTHDAYS").AsBoolean());
    EXPECT_TRUE(DataModuleCust->CDSCustomer.FieldByName("REMIND_WITH_EMAIL").AsBoolean());
    EXPECT_FALSE(DataModuleCust->CDSCustomer.FieldByName("REMIND_WITH_SMS").AsBoolean());

    // SMS reminders with too few credits: 86.
    service->SetCredits(kEmail, 5);
    TClientDataSet& c2 = DataModuleCust->CDSCustomer;
    c2.Edit();
    c2.FieldByName("REMIND_WITH_SMS").SetAsBoolean(true);
    c2.Post();
    EXPECT_EQ(Run(50461), 86);
}

TEST_F(MessagesE2E, LatestVersionAndWrongLogin)
{
    AppParam->bDontAskForUpdates = true;
    ASSERT_EQ(Run(50435), 0);
    EXPECT_EQ(AppParam->sLatestVersion, "0.97.05");
    EXPECT_FALSE(AppParam->bDontAskForUpdates);
    EXPECT_EQ(service->Requests("GET_LATEST_VERSION").size(), 1u);

    TClientDataSet& cust = DataModuleCust->CDSCustomer;
    cust.Edit();
    cust.FieldByName("PASSWORD").SetAsString("falsch");
    cust.Post();
    for (int id : {50442, 50443, 50445, 50446, 50447, 50461, 50462, 50474, 50471, 50475}) {
        SCOPED_TRACE(id);
        EXPECT_EQ(Run(id), 11);
    }
}

TEST_F(MessagesE2E, UnconfirmedCustomerGetsFiveForTheBackups)
{
    test::ServiceClient helper(service->Host(), service->Port());
    const int id = helper.Register("neu@example.de", "pw");
    ASSERT_GT(id, 0);
    client->AddProfile("neu@example.de", "pw", id);
    for (int task : {50442, 50461}) {
        SCOPED_TRACE(task);
        EXPECT_EQ(Run(task), 5);
    }
    EXPECT_EQ(service->Query("SELECT COUNT(*) FROM reminders")[0][0], "0");
}

TEST(MessagesE2EEmptyCatalog, CatalogLoadsGive101AndKeepTheCache)
{
    ModalHook::Clear();
    test::ServiceOptions options;
    options.Seed = false;
    test::ServiceProcess service(options);
    ASSERT_TRUE(service.Running()) << service.Error();
    test::ServiceClient helper(service.Host(), service.Port());
    const int id = helper.Register("leer@example.de", "pw");
    ASSERT_GT(id, 0);
    test::ClientInstall client(service.Host(), service.Port());
    client.AddProfile("leer@example.de", "pw", id);
    TClientDataSet& cats = DataModuleSMS->CDSLogoCategory;
    cats.Append();
    cats.FieldByName("ID").SetAsInteger(1);
    cats.Post();
    DataModuleSMS->SetCategoryFilter(1);
    for (int task : {50473, 50474, 50470, 50471, 50475, 50472}) {
        SCOPED_TRACE(task);
        ASSERT_EQ(client.Execute(task), 1);
        EXPECT_EQ(client.ResultCode(), 101);
    }
    EXPECT_EQ(DataModuleSMS->CDSLogoCategory.RecordCount(), 1);
}
