// Accounts through the real HTTP path: registration, confirmation, login, customer data,
// addresses, payment methods, neighbourhoods, the two mail-outs.

#include "tests/service/servicefixture.h"

#include <algorithm>

namespace riz::test {
namespace {

class AccountTest : public ServiceTest
{
};

const std::vector<std::string> kAddressColumns = {
    "nick_name",    "address1",       "address2",         "city", "state", "postal_code",
    "country_code", "norm_city_name", "norm_quarter_name"};
const std::vector<std::string> kPaymentColumns = {
    "nick_name",          "payment_type",       "cc_type",      "cc_name_on_card",
    "cc_number",          "cc_exp_month",       "cc_exp_year",  "bez_account_owner",
    "bez_account_number", "bez_routing_number", "bez_bank_name"};

TEST_F(AccountTest, RegistrationMailsAFiveGroupCodeAndConfirmsOnlyWithIt)
{
    const std::string email = NewEmail("reg");
    ServiceClient client = Client();
    const std::int32_t id = client.Register(email, "geheim");
    ASSERT_GT(id, 0);
    EXPECT_FALSE(Service().IsConfirmed(email));

    const std::string code = Service().RegistrationCode(email);
    ASSERT_EQ(code.size(), 29u);
    for (size_t i = 0; i < code.size(); ++i) {
        if (i % 6 == 5)
            EXPECT_EQ(code[i], '-') << code;
        else
            EXPECT_TRUE(std::isalnum(static_cast<unsigned char>(code[i]))) << code;
    }

    // Unconfirmed: the requests that need a confirmed account answer 5.
    for (const char* name : {"SEND_SMS", "SAVE_SMS_ADDRESS_BOOK", "SAVE_REMINDER_LIST",
                             "BUY_CREDITS", "GET_WELCOME_CREDITS"}) {
        auto r = client.Call(name, {}, email, "geheim");
        ASSERT_TRUE(r.Decoded) << name;
        EXPECT_EQ(r.Rslt(), 5) << name;
    }

    std::string wrong = code;
    wrong[0] = wrong[0] == 'A' ? 'B' : 'A';
    const struct
    {
        std::int32_t Id;
        std::string Code;
        bool Accepted;
    } cases[] = {{id, wrong, false}, {id + 1000, code, false}, {id, "", false}, {id, code, true}};
    for (const auto& c : cases) {
        auto r = client.Call("CONFIRM_REGISTRATION", {TCSParam::Int("customer_id", c.Id),
                                                      TCSParam::Text("conf_code", c.Code)});
        ASSERT_TRUE(r.Decoded);
        EXPECT_EQ(r.Rslt() == 0, c.Accepted) << c.Code;
    }
    EXPECT_TRUE(Service().IsConfirmed(email));
    auto r = client.Call("SEND_SMS", {}, email, "geheim", "1.01");
    EXPECT_NE(r.Rslt(), 5) << "a confirmed account is not asked again";
}

TEST_F(AccountTest, AddressIsRegisteredOnceWithoutRegardToCase)
{
    const std::string email = NewEmail("Case");
    ServiceClient client = Client();
    ASSERT_GT(client.Register(email, "geheim"), 0);
    std::string upper = email;
    std::transform(upper.begin(), upper.end(), upper.begin(), ::toupper);
    TCSTable data = MakeTextTable({"email_address", "password", "first_name", "last_name"},
                                  {{upper, "x1234", "A", "B"}});
    auto r = client.Call("ADD_CUSTOMER", {TCSParam::Table("custdata", data)});
    ASSERT_TRUE(r.Decoded);
    EXPECT_EQ(r.Rslt(), 21);
}

TEST_F(AccountTest, EveryLoginRequestAnswers11ForWrongPasswordOrUnknownAddress)
{
    const std::string email = NewCustomer("login", 0);
    ServiceClient client = Client();
    const char* requests[] = {"GET_CUSTOMER",
                              "GET_PAYMENT",
                              "CHANGE_CUSTOMER",
                              "SEND_CONF_CODE",
                              "SEND_SMS",
                              "LOAD_SMS_HISTORY",
                              "DELETE_SMS_HISTORY",
                              "SAVE_TREE",
                              "SAVE_SMS_ADDRESS_BOOK",
                              "LOAD_SMS_ADDRESS_BOOK",
                              "SAVE_REMINDER_LIST",
                              "LOAD_REMINDER_LIST",
                              "GET_SMS_CREDITS",
                              "GET_SMS_PRICES",
                              "GET_SMS_PAYMENT_OPTIONS",
                              "LOAD_CREDIT_CHANGES",
                              "BUY_CREDITS",
                              "GET_WELCOME_CREDITS",
                              "GET_0190_NUMBERS",
                              "TELL_A_FRIEND",
                              "LOAD_LOGO_CATEGORIES",
                              "LOAD_LOGOS",
                              "LOAD_TEXT_CATEGORIES",
                              "LOAD_TEXTS",
                              "GET_LATEST_VERSION"};
    for (const char* name : requests) {
        for (const auto& [address, password] :
             {std::pair<std::string, std::string>{email, "GEHEIM"},
              {email, "geheim "},
              {"nobody@example.org", "geheim"}}) {
            auto r = client.Call(name, {}, address, password);
            ASSERT_TRUE(r.Decoded) << name;
            EXPECT_EQ(r.Rslt(), 11) << name << " " << address << " " << password;
        }
    }
    // The right password in another spelling of the address logs in.
    std::string upper = email;
    std::transform(upper.begin(), upper.end(), upper.begin(), ::toupper);
    auto r = client.Call("GET_SMS_CREDITS", {}, upper, "geheim");
    EXPECT_EQ(r.Rslt(), 0);
}

TEST_F(AccountTest, GetCustomerReturnsTheRegisteredDataAndEmptyTables)
{
    const std::string email = NewCustomer("get", 250);
    ServiceClient client = Client();
    auto r = client.Call("GET_CUSTOMER", {}, email, "geheim");
    ASSERT_TRUE(r.Decoded);
    ASSERT_EQ(r.Rslt(), 0);
    const auto data = TableRows(r.Message, "custdata",
                                {"customer_id", "gender", "first_name", "last_name", "birthdate",
                                 "home_country_code", "language_code", "bill_address_nick_name"});
    ASSERT_EQ(data.size(), 1u);
    EXPECT_EQ(data[0][0], std::to_string(Service().CustomerId(email)));
    EXPECT_EQ(data[0][1], "M");
    EXPECT_EQ(data[0][2], "Max");
    EXPECT_EQ(data[0][3], "Muster");
    EXPECT_EQ(data[0][4], "");
    EXPECT_EQ(data[0][5], "de");
    EXPECT_EQ(data[0][6], "DE");
    EXPECT_EQ(r.Message.GetParam("credits").AsInt(), 250);
    EXPECT_EQ(r.Message.GetParam("welcome_credit_code_sent").AsInt(), 0);
    EXPECT_EQ(r.Message.GetParam("welcome_credit_code_sent_to").AsString(), "");
    EXPECT_EQ(r.Message.GetParam("welcome_credit_code_redeemed").AsInt(), 0);
    EXPECT_EQ(r.Message.GetParam("addresses").AsTable().RowCount(), 0);
    EXPECT_EQ(r.Message.GetParam("payment").AsTable().RowCount(), 0);
}

TEST_F(AccountTest, ChangeCustomerCoversDataAddressesAndPaymentMethods)
{
    const std::string email = NewCustomer("change", 0);
    const std::string other = NewCustomer("taken", 0);
    ServiceClient client = Client();
    auto change = [&](std::vector<TCSParam> params, const std::string& login = {},
                      const std::string& password = "geheim") {
        params.push_back(TCSParam::Text("bill_address_nick_name", "Zuhause"));
        auto r = client.Call("CHANGE_CUSTOMER", std::move(params), login.empty() ? email : login,
                             password);
        EXPECT_TRUE(r.Decoded);
        return r.Decoded ? r.Rslt() : -1;
    };
    auto address = [](const std::string& nick, const std::string& city) {
        return MakeTextTable(kAddressColumns, {{nick, "Hauptstr. 1", "", city, "", "10115", "de",
                                                "BERLIN", "MITTE"}});
    };
    auto payment = [](const std::string& nick, const std::string& number) {
        return MakeTextTable(kPaymentColumns, {{nick, "CC", "VISA", "Max Muster", number, "12",
                                                "2030", "", "", "", ""}});
    };
    auto nick = [](const std::string& n) { return MakeTextTable({"nick_name"}, {{n}}); };

    // Operation 12 twice: the second add of the same alias (any case) is 31.
    EXPECT_EQ(change({TCSParam::Table("newaddresses", address("Zuhause", "Berlin"))}), 0);
    EXPECT_EQ(change({TCSParam::Table("newaddresses", address("ZUHAUSE", "Berlin"))}), 31);
    EXPECT_EQ(change({TCSParam::Table("newaddresses", address("B\\<\xFC>ro", "Berlin"))}), 0);
    // Operation 11 replaces, 13 deletes.
    EXPECT_EQ(change({TCSParam::Table("deladdresses", nick("Zuhause")),
                      TCSParam::Table("newaddresses", address("Zuhause", "Berlin-Mitte"))}),
              0);
    EXPECT_EQ(change({TCSParam::Table("deladdresses", nick("B\\<\xFC>ro"))}), 0);
    // Operations 22, 21 (with 32), 23.
    EXPECT_EQ(change({TCSParam::Table("newpayment", payment("Karte", "4111111111111111"))}), 0);
    EXPECT_EQ(change({TCSParam::Table("newpayment", payment("karte", "4111111111111111"))}), 32);
    EXPECT_EQ(change({TCSParam::Table("newpayment", payment("Zweite", "5500000000000004"))}), 0);
    EXPECT_EQ(change({TCSParam::Table("delpayment", nick("Zweite")),
                      TCSParam::Table("newpayment", payment("Karte", "5500000000000004"))}),
              32);
    // A refused change changes nothing: "Zweite" is still there.
    auto kept = client.Call("GET_CUSTOMER", {}, email, "geheim");
    EXPECT_EQ(TableRows(kept.Message, "payment", {"nick_name"}),
              (std::vector<std::vector<std::string>>{{"Karte"}, {"Zweite"}}));
    EXPECT_EQ(change({TCSParam::Table("newaddresses", address("Zweitwohnung", "Berlin"))}), 0);
    EXPECT_EQ(change({TCSParam::Table("deladdresses", nick("Zuhause")),
                      TCSParam::Table("newaddresses", address("ZWEITWOHNUNG", "Berlin"))}),
              31);
    kept = client.Call("GET_CUSTOMER", {}, email, "geheim");
    EXPECT_EQ(TableRows(kept.Message, "addresses", {"nick_name"}),
              (std::vector<std::vector<std::string>>{{"Zuhause"}, {"Zweitwohnung"}}));
    EXPECT_EQ(change({TCSParam::Table("deladdresses", nick("zweitwohnung"))}), 0);
    EXPECT_EQ(change({TCSParam::Table("delpayment", nick("Karte")),
                      TCSParam::Table("newpayment", payment("Karte", "4000000000000002"))}),
              0);
    EXPECT_EQ(change({TCSParam::Table("delpayment", nick("Zweite"))}), 0);

    auto r = client.Call("GET_CUSTOMER", {}, email, "geheim");
    ASSERT_EQ(r.Rslt(), 0);
    EXPECT_EQ(TableRows(r.Message, "addresses", {"nick_name", "city"}),
              (std::vector<std::vector<std::string>>{{"Zuhause", "Berlin-Mitte"}}));
    EXPECT_EQ(TableRows(r.Message, "payment", {"nick_name", "payment_type", "cc_type"}),
              (std::vector<std::vector<std::string>>{{"Karte", "CC", "VISA"}}));
    EXPECT_EQ(TableRows(r.Message, "custdata", {"bill_address_nick_name"})[0][0], "Zuhause");

    auto p =
        client.Call("GET_PAYMENT", {TCSParam::Table("payment", nick("KARTE"))}, email, "geheim");
    ASSERT_EQ(p.Rslt(), 0);
    EXPECT_EQ(TableRows(p.Message, "payment", {"nick_name", "cc_number", "cc_exp_year"}),
              (std::vector<std::vector<std::string>>{{"Karte", "4000000000000002", "2030"}}));
    auto missing =
        client.Call("GET_PAYMENT", {TCSParam::Table("payment", nick("Zweite"))}, email, "geheim");
    EXPECT_NE(missing.Rslt(), 0);

    // Operation 1: new data; another customer's address is 21; the new password works.
    TCSTable taken = MakeTextTable({"email_address", "password", "home_phone", "work_phone",
                                    "cell_phone", "fax", "birthdate", "language_code"},
                                   {{other, "neu123", "", "", "", "", "", "EN"}});
    EXPECT_EQ(change({TCSParam::Table("custdata", taken)}), 21);
    TCSTable data = MakeTextTable(
        {"email_address", "password", "home_phone", "work_phone", "cell_phone", "fax", "birthdate",
         "language_code"},
        {{email, "neu123", "030 1234", "", "+491725555555", "", "1970-05-17 00:00:00", "EN"}});
    EXPECT_EQ(change({TCSParam::Table("custdata", data)}), 0);
    EXPECT_EQ(client.Call("GET_SMS_CREDITS", {}, email, "geheim").Rslt(), 11);
    auto after = client.Call("GET_CUSTOMER", {}, email, "neu123");
    ASSERT_EQ(after.Rslt(), 0);
    EXPECT_EQ(
        TableRows(after.Message, "custdata", {"cell_phone", "birthdate", "language_code"}),
        (std::vector<std::vector<std::string>>{{"+491725555555", "1970-05-17 00:00:00", "EN"}}));
}

TEST_F(AccountTest, NeighbourhoodKnownCombinationsAndCandidatesForUnknownOnes)
{
    ServiceClient client = Client();
    auto ask = [&](const std::string& postal, const std::string& city) {
        return client.Call("GET_NBRHD", {TCSParam::Text("postal_code", postal),
                                         TCSParam::Text("city_name", city)});
    };
    const std::vector<std::string> cols = {"postal_code", "city_name", "norm_city_name",
                                           "quarter_name", "norm_quarter_name"};
    auto one = ask("99084", "erfurt");
    ASSERT_EQ(one.Rslt(), 0);
    EXPECT_EQ(TableRows(one.Message, "neighborhood", cols),
              (std::vector<std::vector<std::string>>{
                  {"99084", "Erfurt", "ERFURT", "Altstadt", "ALTSTADT"}}));
    auto several = ask("60311", "Frankfurt am Main");
    ASSERT_EQ(several.Rslt(), 0);
    EXPECT_EQ(TableRows(several.Message, "neighborhood", {"quarter_name"}),
              (std::vector<std::vector<std::string>>{{"Altstadt"}, {"Innenstadt"}}));
    auto umlaut = ask("80331", "M\xFCnchen");
    ASSERT_EQ(umlaut.Rslt(), 0);
    EXPECT_EQ(TableRows(umlaut.Message, "neighborhood", {"norm_city_name"})[0][0], "MUENCHEN");

    // Postal code of Berlin with the city Hamburg: non-zero, with both cities as candidates.
    auto unknown = ask("10115", "Hamburg");
    ASSERT_TRUE(unknown.Decoded);
    EXPECT_NE(unknown.Rslt(), 0);
    EXPECT_EQ(TableRows(unknown.Message, "neighborhood", {"postal_code", "city_name"}),
              (std::vector<std::vector<std::string>>{{"10115", "Berlin"}, {"20095", "Hamburg"}}));
    auto nothing = ask("00000", "Nirgendwo");
    EXPECT_NE(nothing.Rslt(), 0);
    EXPECT_EQ(nothing.Message.GetParam("neighborhood").AsTable().RowCount(), 0);
}

TEST_F(AccountTest, PasswordAndCodeMailsGoToTheOutbox)
{
    const std::string email = NewCustomer("mail", 0, "pass1234");
    ServiceClient client = Client();
    auto r = client.Call("SEND_PASSWORD", {TCSParam::Text("email_address", email)});
    ASSERT_EQ(r.Rslt(), 0);
    const auto mails = Service().Outbox(email);
    ASSERT_FALSE(mails.empty());
    EXPECT_EQ(mails.back().Kind, "password");
    EXPECT_NE(mails.back().Body.find("pass1234"), std::string::npos);

    // Unknown addresses get the same answer and no mail.
    const size_t before = Service().Outbox().size();
    EXPECT_EQ(
        client.Call("SEND_PASSWORD", {TCSParam::Text("email_address", "nie@example.org")}).Rslt(),
        0);
    EXPECT_EQ(Service().Outbox().size(), before);

    const std::string code = Service().RegistrationCode(email);
    EXPECT_EQ(client.Call("SEND_CONF_CODE", {}, email, "pass1234").Rslt(), 0);
    const auto again = Service().Outbox(email);
    EXPECT_EQ(again.back().Kind, "registration");
    EXPECT_EQ(again.back().Code, code);
}

} // namespace
} // namespace riz::test
