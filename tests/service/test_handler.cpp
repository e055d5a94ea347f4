// The request handler without HTTP: malformed messages, missing parameters and garbage in
// every parameter of every request get an answer with a result code, never a crash, and
// leave the books balanced.

#include "protocol/csdatastring.h"
#include "protocol/cserror.h"
#include "protocol/cstable.h"
#include "service/servicecore.h"
#include "tests/support/testpaths.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

namespace riz::service {
namespace {

using riz::TCSDataString;
using riz::TCSParam;
using riz::TCSTable;

class HandlerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        TZKPrivateKey key;
        std::string error;
        ASSERT_TRUE(key.Load(test::SourceDir() + "/keys/dev-service.key", error)) << error;
        TServiceOptions options;
        options.DbPath = test::TempDir("riz-handler") + "/service.sqlite";
        options.Seed = true;
        m_core = std::make_unique<TServiceCore>(options, std::move(key));
    }

    TCSDataString Answer(const std::string& messageText)
    {
        TCSDataString answer;
        answer.Decode(m_core->HandleMessage(messageText));
        return answer;
    }

    static std::string Request(const std::string& name, std::vector<TCSParam> params)
    {
        TCSDataString m;
        m.Type = "RQST";
        m.Name = name;
        m.Ver = "1.00";
        m.ProgVer = "0.97.01";
        for (auto& p : params)
            m.AddParam(std::move(p));
        m.AddParam(TCSParam::Text("my_version", "0.97.01"));
        m.Encode();
        return m.Text;
    }

    static TCSTable Table(const std::vector<std::string>& columns,
                          const std::vector<std::string>& row)
    {
        TCSTable t;
        t.SetColumnCount(static_cast<std::int32_t>(columns.size()));
        for (size_t i = 0; i < columns.size(); ++i)
            t.ColumnName(static_cast<std::int32_t>(i)) = columns[i];
        t.AddRow();
        for (size_t i = 0; i < row.size(); ++i)
            t.CurrentCell(static_cast<std::int32_t>(i)).SetString(row[i]);
        return t;
    }

    // A confirmed customer with credits.
    void MakeCustomer()
    {
        auto added = Answer(
            Request("ADD_CUSTOMER",
                    {TCSParam::Table("custdata",
                                     Table({"email_address", "password", "first_name", "last_name",
                                            "birthdate", "reseller_id"},
                                           {"kunde@example.org", "geheim", "K", "M", "", "0"}))}));
        ASSERT_EQ(added.GetParam("rslt").AsInt(), 0);
        m_core->WithDb([](TServiceDb& db) { db.Exec("UPDATE customers SET confirmed = 1"); });
        auto bought =
            Answer(Request("BUY_CREDITS", {TCSParam::Text("email_address", "kunde@example.org"),
                                           TCSParam::Text("password", "geheim"),
                                           TCSParam::Text("payment_option", "<free-50>")}));
        ASSERT_EQ(bought.GetParam("rslt").AsInt(), 0);
    }

    std::unique_ptr<TServiceCore> m_core;
};

TEST_F(HandlerTest, MalformedMessagesAnswerWithACodeAndNoForeignText)
{
    const struct
    {
        std::string Text;
        int Rslt;
    } cases[] = {
        {"", 2},
        {"<ZK>", 2},
        {"<ZK></ZK>", 2},
        {"<ZK TYPE=\"RQST\"></ZK>", 3},
        {"<ZK TYPE=\"ANSW\" NAME=\"GET_SMS_CREDITS\"></ZK>", 2},
        {"<ZK TYPE=\"RQST\" NAME=\"DROP_TABLES\"></ZK>", 3},
        {"<ZK TYPE=\"RQST\" NAME=\"X\\\"Y\"></ZK>", 3},
        {"<ZK TYPE=\"RQST\" NAME=\"GET_SMS_CREDITS\">my_version=1\\p</ZK>", 2},
        {"<ZK TYPE=\"RQST\" NAME=\"GET_SMS_CREDITS\">=x\\p</ZK>", 2},
        {"<ZK TYPE=\"RQST\" NAME=\"GET_SMS_CREDITS\">noequals\\p</ZK>", 2},
        {"<ZK TYPE=\"RQST\" NAME=\"GET_SMS_CREDITS\">email_address=a<b\\ppassword=x\\p</ZK>", 2},
        {"<ZK TYPE=\"RQST\" NAME=\"GET_SMS_CREDITS\">email_address=a\\ppassword=x\\p</ZK>\r\n", 2},
        {std::string("<ZK TYPE=\"RQST\" NAME=\"GET_SMS_CREDITS\">email_address=\0\\p</ZK>", 56), 2},
    };
    for (const auto& c : cases) {
        const std::string text = m_core->HandleMessage(c.Text);
        TCSDataString answer;
        ASSERT_NO_THROW(answer.Decode(text)) << text;
        EXPECT_EQ(answer.GetParam("rslt").AsInt(), c.Rslt) << c.Text;
        EXPECT_TRUE(answer.Name.empty() || answer.Name == "GET_SMS_CREDITS") << answer.Name;
    }
}

TEST_F(HandlerTest, GarbageOrAbsenceOfEveryParameterKeepsTheBooksBalanced)
{
    MakeCustomer();
    const std::string email = "kunde@example.org";
    auto login = [&] {
        return std::vector<TCSParam>{TCSParam::Text("email_address", email),
                                     TCSParam::Text("password", "geheim")};
    };
    auto table = [](std::vector<std::string> cols, std::vector<std::string> row) {
        return Table(cols, row);
    };
    // A valid request of every kind; each parameter is then spoilt in turn.
    const std::map<std::string, std::vector<TCSParam>> requests = {
        {"ADD_CUSTOMER",
         {TCSParam::Table("custdata",
                          table({"email_address", "password"}, {"neu@example.org", "pw12"}))}},
        {"GET_CUSTOMER", login()},
        {"GET_PAYMENT",
         [&] {
             auto p = login();
             p.push_back(TCSParam::Table("payment", table({"nick_name"}, {"K"})));
             return p;
         }()},
        {"GET_NBRHD",
         {TCSParam::Text("postal_code", "10115"), TCSParam::Text("city_name", "Berlin")}},
        {"CHANGE_CUSTOMER",
         [&] {
             auto p = login();
             p.push_back(TCSParam::Table("newaddresses", table({"nick_name", "city"}, {"A", "B"})));
             p.push_back(TCSParam::Text("bill_address_nick_name", "A"));
             return p;
         }()},
        {"SEND_PASSWORD", {TCSParam::Text("email_address", email)}},
        {"CONFIRM_REGISTRATION",
         {TCSParam::Int("customer_id", 1),
          TCSParam::Text("conf_code", "AAAAA-AAAAA-AAAAA-AAAAA-AAAAA")}},
        {"SEND_CONF_CODE", login()},
        {"SEND_SMS",
         [&] {
             auto p = login();
             p.push_back(TCSParam::Text("sms_text", "hallo"));
             p.push_back(TCSParam::Text("sms_sender", "x"));
             p.push_back(TCSParam::Table(
                 "receivers", table({"receiver_id", "receiver_number"}, {"1", "+491725555555"})));
             p.push_back(TCSParam::DateTime("send_date", 40000));
             p.push_back(TCSParam::Int("dont_split", 1));
             p.push_back(TCSParam::Int("free", 0));
             p.push_back(TCSParam::Text("send_option", "logo"));
             p.push_back(TCSParam::Int("option_id", 101));
             p.push_back(TCSParam::Text("logo_type", "NOL"));
             p.push_back(TCSParam::Text("banners", "<1>"));
             return p;
         }()},
        {"LOAD_SMS_HISTORY", login()},
        {"DELETE_SMS_HISTORY",
         [&] {
             auto p = login();
             p.push_back(TCSParam::Table("queue_id", table({"queue_id"}, {"1"})));
             return p;
         }()},
        {"SAVE_TREE",
         [&] {
             auto p = login();
             p.push_back(TCSParam::Table("sent_sms", table({"queue_id", "tree"}, {"1", "A;"})));
             p.push_back(TCSParam::Table("received_sms", table({"queue_id", "tree"}, {"1", "A;"})));
             return p;
         }()},
        {"SAVE_SMS_ADDRESS_BOOK",
         [&] {
             auto p = login();
             p.push_back(TCSParam::Table(
                 "address_book",
                 table({"name", "email_address", "home_phone", "office_phone", "cell_phone",
                        "birthday", "distribution_list"},
                       {"N", "", "", "", "0172 5555555", "1970-01-01 00:00:00", ""})));
             return p;
         }()},
        {"LOAD_SMS_ADDRESS_BOOK", login()},
        {"SAVE_REMINDER_LIST",
         [&] {
             auto p = login();
             for (const char* o : {"remind_birthdays", "remind_with_sms", "remind_with_email",
                                   "remind_birthday_with_sms", "remind_birthday_with_email"})
                 p.push_back(TCSParam::Int(o, 1));
             p.push_back(
                 TCSParam::Table("reminder_list", table({"datetime", "description", "remind_when"},
                                                        {"2030-01-01 10:00:00", "x", "0.5"})));
             return p;
         }()},
        {"LOAD_REMINDER_LIST", login()},
        {"GET_SMS_CREDITS", login()},
        {"GET_SMS_PRICES", login()},
        {"GET_SMS_PAYMENT_OPTIONS", login()},
        {"LOAD_CREDIT_CHANGES", login()},
        {"BUY_CREDITS",
         [&] {
             auto p = login();
             p.push_back(TCSParam::Text("payment_option", "<cc2>"));
             p.push_back(TCSParam::Text("cc_type", "VISA"));
             p.push_back(TCSParam::Text("cc_number", "4111111111111111"));
             p.push_back(TCSParam::Text("cc_owner", "K"));
             p.push_back(TCSParam::Int("cc_exp_month", 12));
             p.push_back(TCSParam::Int("cc_exp_year", 2099));
             p.push_back(TCSParam::Int("credits", 10));
             return p;
         }()},
        {"GET_WELCOME_CREDITS",
         [&] {
             auto p = login();
             p.push_back(TCSParam::Text("cell_phone", "491725555555"));
             return p;
         }()},
        {"GET_0190_NUMBERS", login()},
        {"TELL_A_FRIEND",
         [&] {
             auto p = login();
             p.push_back(TCSParam::Text("app_id", "SMS"));
             p.push_back(TCSParam::Table("friends",
                                         table({"name", "email_address"}, {"F", "f@example.org"})));
             return p;
         }()},
        {"LOAD_LOGO_CATEGORIES", login()},
        {"LOAD_LOGOS",
         [&] {
             auto p = login();
             p.push_back(TCSParam::Int("category", 1));
             return p;
         }()},
        {"LOAD_TEXT_CATEGORIES", login()},
        {"LOAD_TEXTS",
         [&] {
             auto p = login();
             p.push_back(TCSParam::Int("category", 1));
             return p;
         }()},
        {"GET_LATEST_VERSION", login()},
    };
    // Raw coded values: unescaped markup, a bad escape, broken and oversized tables, numbers
    // out of range, impossible dates, bytes of every kind.
    const std::vector<std::string> garbage = {
        "",
        "<",
        "\\x",
        "\\",
        "abc",
        "nan",
        "-inf",
        "-99999999999999999999",
        "99999999999",
        "2001-13-45 99:99:99",
        "\\<TBL ROWS=\"2\" COLS=\"1\"\\>a\\\\;b\\\\;\\</TBL\\>",
        "\\<TBL ROWS=\"99999999\" COLS=\"99999999\"\\>\\</TBL\\>",
        "\\<TBL ROWS=\"1\" COLS=\"1\"\\>a\\\\;\\<\\\\;\\</TBL\\>",
        std::string("\xff\xfe\x01\x7f", 4),
        std::string(5000, 'z')};

    int answered = 0;
    for (const auto& [name, params] : requests) {
        for (size_t spoil = 0; spoil < params.size(); ++spoil) {
            for (size_t g = 0; g <= garbage.size(); ++g) {
                TCSDataString m;
                m.Type = "RQST";
                m.Name = name;
                for (size_t i = 0; i < params.size(); ++i) {
                    if (i != spoil) {
                        m.AddParam(params[i]);
                    } else if (g < garbage.size()) { // g == size: the parameter is left out
                        TCSParam p;
                        p.Name = params[i].Name;
                        p.Value = garbage[g];
                        m.AddParam(p);
                    }
                }
                m.Encode();
                TCSDataString answer;
                ASSERT_NO_THROW(answer.Decode(m_core->HandleMessage(m.Text))) << name;
                const int rslt = answer.GetParam("rslt").AsInt();
                EXPECT_NE(rslt, 1) << name << " " << params[spoil].Name << " garbage " << g;
                ++answered;
            }
        }
    }
    EXPECT_GT(answered, 500);

    // Every balance equals the sum of its booked changes.
    m_core->WithDb([](TServiceDb& db) {
        auto st =
            db.Prepare("SELECT c.email, c.credits, COALESCE(SUM(x.change), 0) FROM customers c "
                       "LEFT JOIN credit_changes x ON x.customer_id = c.id GROUP BY c.id");
        int customers = 0;
        while (st.Step()) {
            ++customers;
            EXPECT_EQ(st.Int(1), st.Int(2)) << st.Text(0);
        }
        EXPECT_GE(customers, 1);
    });
}

} // namespace
} // namespace riz::service
