// Address book and reminder backups, and the scheduler that reminds events and birthdays.

#include "tests/service/servicefixture.h"

#include "platform/calendar.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <thread>

namespace riz::test {
namespace {

class BackupTest : public ServiceTest
{
protected:
    static double NowDays()
    {
        const time_t t = time(nullptr);
        std::tm local{};
        localtime_r(&t, &local);
        return riz::calendar::DateValue(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) +
               (local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec) / 86400.0;
    }

    // A birthday of a year long ago that falls `ahead` days from today.
    static std::string BirthdayIn(int ahead)
    {
        int y = 0, m = 0, d = 0;
        riz::calendar::CivilFromDays(
            static_cast<long long>(NowDays()) + ahead + riz::calendar::kEpochOffset, y, m, d);
        if (m == 2 && d == 29)
            d = 28; // not every year has it
        char buf[32];
        std::snprintf(buf, sizeof buf, "1980-%02d-%02d 00:00:00", m, d);
        return buf;
    }

    ServiceClient::Reply SaveReminders(const std::string& email, std::vector<int> options,
                                       const std::vector<std::vector<std::string>>& rows)
    {
        const char* names[] = {"remind_birthdays", "remind_with_sms", "remind_with_email",
                               "remind_birthday_with_sms", "remind_birthday_with_email"};
        std::vector<TCSParam> params;
        for (int i = 0; i < 5; ++i)
            params.push_back(TCSParam::Int(names[i], options[static_cast<size_t>(i)]));
        TCSTable list;
        list.SetColumnCount(3);
        list.ColumnName(0) = "datetime";
        list.ColumnName(1) = "description";
        list.ColumnName(2) = "remind_when";
        for (const auto& row : rows) {
            list.AddRow();
            list.CurrentCell(0).SetDateTime(std::stod(row[0]));
            list.CurrentCell(1).SetString(row[1]);
            list.CurrentCell(2).SetFloat(std::stod(row[2]));
        }
        params.push_back(TCSParam::Table("reminder_list", list));
        ServiceClient client = Client();
        return client.Call("SAVE_REMINDER_LIST", std::move(params), email, "geheim");
    }

    template <typename F> static bool WaitFor(F done)
    {
        for (int i = 0; i < 100; ++i) {
            if (done())
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return done();
    }
};

const std::vector<std::string> kBook = {
    "name",       "email_address", "home_phone",       "office_phone",
    "cell_phone", "birthday",      "distribution_list"};

TEST_F(BackupTest, AddressBookRoundTripKeepsEscapesAndEmptyBirthdays)
{
    const std::string email = NewCustomer("book", 0);
    ServiceClient client = Client();
    const std::vector<std::vector<std::string>> rows = {
        {"Anna \\<Chefin\\>", "anna@example.org", "030 1", "030 2", "0172 5555555",
         "1975-03-01 00:00:00", ""},
        {"Bernd", "", "", "", "", "", ""},
        {"Freunde", "", "", "", "", "", "Anna \\<Chefin\\>;Bernd;"},
        {"J\xFCrgen", "", "", "", "+49 171 1234567", "2000-02-29 00:00:00", ""},
    };
    auto save =
        client.Call("SAVE_SMS_ADDRESS_BOOK",
                    {TCSParam::Table("address_book", MakeTextTable(kBook, rows))}, email, "geheim");
    ASSERT_EQ(save.Rslt(), 0);
    auto load = client.Call("LOAD_SMS_ADDRESS_BOOK", {}, email, "geheim");
    ASSERT_EQ(load.Rslt(), 0);
    EXPECT_EQ(TableRows(load.Message, "address_book", kBook), rows);
    EXPECT_TRUE(load.Message.GetParam("address_book").AsTable().Cell(1, 5).Value.empty());

    // Saving an empty book empties the backup; another customer's book is untouched.
    const std::string other = NewCustomer("book", 0);
    ASSERT_EQ(client
                  .Call("SAVE_SMS_ADDRESS_BOOK",
                        {TCSParam::Table("address_book", MakeTextTable(kBook, {}))}, other,
                        "geheim")
                  .Rslt(),
              0);
    EXPECT_EQ(client.Call("LOAD_SMS_ADDRESS_BOOK", {}, other, "geheim")
                  .Message.GetParam("address_book")
                  .AsTable()
                  .RowCount(),
              0);
    EXPECT_EQ(TableRows(client.Call("LOAD_SMS_ADDRESS_BOOK", {}, email, "geheim").Message,
                        "address_book", kBook)
                  .size(),
              4u);

    // A birthday read as a date whatever its separators goes back in the one date form.
    TCSTable odd = MakeTextTable(kBook, {{"Odd", "", "", "", "", "", ""}});
    odd.Cell(0, 5).Value = "1975<03>01 00:00:00";
    ASSERT_EQ(
        client
            .Call("SAVE_SMS_ADDRESS_BOOK", {TCSParam::Table("address_book", odd)}, other, "geheim")
            .Rslt(),
        0);
    EXPECT_EQ(client.Call("LOAD_SMS_ADDRESS_BOOK", {}, other, "geheim")
                  .Message.GetParam("address_book")
                  .AsTable()
                  .Cell(0, 5)
                  .Value,
              "1975-03-01 00:00:00");

    // An impossible birthday is refused and leaves the old backup.
    auto bad = client.Call(
        "SAVE_SMS_ADDRESS_BOOK",
        {TCSParam::Table("address_book",
                         MakeTextTable(kBook, {{"X", "", "", "", "", "2001-02-30 00:00:00", ""}}))},
        email, "geheim");
    EXPECT_NE(bad.Rslt(), 0);
    EXPECT_EQ(TableRows(client.Call("LOAD_SMS_ADDRESS_BOOK", {}, email, "geheim").Message,
                        "address_book", kBook),
              rows);
}

TEST_F(BackupTest, ReminderListRoundTripAndSmsRemindersNeedCredits)
{
    const std::string email = NewCustomer("rem", 0);
    const double future = static_cast<double>(static_cast<long long>(NowDays())) + 30 + 0.5;
    char when[32];
    std::snprintf(when, sizeof when, "%.6f", future);
    auto r = SaveReminders(email, {1, 1, 0, 0, 1}, {{when, "Zahnarzt", "0.25"}});
    ASSERT_TRUE(r.Decoded);
    EXPECT_EQ(r.Rslt(), 86) << "SMS reminders with no credits";
    ServiceClient client = Client();
    auto load = client.Call("LOAD_REMINDER_LIST", {}, email, "geheim");
    ASSERT_EQ(load.Rslt(), 0);
    // Stored with e-mail instead, as the client switches its options on 86.
    EXPECT_EQ(load.Message.GetParam("remind_with_sms").AsInt(), 0);
    EXPECT_EQ(load.Message.GetParam("remind_with_email").AsInt(), 1);
    EXPECT_EQ(load.Message.GetParam("remind_birthday_with_email").AsInt(), 1);
    EXPECT_EQ(TableRows(load.Message, "reminder_list", {"datetime", "description", "remind_when"}),
              (std::vector<std::vector<std::string>>{
                  {TCSParam::DateTime("x", future).AsString(), "Zahnarzt", "0.25"}}));

    Service().SetCredits(email, 15);
    r = SaveReminders(email, {0, 1, 0, 1, 0}, {});
    EXPECT_EQ(r.Rslt(), 0);
    load = client.Call("LOAD_REMINDER_LIST", {}, email, "geheim");
    const char* names[] = {"remind_birthdays", "remind_with_sms", "remind_with_email",
                           "remind_birthday_with_sms", "remind_birthday_with_email"};
    const int expected[] = {0, 1, 0, 1, 0};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(load.Message.GetParam(names[i]).AsInt(), expected[i]) << names[i];
    EXPECT_EQ(load.Message.GetParam("reminder_list").AsTable().RowCount(), 0);
}

TEST_F(BackupTest, DueEventRemindersGoOutBySmsAndMailOnce)
{
    const std::string email = NewCustomer("event", 100);
    ServiceClient client = Client();
    // The customer's own phone receives the SMS reminders.
    TCSTable data = MakeTextTable({"email_address", "password", "home_phone", "work_phone",
                                   "cell_phone", "fax", "birthdate", "language_code"},
                                  {{email, "geheim", "", "", "+491725555701", "", "", "DE"}});
    ASSERT_EQ(
        client
            .Call("CHANGE_CUSTOMER",
                  {TCSParam::Table("custdata", data), TCSParam::Text("bill_address_nick_name", "")},
                  email, "geheim")
            .Rslt(),
        0);
    const double now = NowDays();
    char soon[32], later[32], past[32];
    std::snprintf(soon, sizeof soon, "%.8f", now + 1.0 / 1440 + 2.0 / 86400); // 1 min + 2 s
    std::snprintf(later, sizeof later, "%.8f", now + 10);
    std::snprintf(past, sizeof past, "%.8f", now - 1);
    auto r = SaveReminders(email, {0, 1, 1, 0, 0},
                           {{soon, "Anruf Oma", std::to_string(1.0 / 1440)},
                            {later, "Urlaub", "1"},
                            {past, "Vorbei", "0"}});
    ASSERT_EQ(r.Rslt(), 0);
    ASSERT_TRUE(WaitFor([&] { return !Service().PhoneInbox("+491725555701").empty(); }));
    const auto inbox = Service().PhoneInbox("+491725555701");
    ASSERT_EQ(inbox.size(), 1u);
    EXPECT_NE(inbox[0].Text.find("Anruf Oma"), std::string::npos);
    EXPECT_EQ(inbox[0].Kind, "event");
    ASSERT_TRUE(WaitFor([&] {
        for (const auto& m : Service().Outbox(email))
            if (m.Kind == "event")
                return true;
        return false;
    }));
    // Charged once, listed in the statement and the history with its type.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(Service().PhoneInbox("+491725555701").size(), 1u);
    EXPECT_EQ(Service().Credits(email), 85);
    auto s = client.Call("LOAD_CREDIT_CHANGES", {}, email, "geheim");
    EXPECT_EQ(TableRows(s.Message, "changes", {"change", "reason"}),
              (std::vector<std::vector<std::string>>{{"-15", "event"}}));
    auto h = client.Call("LOAD_SMS_HISTORY", {}, email, "geheim");
    EXPECT_EQ(TableRows(h.Message, "history", {"sms_type", "receiver"}),
              (std::vector<std::vector<std::string>>{{"event", "+491725555701"}}));
}

TEST_F(BackupTest, BirthdaysAreRemindedThreeDaysBeforeAndOnTheDay)
{
    const std::string email = NewCustomer("bday", 100);
    ServiceClient client = Client();
    TCSTable data = MakeTextTable({"email_address", "password", "home_phone", "work_phone",
                                   "cell_phone", "fax", "birthdate", "language_code"},
                                  {{email, "geheim", "", "", "+491725555702", "", "", "DE"}});
    ASSERT_EQ(
        client
            .Call("CHANGE_CUSTOMER",
                  {TCSParam::Table("custdata", data), TCSParam::Text("bill_address_nick_name", "")},
                  email, "geheim")
            .Rslt(),
        0);
    ASSERT_EQ(SaveReminders(email, {1, 0, 1, 1, 1}, {}).Rslt(), 0);
    const std::vector<std::vector<std::string>> rows = {
        {"Heute", "", "", "", "", BirthdayIn(0), ""},
        {"Bald", "", "", "", "", BirthdayIn(3), ""},
        {"Morgen", "", "", "", "", BirthdayIn(1), ""},
        {"Ohne", "", "", "", "", "", ""},
    };
    ASSERT_EQ(client
                  .Call("SAVE_SMS_ADDRESS_BOOK",
                        {TCSParam::Table("address_book", MakeTextTable(kBook, rows))}, email,
                        "geheim")
                  .Rslt(),
              0);
    ASSERT_TRUE(WaitFor([&] { return Service().PhoneInbox("+491725555702").size() >= 2; }));
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    const auto inbox = Service().PhoneInbox("+491725555702");
    ASSERT_EQ(inbox.size(), 2u) << "once each, however many passes ran";
    std::vector<std::string> texts = {inbox[0].Text, inbox[1].Text};
    EXPECT_TRUE(std::any_of(texts.begin(), texts.end(), [](const std::string& t) {
        return t.find("Heute") != std::string::npos;
    }));
    EXPECT_TRUE(std::any_of(texts.begin(), texts.end(), [](const std::string& t) {
        return t.find("Bald") != std::string::npos;
    }));
    int mails = 0;
    for (const auto& m : Service().Outbox(email))
        mails += m.Kind == "birthday" ? 1 : 0;
    EXPECT_EQ(mails, 2);
    EXPECT_EQ(Service().Credits(email), 70);
    auto h = client.Call("LOAD_SMS_HISTORY", {}, email, "geheim");
    EXPECT_EQ(TableRows(h.Message, "history", {"sms_type"}),
              (std::vector<std::vector<std::string>>{{"birthday"}, {"birthday"}}));
}

} // namespace
} // namespace riz::test
