// Credits and payments through the real HTTP path: balance, prices, payment options, every
// payment tag with its codes, welcome credits, premium-rate numbers, recommendations.

#include "tests/service/servicefixture.h"

#include <ctime>

namespace riz::test {
namespace {

class CreditTest : public ServiceTest
{
protected:
    ServiceClient::Reply Buy(const std::string& email, const std::string& option,
                             std::vector<TCSParam> extra = {})
    {
        std::vector<TCSParam> params = {TCSParam::Text("payment_option", option)};
        for (auto& p : extra)
            params.push_back(std::move(p));
        ServiceClient client = Client();
        auto r = client.Call("BUY_CREDITS", std::move(params), email, "geheim");
        EXPECT_TRUE(r.Decoded);
        return r;
    }

    static std::vector<TCSParam> Card(const std::string& type, const std::string& number, int month,
                                      int year, int credits)
    {
        return {TCSParam::Text("cc_type", type),          TCSParam::Text("cc_number", number),
                TCSParam::Text("cc_owner", "Max Muster"), TCSParam::Int("cc_exp_month", month),
                TCSParam::Int("cc_exp_year", year),       TCSParam::Int("credits", credits)};
    }
};

TEST_F(CreditTest, BalancePricesOptionsAndNumbers)
{
    const std::string email = NewEmail("bal");
    ASSERT_GT(Service().CreateCustomer(email, "geheim", 420), 0);
    ServiceClient client = Client();
    auto c = client.Call("GET_SMS_CREDITS", {}, email, "geheim");
    ASSERT_EQ(c.Rslt(), 0);
    EXPECT_EQ(c.Message.GetParam("credits").AsInt(), 420);

    auto p = client.Call("GET_SMS_PRICES", {}, email, "geheim");
    ASSERT_EQ(p.Rslt(), 0);
    EXPECT_EQ(p.Message.GetParam("sms_price").AsInt(), 15);
    EXPECT_GT(p.Message.GetParam("logo_price").AsInt(), 0);
    EXPECT_GT(p.Message.GetParam("ring_price").AsInt(), 0);
    EXPECT_GT(p.Message.GetParam("vat").AsFloat(), 0);
    for (const char* text : {"account_owner", "account_number", "routing_number", "bank_name"})
        EXPECT_FALSE(p.Message.GetParam(text).AsString().empty()) << text;
    EXPECT_EQ(p.Message.GetParam("routing_number").AsString().size(), 8u);
    const auto discounts = TableRows(p.Message, "discounts", {"amount", "percentage"});
    ASSERT_FALSE(discounts.empty());
    for (size_t i = 1; i < discounts.size(); ++i)
        EXPECT_LT(std::stoi(discounts[i - 1][0]), std::stoi(discounts[i][0]));

    // More than 10 credits: no free credits on offer.
    auto o = client.Call("GET_SMS_PAYMENT_OPTIONS", {}, email, "geheim");
    ASSERT_EQ(o.Rslt(), 0);
    EXPECT_EQ(o.Message.GetParam("payment_options").AsString(),
              "<0190-50><0190-200><pre-wire><cc2>");
    Service().SetCredits(email, 100);
    o = client.Call("GET_SMS_PAYMENT_OPTIONS", {}, email, "geheim");
    EXPECT_EQ(o.Message.GetParam("payment_options").AsString(),
              "<free-50><0190-50><0190-200><pre-wire><cc2>");

    auto n = client.Call("GET_0190_NUMBERS", {}, email, "geheim");
    ASSERT_EQ(n.Rslt(), 0);
    const auto numbers = TableRows(n.Message, "0190credits", {"credits", "number"});
    ASSERT_EQ(numbers.size(), 2u);
    EXPECT_EQ(numbers[0][0], "500");
    EXPECT_EQ(numbers[1][0], "2000");
}

TEST_F(CreditTest, EveryPaymentTagWithItsResultCodes)
{
    const std::string email = NewCustomer("buy", 0);
    const std::string code50 = Service().UnusedCode("<0190-50>");
    const std::string code200 = Service().UnusedCode("<0190-200>");
    ASSERT_FALSE(code50.empty());
    ASSERT_FALSE(code200.empty());
    const time_t t = time(nullptr);
    std::tm now{};
    localtime_r(&t, &now);
    const int year = now.tm_year + 1900;
    const int month = now.tm_mon + 1;

    const struct
    {
        const char* What;
        std::string Option;
        std::vector<TCSParam> Params;
        int Rslt;
        int Change;
    } cases[] = {
        {"free at 0", "<free-50>", {}, 0, 500},
        {"free above 10 credits", "<free-50>", {}, 92, 0},
        {"0190 wrong code", "<0190-50>", {TCSParam::Text("credit_code", "XXXX-0000")}, 93, 0},
        {"0190 code of the other number",
         "<0190-50>",
         {TCSParam::Text("credit_code", code200)},
         93,
         0},
        {"0190-50", "<0190-50>", {TCSParam::Text("credit_code", code50)}, 0, 500},
        {"0190-50 used twice", "<0190-50>", {TCSParam::Text("credit_code", code50)}, 93, 0},
        {"0190-200", "<0190-200>", {TCSParam::Text("credit_code", code200)}, 0, 2000},
        {"pre-wire", "<pre-wire>", {}, 91, 0},
        {"unknown tag", "<gold>", {}, 91, 0},
        {"card", "<cc2>", Card("VISA", "4111 1111 1111 1111", month, year, 2060), 0, 2060},
        {"mastercard by name", "<cc2>",
         Card("MasterCard/EuroCard", "5500000000000004", 12, year + 1, 1000), 0, 1000},
        {"card check digit", "<cc2>", Card("VISA", "4111111111111112", 12, year + 1, 1000), 94, 0},
        {"card length", "<cc2>", Card("VISA", "411111111111111", 12, year + 1, 1000), 94, 0},
        {"card expired", "<cc2>",
         Card("VISA", "4111111111111111", month == 1 ? 12 : month - 1, month == 1 ? year - 1 : year,
              1000),
         94, 0},
        {"card month", "<cc2>", Card("VISA", "4111111111111111", 13, year + 1, 1000), 94, 0},
        {"card no credits", "<cc2>", Card("VISA", "4111111111111111", 12, year + 1, 0), 94, 0},
        {"card type", "<cc2>", Card("American Express", "378282246310005", 12, year + 1, 1000), 96,
         0},
        {"welcome without code sent",
         "<welcome>",
         {TCSParam::Text("credit_code", "123456")},
         93,
         0},
    };
    for (const auto& c : cases) {
        const int before = Service().Credits(email);
        std::vector<TCSParam> params;
        for (const auto& p : c.Params)
            params.push_back(p);
        auto r = Buy(email, c.Option, std::move(params));
        EXPECT_EQ(r.Rslt(), c.Rslt) << c.What;
        EXPECT_EQ(Service().Credits(email), before + c.Change) << c.What;
        if (r.Rslt() == 0 || r.Rslt() == 91) {
            EXPECT_EQ(r.Message.GetParam("credits").AsInt(), before + c.Change) << c.What;
            EXPECT_FALSE(r.Message.GetParam("payment_options").AsString().empty()) << c.What;
        }
    }
    // The statement lists every change with its reason.
    ServiceClient client = Client();
    auto s = client.Call("LOAD_CREDIT_CHANGES", {}, email, "geheim");
    ASSERT_EQ(s.Rslt(), 0);
    EXPECT_EQ(TableRows(s.Message, "changes", {"change", "reason"}),
              (std::vector<std::vector<std::string>>{{"500", "<free-50>"},
                                                     {"500", "<0190-50>"},
                                                     {"2000", "<0190-200>"},
                                                     {"2060", "<cc2>"},
                                                     {"1000", "<cc2>"}}));
}

TEST_F(CreditTest, WithoutCardPaymentsCardsAnswer95AndAreNotOffered)
{
    ServiceOptions options;
    options.ExtraArgs = {"--no-card-payments"};
    ServiceProcess noCards(options);
    ASSERT_TRUE(noCards.Running()) << noCards.Error();
    ServiceClient client(noCards.Host(), noCards.Port());
    const std::string email = NewEmail("nocard");
    ASSERT_GT(client.Register(email, "geheim"), 0);
    noCards.Confirm(email);
    auto r = client.Call(
        "BUY_CREDITS",
        [&] {
            std::vector<TCSParam> p = {TCSParam::Text("payment_option", "<cc2>")};
            for (auto& c : Card("VISA", "4111111111111111", 12, 2099, 1000))
                p.push_back(c);
            return p;
        }(),
        email, "geheim");
    ASSERT_TRUE(r.Decoded);
    EXPECT_EQ(r.Rslt(), 95);
    EXPECT_EQ(noCards.Credits(email), 0);
    auto o = client.Call("GET_SMS_PAYMENT_OPTIONS", {}, email, "geheim");
    EXPECT_EQ(o.Message.GetParam("payment_options").AsString(),
              "<free-50><0190-50><0190-200><pre-wire>");
}

TEST_F(CreditTest, WelcomeCodeGoesToThePhoneOncePerPhoneAndCustomer)
{
    const std::string email = NewCustomer("welcome", 0);
    const std::string other = NewCustomer("welcome", 0);
    ServiceClient client = Client();
    auto ask = [&](const std::string& who, const std::string& number) {
        return client
            .Call("GET_WELCOME_CREDITS", {TCSParam::Text("cell_phone", number)}, who, "geheim")
            .Rslt();
    };
    EXPECT_NE(ask(email, "49301234567"), 0) << "not a mobile number";
    EXPECT_NE(ask(email, "+491721234567"), 0) << "digits only";
    ASSERT_EQ(ask(email, "491721234567"), 0);
    const auto inbox = Service().PhoneInbox("+491721234567");
    ASSERT_EQ(inbox.size(), 1u);
    const std::string code = inbox[0].Text.substr(inbox[0].Text.rfind(' ') + 1);
    EXPECT_EQ(code.size(), 6u);

    EXPECT_EQ(ask(email, "491727654321"), 97);
    EXPECT_EQ(ask(other, "491721234567"), 98);
    EXPECT_EQ(ask(email, "491721234567"), 0) << "the same phone may get its code again";
    EXPECT_EQ(Service().PhoneInbox("+491721234567").back().Text, inbox[0].Text);

    auto c = client.Call("GET_CUSTOMER", {}, email, "geheim");
    EXPECT_EQ(c.Message.GetParam("welcome_credit_code_sent").AsInt(), 1);
    EXPECT_EQ(c.Message.GetParam("welcome_credit_code_sent_to").AsString(), "491721234567");
    EXPECT_EQ(c.Message.GetParam("welcome_credit_code_redeemed").AsInt(), 0);

    EXPECT_EQ(Buy(email, "<welcome>", {TCSParam::Text("credit_code", "000000")}).Rslt(), 93);
    EXPECT_EQ(Buy(email, "<welcome>", {TCSParam::Text("credit_code", code)}).Rslt(), 0);
    EXPECT_EQ(Service().Credits(email), 100);
    EXPECT_NE(Buy(email, "<welcome>", {TCSParam::Text("credit_code", code)}).Rslt(), 0);
    EXPECT_EQ(Service().Credits(email), 100);
    c = client.Call("GET_CUSTOMER", {}, email, "geheim");
    EXPECT_EQ(c.Message.GetParam("welcome_credit_code_redeemed").AsInt(), 1);
}

TEST_F(CreditTest, ARecommendedFriendWhoRegistersAndBuysEarnsTheRecommenderCredits)
{
    const std::string email = NewCustomer("recommender", 0);
    const std::string friendEmail = NewEmail("friend");
    ServiceClient client = Client();
    TCSTable friends = MakeTextTable({"name", "email_address"},
                                     {{"Erika Muster", friendEmail}, {"Ohne Adresse", ""}});
    auto r = client.Call("TELL_A_FRIEND",
                         {TCSParam::Text("app_id", "SMS"), TCSParam::Table("friends", friends)},
                         email, "geheim");
    ASSERT_EQ(r.Rslt(), 0);
    const auto mails = Service().Outbox(friendEmail);
    ASSERT_EQ(mails.size(), 1u);
    EXPECT_EQ(mails[0].Kind, "recommend");

    const std::string friendCustomer = NewCustomerWithAddress(friendEmail);
    // Free credits do not count as buying; a 0190 code does, once.
    EXPECT_EQ(Buy(friendCustomer, "<free-50>").Rslt(), 0);
    EXPECT_EQ(Service().Credits(email), 0);
    EXPECT_EQ(Buy(friendCustomer, "<0190-50>",
                  {TCSParam::Text("credit_code", Service().UnusedCode("<0190-50>"))})
                  .Rslt(),
              0);
    EXPECT_EQ(Service().Credits(email), 100);
    EXPECT_EQ(Buy(friendCustomer, "<0190-50>",
                  {TCSParam::Text("credit_code", Service().UnusedCode("<0190-50>"))})
                  .Rslt(),
              0);
    EXPECT_EQ(Service().Credits(email), 100);
    auto s = client.Call("LOAD_CREDIT_CHANGES", {}, email, "geheim");
    EXPECT_EQ(TableRows(s.Message, "changes", {"change", "reason"}),
              (std::vector<std::vector<std::string>>{{"100", "<recommend>"}}));
}

} // namespace
} // namespace riz::test
