// The account, credit and payment tasks (Parts 2.4 and 2.5) against a stand-in server that
// answers what each test crafts: what the request carries, what the answer leaves in the local
// tables, files and parameters, and the edge cases of the answers.
#include "data/appparam.h"
#include "data/datamodulecust.h"
#include "data/datamodulesms.h"
#include "platform/calendar.h"
#include "platform/modalhook.h"
#include "protocol/csdatastring.h"
#include "protocol/cstable.h"
#include "tasks/comtaskbuycredits.h"
#include "tasks/comtaskchangecustomer.h"
#include "tasks/comtaskconfirmregistration.h"
#include "tasks/comtaskdownloadcustomer.h"
#include "tasks/comtaskdownloadpayment.h"
#include "tasks/comtaskget0190numbers.h"
#include "tasks/comtaskgetneighborhood.h"
#include "tasks/comtaskgetsmscredits.h"
#include "tasks/comtaskgetsmspaymentoptions.h"
#include "tasks/comtaskgetsmsprices.h"
#include "tasks/comtaskgetwelcomecredits.h"
#include "tasks/comtaskloadcreditchanges.h"
#include "tasks/comtasksendconfcode.h"
#include "tasks/comtasksendpassword.h"
#include "tasks/comtasktellafriend.h"
#include "tasks/comtaskuploadcustomer.h"
#include "tasks/taskfactory.h"
#include "tests/service/serviceclient.h"
#include "tests/support/clientinstall.h"
#include "tests/support/standinserver.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <typeinfo>
#include <vector>

using namespace riz;
using riz::test::MakeTextTable;
using riz::test::TableRows;

namespace {

using Rows = std::vector<std::vector<std::string>>;

// An answer message: "rslt" and the given parameters.
std::string Answer(int rslt, const std::vector<TCSParam>& params = {})
{
    TCSDataString m;
    m.Type = "ANSW";
    m.AddParam(TCSParam::Int("rslt", rslt));
    for (const TCSParam& p : params)
        m.AddParam(p);
    return m.Encode();
}

// A table whose cells are given as coded values (so numbers and dates keep their coding).
TCSParam Table(const std::string& name, const std::vector<std::string>& columns,
               const std::vector<std::vector<TCSParam>>& rows)
{
    TCSTable t;
    t.SetColumnCount(static_cast<std::int32_t>(columns.size()));
    for (size_t i = 0; i < columns.size(); ++i)
        t.ColumnName(static_cast<std::int32_t>(i)) = columns[i];
    for (const auto& row : rows) {
        t.AddRow();
        for (size_t i = 0; i < row.size(); ++i)
            t.CurrentCell(static_cast<std::int32_t>(i)) = row[i];
    }
    return TCSParam::Table(name, t);
}

TCSParam TextTable(const std::string& name, const std::vector<std::string>& columns,
                   const Rows& rows)
{
    return TCSParam::Table(name, MakeTextTable(columns, rows));
}

TCSParam I(std::int32_t v)
{
    TCSParam p;
    p.SetInt(v);
    return p;
}
TCSParam F(double v)
{
    TCSParam p;
    p.SetFloat(v);
    return p;
}
TCSParam S(const std::string& v)
{
    TCSParam p;
    p.SetString(v);
    return p;
}

// The rows of a local table, each field by name as text.
Rows LocalRows(TClientDataSet& table, const std::vector<std::string>& fields)
{
    Rows out;
    const int keep = table.RecNo();
    for (table.First(); !table.Eof(); table.Next()) {
        std::vector<std::string> row;
        for (const auto& f : fields)
            row.push_back(table.FieldByName(f).AsString());
        out.push_back(row);
    }
    if (keep > 0)
        table.SetRecNo(keep);
    return out;
}

const char* kLoginPart = "email_address=kunde@example.de\\ppassword=geheim\\p";

class AccountTasks : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ModalHook::Clear();
        ModalHook::ClearHistory();
        server = std::make_unique<test::StandInServer>("127.0.0.1", 0);
        client = std::make_unique<test::ClientInstall>("127.0.0.1", server->Port());
        client->AddProfile("kunde@example.de", "geheim", 4711);
    }
    void TearDown() override
    {
        client.reset();
        server.reset();
        EXPECT_FALSE(ModalHook::HasPending()) << "an answer was not used";
    }

    void Reply(const std::string& message)
    {
        test::StandInServer::Reply reply;
        reply.message = message;
        server->SetReply(reply);
    }

    // Runs a task that completes; its result code.
    int Run(int taskId)
    {
        EXPECT_EQ(client->Execute(taskId), 1) << "task " << taskId << " did not complete";
        return client->ResultCode();
    }

    // The last request the stand-in received, decoded.
    TCSDataString LastRequest() const
    {
        const auto requests = server->Requests();
        TCSDataString m;
        if (!requests.empty())
            m.Decode(requests.back().message);
        return m;
    }
    std::string LastRequestText() const
    {
        const auto requests = server->Requests();
        return requests.empty() ? std::string() : requests.back().message;
    }
    std::vector<std::string> ParamNames(const TCSDataString& m) const
    {
        std::vector<std::string> names;
        for (const auto& p : m.Params)
            names.push_back(p->Name);
        return names;
    }

    TClientDataSet& Customer() { return DataModuleCust->CDSCustomer; }

    // Gives the logged-in profile an address, a payment nick name and some data, written.
    void FillProfile()
    {
        TClientDataSet& c = Customer();
        c.Edit();
        c.FieldByName("FIRST_NAME").SetAsString("Alt");
        c.FieldByName("CREDITS").SetAsInteger(77);
        c.Post();
        TClientDataSet& a = DataModuleCust->CDSCustAddr();
        a.Append();
        a.FieldByName("ADDRESS_ID").SetAsInteger(1);
        a.FieldByName("NICK_NAME").SetAsString("Alte Adresse");
        a.FieldByName("CITY").SetAsString("Bonn");
        a.Post();
        TClientDataSet& p = DataModuleCust->CDSPaymentInfoNickNames();
        p.Append();
        p.FieldByName("NICK_NAME").SetAsString("Alte Karte");
        p.FieldByName("PAYMENT_TYPE").SetAsString("CC");
        p.Post();
        DataModuleCust->CommitCustomerTables();
    }

    std::unique_ptr<test::StandInServer> server;
    std::unique_ptr<test::ClientInstall> client;
};

// ---- registration of the group's ids --------------------------------------------------------

template <typename T> bool Is(const TComTask& task)
{
    return typeid(task) == typeid(T);
}

TEST_F(AccountTasks, EveryIdOfTheGroupMapsToItsClass)
{
    EXPECT_TRUE(Is<TComTaskUploadCustomer>(*CreateTask(50411)));
    EXPECT_TRUE(Is<TComTaskDownloadCustomer>(*CreateTask(50412)));
    EXPECT_TRUE(Is<TComTaskDownloadPayment>(*CreateTask(50413)));
    EXPECT_TRUE(Is<TComTaskGetNeighborhood>(*CreateTask(50414)));
    const std::vector<std::pair<int, int>> operations = {
        {50421, 1}, {50422, 13}, {50423, 12}, {50424, 11}, {50425, 23}, {50426, 22}, {50427, 21}};
    for (const auto& [id, operation] : operations) {
        auto task = CreateTask(id);
        auto* change = dynamic_cast<TComTaskChangeCustomer*>(task.get());
        ASSERT_NE(change, nullptr) << id;
        EXPECT_EQ(change->Operation, operation) << id;
        EXPECT_EQ(change->TaskId, id);
    }
    EXPECT_TRUE(Is<TComTaskSendPassword>(*CreateTask(50431)));
    EXPECT_TRUE(Is<TComTaskConfirmRegistration>(*CreateTask(50432)));
    EXPECT_TRUE(Is<TComTaskTellAFriend>(*CreateTask(50433)));
    EXPECT_TRUE(Is<TComTaskSendConfCode>(*CreateTask(50434)));
    EXPECT_TRUE(Is<TComTaskGetSMSPrices>(*CreateTask(50451)));
    EXPECT_TRUE(Is<TComTaskGetSMSCredits>(*CreateTask(50452)));
    EXPECT_TRUE(Is<TComTaskGetSMSPaymentOptions>(*CreateTask(50453)));
    EXPECT_TRUE(Is<TComTaskLoadCreditChanges>(*CreateTask(50454)));
    EXPECT_TRUE(Is<TComTaskBuyCredits>(*CreateTask(50455)));
    EXPECT_TRUE(Is<TComTaskGetWelcomeCredits>(*CreateTask(50456)));
    EXPECT_TRUE(Is<TComTaskGet0190Numbers>(*CreateTask(50457)));
}

// ---- prices and discounts --------------------------------------------------------------------

std::vector<TCSParam> PriceParams(bool withVat = true)
{
    std::vector<TCSParam> p = {TCSParam::Text("account_owner", "Parvion GmbH"),
                               TCSParam::Text("account_number", "987"),
                               TCSParam::Text("routing_number", "100 200"),
                               TCSParam::Text("bank_name", "Bank <Ost>"),
                               TCSParam::Int("sms_price", 17),
                               TCSParam::Int("logo_price", 33),
                               TCSParam::Int("ring_price", 44)};
    if (withVat)
        p.push_back(TCSParam::Float("vat", 19.0));
    p.push_back(TCSParam::Float("discount_cc", 2.5));
    p.push_back(TCSParam::Float("discount_pre_wire", 4.75));
    return p;
}

void FillDiscounts(const std::vector<std::pair<int, double>>& rows)
{
    TClientDataSet& d = DataModuleSMS->CDSDiscounts;
    for (const auto& [amount, percentage] : rows) {
        d.Append();
        d.FieldByName("AMOUNT").SetAsInteger(amount);
        d.FieldByName("PERCENTAGE").SetAsFloat(percentage);
        d.Post();
    }
    DataModuleSMS->CommitDiscounts();
}

TEST_F(AccountTasks, PriceListReplacesDiscountsAndStoresPricesAndBankData)
{
    FillDiscounts({{20, 1.0}, {40, 2.0}, {60, 3.0}});
    std::vector<TCSParam> params = {
        Table("discounts", {"amount", "percentage"}, {{I(50), F(5.0)}, {I(100), F(10.5)}})};
    for (auto& p : PriceParams())
        params.push_back(p);
    params.push_back(TCSParam::Text("latest_version", "0.97.09"));
    Reply(Answer(0, params));

    EXPECT_EQ(Run(50451), 0);
    EXPECT_EQ(LastRequestText(),
              std::string("<ZK TYPE=\"RQST\" NAME=\"GET_SMS_PRICES\" VER=\"1.00\" "
                          "PROGVER=\"0.97.01\">") +
                  kLoginPart + "my_version=0.97.01\\p</ZK>");
    EXPECT_EQ(LocalRows(DataModuleSMS->CDSDiscounts, {"AMOUNT", "PERCENTAGE"}),
              (Rows{{"50", "5"}, {"100", "10,5"}}));
    EXPECT_EQ(AppParam->iSMSPrice, 17);
    EXPECT_EQ(AppParam->iLogoPrice, 33);
    EXPECT_EQ(AppParam->iRingPrice, 44);
    EXPECT_DOUBLE_EQ(AppParam->fVAT, 19.0);
    EXPECT_DOUBLE_EQ(AppParam->fDiscountCC, 2.5);
    EXPECT_DOUBLE_EQ(AppParam->fDiscountPreWire, 4.75);
    EXPECT_GT(AppParam->dtPricesDiscountsLastUpdated, 0);
    EXPECT_EQ(AppParam->sLatestVersion, "0.97.09");

    // Written: the discounts file and the INI file hold the new values.
    client->Reopen();
    EXPECT_EQ(LocalRows(DataModuleSMS->CDSDiscounts, {"AMOUNT", "PERCENTAGE"}),
              (Rows{{"50", "5"}, {"100", "10,5"}}));
    TAppParam saved(client->ProgramDir());
    EXPECT_EQ(saved.sPreWireAccountOwner, "Parvion GmbH");
    EXPECT_EQ(saved.sPreWireAccountNumber, "987");
    EXPECT_EQ(saved.sPreWireRoutingNumber, "100 200");
    EXPECT_EQ(saved.sPreWireBankName, "Bank <Ost>");
    EXPECT_EQ(saved.iSMSPrice, 17);
    EXPECT_DOUBLE_EQ(saved.fDiscountPreWire, 4.75);
}

TEST_F(AccountTasks, PriceListWithAnEmptyDiscountTableEmptiesTheDiscounts)
{
    FillDiscounts({{50, 5.0}, {100, 10.0}});
    std::vector<TCSParam> params = {Table("discounts", {"amount", "percentage"}, {})};
    for (auto& p : PriceParams())
        params.push_back(p);
    Reply(Answer(0, params));

    EXPECT_EQ(Run(50451), 0);
    EXPECT_EQ(DataModuleSMS->CDSDiscounts.RecordCount(), 0);
    EXPECT_EQ(AppParam->iSMSPrice, 17);
    client->Reopen();
    EXPECT_EQ(DataModuleSMS->CDSDiscounts.RecordCount(), 0);
}

TEST_F(AccountTasks, PriceListWithoutVatLeavesDiscountsFileAndPricesAsTheyWere)
{
    FillDiscounts({{50, 5.0}, {100, 10.0}});
    const int smsPrice = AppParam->iSMSPrice;
    const std::string bank = AppParam->sPreWireBankName;
    std::vector<TCSParam> params = {
        Table("discounts", {"amount", "percentage"}, {{I(250), F(15.0)}})};
    for (auto& p : PriceParams(false))
        params.push_back(p);
    Reply(Answer(0, params));

    const std::string error = client->ExecuteExpectingError(50451);
    EXPECT_NE(error.find("vat"), std::string::npos) << error;
    EXPECT_EQ(LocalRows(DataModuleSMS->CDSDiscounts, {"AMOUNT"}), (Rows{{"50"}, {"100"}}));
    EXPECT_EQ(AppParam->iSMSPrice, smsPrice);
    EXPECT_EQ(AppParam->sPreWireBankName, bank);
    EXPECT_EQ(AppParam->dtPricesDiscountsLastUpdated, 0);
    client->Reopen();
    EXPECT_EQ(LocalRows(DataModuleSMS->CDSDiscounts, {"AMOUNT"}), (Rows{{"50"}, {"100"}}));
}

TEST_F(AccountTasks, PriceListWithAMissingDiscountColumnLeavesTheDiscounts)
{
    FillDiscounts({{50, 5.0}});
    std::vector<TCSParam> params = {Table("discounts", {"amount"}, {{I(250)}})};
    for (auto& p : PriceParams())
        params.push_back(p);
    Reply(Answer(0, params));

    const std::string error = client->ExecuteExpectingError(50451);
    EXPECT_NE(error.find("percentage"), std::string::npos) << error;
    EXPECT_EQ(LocalRows(DataModuleSMS->CDSDiscounts, {"AMOUNT"}), (Rows{{"50"}}));
}

TEST_F(AccountTasks, PriceListRefusedChangesNothing)
{
    FillDiscounts({{50, 5.0}});
    Reply(Answer(11));
    EXPECT_EQ(Run(50451), 11);
    EXPECT_EQ(LocalRows(DataModuleSMS->CDSDiscounts, {"AMOUNT"}), (Rows{{"50"}}));
    EXPECT_EQ(AppParam->dtPricesDiscountsLastUpdated, 0);
}

// ---- 0190 numbers ----------------------------------------------------------------------------

struct NumbersCase
{
    std::vector<std::pair<int, std::string>> rows;
    std::string number50;
    std::string number200;
};

TEST_F(AccountTasks, PremiumNumbersInEitherOrder)
{
    const std::vector<NumbersCase> cases = {
        {{{500, "0190 11"}, {2000, "0190 22"}}, "0190 11", "0190 22"},
        {{{2000, "0190 22"}, {500, "0190 11"}}, "0190 11", "0190 22"},
        // 50 and 200 are credits, not tenths: neither number is filled.
        {{{50, "0190 33"}, {200, "0190 44"}}, "alt 50", "alt 200"},
        // A value missing from the answer keeps its old number.
        {{{2000, "0190 22"}}, "alt 50", "0190 22"},
        {{}, "alt 50", "alt 200"},
    };
    for (const NumbersCase& c : cases) {
        DataModuleSMS->ServiceNumber50 = "alt 50";
        DataModuleSMS->ServiceNumber200 = "alt 200";
        std::vector<std::vector<TCSParam>> rows;
        for (const auto& [credits, number] : c.rows)
            rows.push_back({I(credits), S(number)});
        Reply(Answer(0, {Table("0190credits", {"credits", "number"}, rows)}));
        EXPECT_EQ(Run(50457), 0);
        EXPECT_EQ(DataModuleSMS->ServiceNumber50, c.number50) << c.rows.size();
        EXPECT_EQ(DataModuleSMS->ServiceNumber200, c.number200) << c.rows.size();
    }
    EXPECT_EQ(ParamNames(LastRequest()),
              (std::vector<std::string>{"email_address", "password", "my_version"}));
    EXPECT_EQ(LastRequest().Name, "GET_0190_NUMBERS");
}

TEST_F(AccountTasks, PremiumNumbersWithAMissingColumnKeepTheOldNumbers)
{
    DataModuleSMS->ServiceNumber50 = "alt 50";
    Reply(Answer(0, {Table("0190credits", {"credits"}, {{I(500)}})}));
    const std::string error = client->ExecuteExpectingError(50457);
    EXPECT_NE(error.find("number"), std::string::npos) << error;
    EXPECT_EQ(DataModuleSMS->ServiceNumber50, "alt 50");
}

// ---- statement, payment options, buying ------------------------------------------------------

TEST_F(AccountTasks, StatementReplacesTheCreditChangesAndIsNotWritten)
{
    TClientDataSet& t = DataModuleSMS->CDSCreditChanges;
    t.Append();
    t.FieldByName("CHANGE").SetAsInteger(1);
    t.FieldByName("REASON").SetAsString("alt");
    t.Post();
    TCSParam date;
    date.SetDateTime(calendar::DateValue(2026, 3, 5) + 0.5);
    Reply(Answer(0, {Table("changes", {"change", "reason", "date"},
                           {{I(500), S("<free-50>"), date}, {I(-15), S("sms"), date}})}));
    EXPECT_EQ(Run(50454), 0);
    EXPECT_EQ(LocalRows(t, {"CHANGE", "REASON"}), (Rows{{"500", "<free-50>"}, {"-15", "sms"}}));
    t.First();
    EXPECT_DOUBLE_EQ(t.FieldByName("DATE").AsDateTime(), calendar::DateValue(2026, 3, 5) + 0.5);
    EXPECT_TRUE(t.FileName().empty());
}

TEST_F(AccountTasks, StatementWithoutItsDateColumnKeepsTheOldRows)
{
    TClientDataSet& t = DataModuleSMS->CDSCreditChanges;
    t.Append();
    t.FieldByName("CHANGE").SetAsInteger(1);
    t.FieldByName("REASON").SetAsString("alt");
    t.Post();
    Reply(Answer(0, {Table("changes", {"change", "reason"}, {{I(500), S("neu")}})}));
    const std::string error = client->ExecuteExpectingError(50454);
    EXPECT_NE(error.find("date"), std::string::npos) << error;
    EXPECT_EQ(LocalRows(t, {"CHANGE", "REASON"}), (Rows{{"1", "alt"}}));
}

TEST_F(AccountTasks, PaymentOptionsAreStored)
{
    Reply(Answer(0, {TCSParam::Text("payment_options", "<free-50><0190-50>")}));
    EXPECT_EQ(Run(50453), 0);
    EXPECT_EQ(AppParam->sValidPaymentOptions, "<free-50><0190-50>");
    EXPECT_EQ(TAppParam(client->ProgramDir()).sValidPaymentOptions, "<free-50><0190-50>");
    Reply(Answer(11));
    EXPECT_EQ(Run(50453), 11);
    EXPECT_EQ(AppParam->sValidPaymentOptions, "<free-50><0190-50>");
}

TEST_F(AccountTasks, BuyRequestCarriesWhatItsPaymentOptionNeeds)
{
    TDataModuleSMS& sms = *DataModuleSMS;
    sms.CreditCode = "CODE-1";
    sms.CcType = "VISA";
    sms.CcNumber = "4111111111111111";
    sms.CcOwner = "Max Muster";
    sms.CcExpMonth = 7;
    sms.CcExpYear = 2030;
    sms.CreditsToBuy = 1230;
    sms.AmountEuro = 99;
    Reply(Answer(91, {TCSParam::Text("payment_options", "<0190-50>")}));

    const std::string head =
        "<ZK TYPE=\"RQST\" NAME=\"BUY_CREDITS\" VER=\"1.00\" PROGVER=\"0.97.01\">";
    for (const std::string option : {"<pre-wire>", "<free-50>"}) {
        sms.PaymentOption = option;
        EXPECT_EQ(Run(50455), 91);
        EXPECT_EQ(LastRequestText(), head + kLoginPart + "payment_option=\\<" +
                                         option.substr(1, option.size() - 2) +
                                         "\\>\\pmy_version=0.97.01\\p</ZK>");
    }
    for (const std::string option : {"<welcome>", "<0190-50>", "<0190-200>"}) {
        sms.PaymentOption = option;
        EXPECT_EQ(Run(50455), 91);
        const TCSDataString m = LastRequest();
        EXPECT_EQ(ParamNames(m),
                  (std::vector<std::string>{"email_address", "password", "payment_option",
                                            "credit_code", "my_version"}));
        EXPECT_EQ(m.GetParam("payment_option").AsString(), option);
        EXPECT_EQ(m.GetParam("credit_code").AsString(), "CODE-1");
    }
    sms.PaymentOption = "<cc2>";
    EXPECT_EQ(Run(50455), 91);
    const TCSDataString m = LastRequest();
    EXPECT_EQ(ParamNames(m),
              (std::vector<std::string>{"email_address", "password", "payment_option", "cc_type",
                                        "cc_number", "cc_owner", "cc_exp_month", "cc_exp_year",
                                        "credits", "my_version"}));
    EXPECT_EQ(m.GetParam("cc_type").AsString(), "VISA");
    EXPECT_EQ(m.GetParam("cc_number").AsString(), "4111111111111111");
    EXPECT_EQ(m.GetParam("cc_owner").AsString(), "Max Muster");
    EXPECT_EQ(m.GetParam("cc_exp_month").AsInt(), 7);
    EXPECT_EQ(m.GetParam("cc_exp_year").AsInt(), 2030);
    // Tenths of a credit, not the amount of money.
    EXPECT_EQ(m.GetParam("credits").AsInt(), 1230);
}

TEST_F(AccountTasks, BuySuccessStoresCreditsAndPaymentOptions)
{
    DataModuleSMS->PaymentOption = "<free-50>";
    Reply(Answer(0, {TCSParam::Int("credits", 580), TCSParam::Text("payment_options", "<cc2>")}));
    EXPECT_EQ(Run(50455), 0);
    EXPECT_EQ(Customer().FieldByName("CREDITS").AsInteger(), 580);
    EXPECT_EQ(AppParam->sValidPaymentOptions, "<cc2>");
    client->Reopen();
    EXPECT_EQ(Customer().FieldByName("CREDITS").AsInteger(), 580);
}

TEST_F(AccountTasks, BuyNotPossibleStoresOnlyThePaymentOptions)
{
    FillProfile();
    DataModuleSMS->PaymentOption = "<pre-wire>";
    Reply(Answer(91,
                 {TCSParam::Int("credits", 999), TCSParam::Text("payment_options", "<0190-50>")}));
    EXPECT_EQ(Run(50455), 91);
    EXPECT_EQ(Customer().FieldByName("CREDITS").AsInteger(), 77);
    EXPECT_EQ(AppParam->sValidPaymentOptions, "<0190-50>");

    // Other refusals change nothing at all.
    for (int code : {5, 11, 92, 93, 94, 95, 96}) {
        Reply(Answer(code, {TCSParam::Text("payment_options", "<x>")}));
        EXPECT_EQ(Run(50455), code);
        EXPECT_EQ(AppParam->sValidPaymentOptions, "<0190-50>") << code;
        EXPECT_EQ(Customer().FieldByName("CREDITS").AsInteger(), 77) << code;
    }
}

TEST_F(AccountTasks, BuyAnswerWithoutPaymentOptionsLeavesTheBalance)
{
    FillProfile();
    AppParam->SetValidPaymentOptions("<free-50>");
    DataModuleSMS->PaymentOption = "<free-50>";
    Reply(Answer(0, {TCSParam::Int("credits", 580)}));
    const std::string error = client->ExecuteExpectingError(50455);
    EXPECT_NE(error.find("payment_options"), std::string::npos) << error;
    EXPECT_EQ(Customer().FieldByName("CREDITS").AsInteger(), 77);
    EXPECT_EQ(AppParam->sValidPaymentOptions, "<free-50>");
    client->Reopen();
    EXPECT_EQ(Customer().FieldByName("CREDITS").AsInteger(), 77);
}

TEST_F(AccountTasks, WelcomeCreditsSendTheNumberAndWriteThePendingProfile)
{
    DataModuleCust->WelcomeNumber = "491725555555";
    // The caller's pending note on the profile reaches the file with the task.
    Customer().Edit();
    Customer().FieldByName("WELCOME_CREDIT_CODE_SENT").SetAsBoolean(true);
    Reply(Answer(0));
    EXPECT_EQ(Run(50456), 0);
    const TCSDataString m = LastRequest();
    EXPECT_EQ(m.Name, "GET_WELCOME_CREDITS");
    EXPECT_EQ(ParamNames(m),
              (std::vector<std::string>{"email_address", "password", "cell_phone", "my_version"}));
    EXPECT_EQ(m.GetParam("cell_phone").AsString(), "491725555555");
    EXPECT_EQ(Customer().State(), TDataSetState::Browse);
    client->Reopen();
    EXPECT_TRUE(Customer().FieldByName("WELCOME_CREDIT_CODE_SENT").AsBoolean());

    for (int code : {5, 97, 98}) {
        Reply(Answer(code));
        EXPECT_EQ(Run(50456), code);
    }
}

TEST_F(AccountTasks, RecommendationSendsTheRowsWithANameOnly)
{
    TDataModuleSMS& sms = *DataModuleSMS;
    sms.FriendNames = {"Anna", "", "Carl <C>", "", ""};
    sms.FriendEmails = {"anna@example.de", "bert@example.de", "carl@example.de", "", "x@y.de"};
    Reply(Answer(0));
    EXPECT_EQ(Run(50433), 0);
    const TCSDataString m = LastRequest();
    EXPECT_EQ(m.Name, "TELL_A_FRIEND");
    EXPECT_EQ(ParamNames(m), (std::vector<std::string>{"email_address", "password", "app_id",
                                                       "friends", "my_version"}));
    EXPECT_EQ(m.GetParam("app_id").AsString(), "SMS");
    EXPECT_EQ(TableRows(m, "friends", {"name", "email_address"}),
              (Rows{{"Anna", "anna@example.de"}, {"Carl <C>", "carl@example.de"}}));
}

// ---- customer download -----------------------------------------------------------------------

std::vector<TCSParam> CustomerAnswer(const std::string& birthdate, int welcomeSent,
                                     const Rows& addresses, const Rows& payments)
{
    return {
        TextTable("custdata",
                  {"customer_id", "email_address", "gender", "first_name", "last_name",
                   "home_phone", "work_phone", "cell_phone", "fax", "birthdate",
                   "home_country_code", "language_code", "bill_address_nick_name"},
                  {{"812", "server@example.de", "F", "Erika", "Muster", "030 1", "030 2", "0172 3",
                    "030 4", birthdate, "de", "EN", "Büro"}}),
        TextTable("addresses",
                  {"nick_name", "address1", "address2", "city", "state", "postal_code",
                   "country_code", "norm_city_name", "norm_quarter_name"},
                  addresses),
        TextTable("payment", {"nick_name", "payment_type", "cc_type"}, payments),
        TCSParam::Int("credits", 345),
        TCSParam::Int("welcome_credit_code_sent", welcomeSent),
        TCSParam::Text("welcome_credit_code_sent_to", "491725555555"),
        TCSParam::Int("welcome_credit_code_redeemed", 1),
    };
}

// Appends the fresh record the login dialog hands over, with the typed credentials.
void PrepareDownload(const std::string& email, const std::string& password)
{
    DataModuleCust->DownloadEmail = email;
    DataModuleCust->DownloadPassword = password;
    DataModuleCust->CDSCustomer.Append();
}

TEST_F(AccountTasks, CustomerDownloadFillsTheFreshRecordAndWritesIt)
{
    PrepareDownload("Neu@Example.de", "getippt");
    Reply(Answer(0,
                 CustomerAnswer(
                     "1970-03-05", 1,
                     {{"Büro", "Hauptstr. 1", "", "Berlin", "", "10115", "de", "BERLIN", "MITTE"},
                      {"Zuhause <2>", "Weg 2", "c/o \\ A", "Köln", "", "50667", "de", "KOELN", ""}},
                     {{"Karte", "CC", "VISA"}, {"Konto", "BEZ", ""}})));
    EXPECT_EQ(Run(50412), 0);
    EXPECT_EQ(LastRequestText(), "<ZK TYPE=\"RQST\" NAME=\"GET_CUSTOMER\" VER=\"1.00\" "
                                 "PROGVER=\"0.97.01\">email_address=Neu@Example.de\\p"
                                 "password=getippt\\pmy_version=0.97.01\\p</ZK>");

    auto check = [&] {
        TClientDataSet& c = Customer();
        ASSERT_TRUE(c.Locate("EMAIL_ADDRESS", TValue(std::string("Neu@Example.de"))));
        EXPECT_EQ(c.FieldByName("CUSTOMER_ID").AsInteger(), 812);
        // The typed credentials, not the service's spelling of the address.
        EXPECT_EQ(c.FieldByName("PASSWORD").AsString(), "getippt");
        EXPECT_EQ(c.FieldByName("GENDER").AsString(), "F");
        EXPECT_EQ(c.FieldByName("FIRST_NAME").AsString(), "Erika");
        EXPECT_EQ(c.FieldByName("LAST_NAME").AsString(), "Muster");
        EXPECT_EQ(c.FieldByName("HOME_PHONE").AsString(), "030 1");
        EXPECT_EQ(c.FieldByName("WORK_PHONE").AsString(), "030 2");
        EXPECT_EQ(c.FieldByName("CELL_PHONE").AsString(), "0172 3");
        EXPECT_EQ(c.FieldByName("FAX").AsString(), "030 4");
        // A date of 10 characters is midnight of that day.
        EXPECT_DOUBLE_EQ(c.FieldByName("BIRTHDATE").AsDateTime(), calendar::DateValue(1970, 3, 5));
        EXPECT_EQ(c.FieldByName("HOME_COUNTRY_CODE").AsString(), "de");
        EXPECT_EQ(c.FieldByName("LANGUAGE_CODE").AsString(), "EN");
        EXPECT_EQ(c.FieldByName("BILL_ADDRESS_NICK_NAME").AsString(), "Büro");
        EXPECT_TRUE(c.FieldByName("REMEMBER_PASSWORD").AsBoolean());
        EXPECT_EQ(c.FieldByName("CREDITS").AsInteger(), 345);
        EXPECT_TRUE(c.FieldByName("WELCOME_CREDIT_CODE_SENT").AsBoolean());
        EXPECT_EQ(c.FieldByName("WELCOME_CREDIT_CODE_SENT_TO").AsString(), "491725555555");
        EXPECT_TRUE(c.FieldByName("WELCOME_CREDIT_CODE_REDEEMED").AsBoolean());
        EXPECT_EQ(
            LocalRows(DataModuleCust->CDSCustAddr(),
                      {"ADDRESS_ID", "NICK_NAME", "ADDRESS1", "ADDRESS2", "CITY", "STATE",
                       "POSTAL_CODE", "COUNTRY_CODE", "NORM_CITY_NAME", "NORM_QUARTER_NAME"}),
            (Rows{{"0", "Büro", "Hauptstr. 1", "", "Berlin", "", "10115", "de", "BERLIN", "MITTE"},
                  {"1", "Zuhause <2>", "Weg 2", "c/o \\ A", "Köln", "", "50667", "de", "KOELN",
                   ""}}));
        EXPECT_EQ(LocalRows(DataModuleCust->CDSPaymentInfoNickNames(),
                            {"NICK_NAME", "PAYMENT_TYPE", "CC_TYPE"}),
                  (Rows{{"Karte", "CC", "VISA"}, {"Konto", "BEZ", ""}}));
    };
    EXPECT_EQ(Customer().State(), TDataSetState::Browse);
    check();
    client->Reopen();
    check();
    EXPECT_TRUE(ModalHook::History().empty());
}

TEST_F(AccountTasks, CustomerDownloadEdgeCases)
{
    // A reload: the profile's own row in edit; an empty birth date, a welcome flag of 2 and
    // empty address and payment tables.
    FillProfile();
    DataModuleCust->DownloadEmail = "kunde@example.de";
    DataModuleCust->DownloadPassword = "geheim";
    Customer().Edit();
    Reply(Answer(0, CustomerAnswer("", 2, {}, {})));
    EXPECT_EQ(Run(50412), 0);
    EXPECT_EQ(Customer().FieldByName("BIRTHDATE").AsDateTime(), 0);
    EXPECT_FALSE(Customer().FieldByName("BIRTHDATE").IsNull());
    EXPECT_FALSE(Customer().FieldByName("WELCOME_CREDIT_CODE_SENT").AsBoolean());
    EXPECT_EQ(DataModuleCust->CDSCustAddr().RecordCount(), 0);
    EXPECT_EQ(DataModuleCust->CDSPaymentInfoNickNames().RecordCount(), 0);
    EXPECT_EQ(Customer().FieldByName("FIRST_NAME").AsString(), "Erika");
    EXPECT_EQ(Customer().TotalRecordCount(), 1);
    client->Reopen();
    EXPECT_EQ(DataModuleCust->CDSCustAddr().RecordCount(), 0);
    EXPECT_EQ(Customer().FieldByName("CREDITS").AsInteger(), 345);
}

TEST_F(AccountTasks, CustomerDownloadWithAMissingColumnLeavesTheProfileAsItWas)
{
    FillProfile();
    struct Case
    {
        const char* what;
        std::vector<TCSParam> answer;
    };
    std::vector<Case> cases;
    {
        auto a = CustomerAnswer("1970-03-05", 1, {}, {});
        // "addresses" without its "city" column.
        a[1] =
            TextTable("addresses",
                      {"nick_name", "address1", "address2", "state", "postal_code", "country_code"},
                      {{"Neu", "Weg 1", "", "", "10115", "de"}});
        cases.push_back({"city", a});
    }
    {
        auto a = CustomerAnswer("1970-03-05", 1,
                                {{"Neu", "Weg 1", "", "Bonn", "", "1", "de", "", ""}}, {});
        a.erase(a.begin() + 4); // "welcome_credit_code_sent"
        cases.push_back({"welcome_credit_code_sent", a});
    }
    {
        auto a = CustomerAnswer("1970-03-05", 1, {}, {{"Neu", "CC", "VISA"}});
        a[0] = TextTable("custdata", {"customer_id", "first_name"}, {{"812", "Erika"}});
        cases.push_back({"gender", a});
    }
    for (const Case& c : cases) {
        DataModuleCust->DownloadEmail = "kunde@example.de";
        DataModuleCust->DownloadPassword = "geheim";
        Customer().Edit();
        Reply(Answer(0, c.answer));
        const std::string error = client->ExecuteExpectingError(50412);
        EXPECT_NE(error.find(c.what), std::string::npos) << error;
        Customer().Cancel(); // the reload cancels its edit after a failed run
        EXPECT_EQ(Customer().FieldByName("FIRST_NAME").AsString(), "Alt") << c.what;
        EXPECT_EQ(Customer().FieldByName("CREDITS").AsInteger(), 77) << c.what;
        EXPECT_EQ(LocalRows(DataModuleCust->CDSCustAddr(), {"NICK_NAME", "CITY"}),
                  (Rows{{"Alte Adresse", "Bonn"}}))
            << c.what;
        EXPECT_EQ(LocalRows(DataModuleCust->CDSPaymentInfoNickNames(), {"NICK_NAME"}),
                  (Rows{{"Alte Karte"}}))
            << c.what;
        // A later write of the customer table for another reason writes no half answer.
        DataModuleCust->CommitCustomerTables();
        client->Reopen();
        EXPECT_EQ(Customer().FieldByName("FIRST_NAME").AsString(), "Alt") << c.what;
        EXPECT_EQ(LocalRows(DataModuleCust->CDSCustAddr(), {"NICK_NAME"}), (Rows{{"Alte Adresse"}}))
            << c.what;
    }
}

TEST_F(AccountTasks, CustomerDownloadRefusedStoresNothing)
{
    PrepareDownload("neu@example.de", "falsch");
    Reply(Answer(11, CustomerAnswer("", 1, {}, {})));
    EXPECT_EQ(Run(50412), 11);
    EXPECT_EQ(Customer().State(), TDataSetState::Insert);
    EXPECT_TRUE(Customer().FieldByName("FIRST_NAME").AsString().empty());
    Customer().Cancel();
    EXPECT_EQ(Customer().TotalRecordCount(), 1);
}

// ---- registration ----------------------------------------------------------------------------

TEST_F(AccountTasks, RegistrationSendsTheRecordAndStoresTheNewId)
{
    TClientDataSet& c = Customer();
    c.Append();
    c.FieldByName("CUSTOMER_ID").SetAsInteger(-1);
    c.FieldByName("EMAIL_ADDRESS").SetAsString("neu@example.de");
    c.FieldByName("PASSWORD").SetAsString("pw\\<1>");
    c.FieldByName("GENDER").SetAsString("M");
    c.FieldByName("FIRST_NAME").SetAsString("Max");
    c.FieldByName("LAST_NAME").SetAsString("Muster");
    c.FieldByName("HOME_COUNTRY_CODE").SetAsString("de");
    c.FieldByName("LANGUAGE_CODE").SetAsString("DE");
    Reply(Answer(0, {TCSParam::Int("customer_id", 9001)}));
    EXPECT_EQ(Run(50411), 0);

    const TCSDataString m = LastRequest();
    EXPECT_EQ(m.Name, "ADD_CUSTOMER");
    EXPECT_EQ(ParamNames(m), (std::vector<std::string>{"custdata", "my_version"}));
    EXPECT_EQ(TableRows(m, "custdata",
                        {"email_address", "password", "gender", "first_name", "last_name",
                         "home_phone", "work_phone", "cell_phone", "fax", "home_country_code",
                         "language_code", "reseller_id"}),
              (Rows{{"neu@example.de", "pw\\<1>", "M", "Max", "Muster", "", "", "", "", "de", "DE",
                     "0"}}));
    const TCSTable custdata = m.GetParam("custdata").AsTable();
    EXPECT_EQ(custdata.ColumnCount(), 13);
    EXPECT_EQ(custdata.Cell(0, custdata.ColumnIndex("birthdate")).AsDateTime(), 0);

    EXPECT_EQ(c.State(), TDataSetState::Browse);
    EXPECT_EQ(c.FieldByName("EMAIL_ADDRESS").AsString(), "neu@example.de");
    EXPECT_EQ(c.FieldByName("CUSTOMER_ID").AsInteger(), 9001);
    // The per-profile tables follow the new id.
    EXPECT_EQ(DataModuleSMS->CustomerId, 9001);
}

TEST_F(AccountTasks, RegistrationRefusedLeavesTheRowToTheCaller)
{
    Customer().Append();
    Customer().FieldByName("EMAIL_ADDRESS").SetAsString("doppelt@example.de");
    Customer().FieldByName("CUSTOMER_ID").SetAsInteger(-1);
    Reply(Answer(21));
    EXPECT_EQ(Run(50411), 21);
    EXPECT_EQ(Customer().State(), TDataSetState::Insert);
    EXPECT_EQ(Customer().FieldByName("CUSTOMER_ID").AsInteger(), -1);
    Customer().Cancel();
}

TEST_F(AccountTasks, PasswordConfirmationAndCodeRequests)
{
    DataModuleCust->PasswordRequestEmail = "vergessen@example.de";
    Reply(Answer(0));
    EXPECT_EQ(Run(50431), 0);
    EXPECT_EQ(LastRequestText(), "<ZK TYPE=\"RQST\" NAME=\"SEND_PASSWORD\" VER=\"1.00\" "
                                 "PROGVER=\"0.97.01\">email_address=vergessen@example.de\\p"
                                 "my_version=0.97.01\\p</ZK>");

    DataModuleCust->RegistrationCode = "ABCDE-FGHJK";
    Reply(Answer(23));
    EXPECT_EQ(Run(50432), 23);
    EXPECT_EQ(LastRequestText(), "<ZK TYPE=\"RQST\" NAME=\"CONFIRM_REGISTRATION\" VER=\"1.00\" "
                                 "PROGVER=\"0.97.01\">customer_id=4711\\pconf_code=ABCDE-FGHJK\\p"
                                 "my_version=0.97.01\\p</ZK>");

    Reply(Answer(0));
    EXPECT_EQ(Run(50434), 0);
    EXPECT_EQ(LastRequestText(), std::string("<ZK TYPE=\"RQST\" NAME=\"SEND_CONF_CODE\" "
                                             "VER=\"1.00\" PROGVER=\"0.97.01\">") +
                                     kLoginPart + "my_version=0.97.01\\p</ZK>");
}

// ---- payment download, neighbourhood ---------------------------------------------------------

TEST_F(AccountTasks, PaymentDownloadFillsTheScratchRowWithExpiryFromText)
{
    DataModuleCust->EditPaymentNick = "Karte <1>";
    TClientDataSet& temp = DataModuleCust->CDSPaymentInfoTemp;
    temp.Append();
    temp.FieldByName("NICK_NAME").SetAsString("alt");
    temp.Post();
    Reply(Answer(0, {TextTable("payment",
                               {"nick_name", "payment_type", "cc_type", "cc_name_on_card",
                                "cc_number", "cc_exp_month", "cc_exp_year", "bez_account_owner",
                                "bez_account_number", "bez_routing_number", "bez_bank_name"},
                               {{"Karte <1>", "CC", "VISA", "Max Muster", "4111111111111111", "07",
                                 "2030", "", "", "", ""}})}));
    EXPECT_EQ(Run(50413), 0);
    const TCSDataString m = LastRequest();
    EXPECT_EQ(ParamNames(m),
              (std::vector<std::string>{"email_address", "password", "payment", "my_version"}));
    EXPECT_EQ(TableRows(m, "payment", {"nick_name"}), (Rows{{"Karte <1>"}}));
    EXPECT_EQ(m.GetParam("payment").AsTable().ColumnCount(), 1);

    EXPECT_EQ(
        LocalRows(temp, {"NICK_NAME", "PAYMENT_TYPE", "CC_TYPE", "CC_NAME_ON_CARD", "CC_NUMBER",
                         "CC_EXP_MONTH", "CC_EXP_YEAR", "BEZ_BANK_NAME"}),
        (Rows{{"Karte <1>", "CC", "VISA", "Max Muster", "4111111111111111", "7", "2030", ""}}));
    temp.First();
    EXPECT_EQ(temp.FieldByName("CC_EXP_MONTH").AsInteger(), 7);

    Reply(Answer(33));
    EXPECT_EQ(Run(50413), 33);
    EXPECT_EQ(temp.RecordCount(), 1);
}

TEST_F(AccountTasks, PaymentDownloadWithAnExpiryThatIsNoNumberKeepsTheScratchRow)
{
    TClientDataSet& temp = DataModuleCust->CDSPaymentInfoTemp;
    temp.Append();
    temp.FieldByName("NICK_NAME").SetAsString("alt");
    temp.Post();
    Reply(Answer(0, {TextTable("payment",
                               {"nick_name", "payment_type", "cc_type", "cc_name_on_card",
                                "cc_number", "cc_exp_month", "cc_exp_year", "bez_account_owner",
                                "bez_account_number", "bez_routing_number", "bez_bank_name"},
                               {{"Karte", "CC", "VISA", "", "", "Mai", "2030", "", "", "", ""}})}));
    EXPECT_FALSE(client->ExecuteExpectingError(50413).empty());
    EXPECT_EQ(LocalRows(temp, {"NICK_NAME"}), (Rows{{"alt"}}));
}

const std::vector<std::string> kNbrhdColumns = {"postal_code", "city_name", "norm_city_name",
                                                "quarter_name", "norm_quarter_name"};
const std::vector<std::string> kNbrhdFields = {"POSTAL_CODE", "CITY_NAME", "NORM_CITY_NAME",
                                               "QUARTER_NAME", "NORM_QUARTER_NAME"};

TEST_F(AccountTasks, NeighbourhoodOfAKnownAddress)
{
    DataModuleCust->NbrhdPostalCode = "20095";
    DataModuleCust->NbrhdCityName = "Hamburg";
    Reply(Answer(0, {TextTable("neighborhood", kNbrhdColumns,
                               {{"20095", "Hamburg", "HAMBURG", "Altstadt", "ALTSTADT"},
                                {"20095", "Hamburg", "HAMBURG", "St. Georg", "ST GEORG"}})}));
    EXPECT_EQ(Run(50414), 0);
    EXPECT_EQ(LastRequestText(), "<ZK TYPE=\"RQST\" NAME=\"GET_NBRHD\" VER=\"1.00\" "
                                 "PROGVER=\"0.97.01\">postal_code=20095\\pcity_name=Hamburg\\p"
                                 "my_version=0.97.01\\p</ZK>");
    EXPECT_EQ(LocalRows(DataModuleCust->CDSNeighborhood, kNbrhdFields),
              (Rows{{"20095", "Hamburg", "HAMBURG", "Altstadt", "ALTSTADT"},
                    {"20095", "Hamburg", "HAMBURG", "St. Georg", "ST GEORG"}}));
}

TEST_F(AccountTasks, NeighbourhoodCandidatesOfAnUnknownAddressFillTheCityChoice)
{
    TClientDataSet& n = DataModuleCust->CDSNeighborhood;
    Reply(Answer(0, {TextTable("neighborhood", kNbrhdColumns,
                               {{"80331", "München", "MUENCHEN", "Altstadt", "ALTSTADT"}})}));
    EXPECT_EQ(Run(50414), 0);

    // Unknown combination: the candidates sent with the non-zero result replace the rows of the
    // earlier query, so the city choice offers them.
    Reply(Answer(41, {TextTable("neighborhood", kNbrhdColumns,
                                {{"10115", "Berlin", "BERLIN", "", ""},
                                 {"10117", "Berlin", "BERLIN", "", ""}})}));
    EXPECT_EQ(Run(50414), 41);
    EXPECT_EQ(LocalRows(n, {"POSTAL_CODE", "CITY_NAME", "QUARTER_NAME"}),
              (Rows{{"10115", "Berlin", ""}, {"10117", "Berlin", ""}}));

    // Candidates need only what the choice shows.
    Reply(
        Answer(41, {TextTable("neighborhood", {"city_name", "postal_code"}, {{"Köln", "50667"}})}));
    EXPECT_EQ(Run(50414), 41);
    EXPECT_EQ(LocalRows(n, kNbrhdFields), (Rows{{"50667", "Köln", "", "", ""}}));

    // Without candidates the choice offers nothing rather than the rows of another address.
    Reply(Answer(41));
    EXPECT_EQ(Run(50414), 41);
    EXPECT_EQ(n.RecordCount(), 0);
}

TEST_F(AccountTasks, NeighbourhoodWithAMissingColumnKeepsTheRows)
{
    TClientDataSet& n = DataModuleCust->CDSNeighborhood;
    Reply(Answer(0, {TextTable("neighborhood", kNbrhdColumns,
                               {{"80331", "München", "MUENCHEN", "Altstadt", "ALTSTADT"}})}));
    EXPECT_EQ(Run(50414), 0);
    // Result 0 needs every column.
    Reply(Answer(0, {TextTable("neighborhood",
                               {"postal_code", "city_name", "norm_city_name", "quarter_name"},
                               {{"20095", "Hamburg", "HAMBURG", "Altstadt"}})}));
    EXPECT_NE(client->ExecuteExpectingError(50414).find("norm_quarter_name"), std::string::npos);
    EXPECT_EQ(LocalRows(n, {"CITY_NAME"}), (Rows{{"München"}}));
    // Candidates need the postal code and the city.
    Reply(Answer(41, {TextTable("neighborhood", {"postal_code"}, {{"10115"}})}));
    EXPECT_NE(client->ExecuteExpectingError(50414).find("city_name"), std::string::npos);
    EXPECT_EQ(LocalRows(n, {"CITY_NAME"}), (Rows{{"München"}}));
    // Result 0 without the table at all.
    Reply(Answer(0));
    EXPECT_NE(client->ExecuteExpectingError(50414).find("neighborhood"), std::string::npos);
    EXPECT_EQ(LocalRows(n, {"CITY_NAME"}), (Rows{{"München"}}));
}

// ---- customer changes ------------------------------------------------------------------------

void AddAddress(int id, const std::string& nick, const std::string& city)
{
    TClientDataSet& a = DataModuleCust->CDSCustAddr();
    a.Append();
    a.FieldByName("ADDRESS_ID").SetAsInteger(id);
    a.FieldByName("NICK_NAME").SetAsString(nick);
    a.FieldByName("ADDRESS1").SetAsString("Weg " + std::to_string(id));
    a.FieldByName("CITY").SetAsString(city);
    a.FieldByName("POSTAL_CODE").SetAsString("1011" + std::to_string(id));
    a.FieldByName("COUNTRY_CODE").SetAsString("de");
    a.FieldByName("NORM_CITY_NAME").SetAsString("NORM " + city);
    a.FieldByName("NORM_QUARTER_NAME").SetAsString("Q" + std::to_string(id));
    a.Post();
}

TEST_F(AccountTasks, ChangeOperationsSendTheirTablesAndTheBillAddressLast)
{
    TDataModuleCust& cust = *DataModuleCust;
    Customer().Edit();
    Customer().FieldByName("BILL_ADDRESS_NICK_NAME").SetAsString("Büro <1>");
    Customer().Post();
    AddAddress(1, "Büro <1>", "Berlin");
    AddAddress(2, "Zuhause \\ 2", "Köln");
    cust.CDSCustAddr().First(); // the current address is the first
    cust.EditAddressNick = "Büro alt";
    cust.DeleteAddressNick = "Weg damit";
    cust.EditPaymentNick = "Karte alt";
    cust.DeletePaymentNick = "Konto weg";
    TClientDataSet& temp = cust.CDSPaymentInfoTemp;
    temp.Append();
    temp.FieldByName("NICK_NAME").SetAsString("Konto");
    temp.FieldByName("PAYMENT_TYPE").SetAsString("BEZ");
    temp.FieldByName("CC_EXP_MONTH").SetAsInteger(0);
    temp.FieldByName("CC_EXP_YEAR").SetAsInteger(0);
    temp.FieldByName("BEZ_ACCOUNT_OWNER").SetAsString("Max Muster");
    temp.FieldByName("BEZ_ACCOUNT_NUMBER").SetAsString("123");
    temp.FieldByName("BEZ_ROUTING_NUMBER").SetAsString("100");
    temp.FieldByName("BEZ_BANK_NAME").SetAsString("Bank");
    temp.Post();
    Reply(Answer(0));

    const std::vector<std::string> address = {
        "nick_name",    "address1",       "address2",         "city", "state", "postal_code",
        "country_code", "norm_city_name", "norm_quarter_name"};
    const Rows current = {
        {"Büro <1>", "Weg 1", "", "Berlin", "", "10111", "de", "NORM Berlin", "Q1"}};
    const std::vector<std::string> payment = {
        "nick_name",          "payment_type",       "cc_type",      "cc_name_on_card",
        "cc_number",          "cc_exp_month",       "cc_exp_year",  "bez_account_owner",
        "bez_account_number", "bez_routing_number", "bez_bank_name"};
    const Rows scratch = {
        {"Konto", "BEZ", "", "", "", "0", "0", "Max Muster", "123", "100", "Bank"}};
    const std::vector<std::string> login = {"email_address", "password"};
    auto names = [&](std::vector<std::string> middle) {
        std::vector<std::string> all = login;
        all.insert(all.end(), middle.begin(), middle.end());
        all.push_back("bill_address_nick_name");
        all.push_back("my_version");
        return all;
    };

    // 50424, operation 11: replace an address.
    EXPECT_EQ(Run(50424), 0);
    TCSDataString m = LastRequest();
    EXPECT_EQ(m.Name, "CHANGE_CUSTOMER");
    EXPECT_EQ(ParamNames(m), names({"deladdresses", "newaddresses"}));
    EXPECT_EQ(TableRows(m, "deladdresses", {"nick_name"}), (Rows{{"Büro alt"}}));
    EXPECT_EQ(m.GetParam("newaddresses").AsTable().ColumnCount(), 9);
    EXPECT_EQ(TableRows(m, "newaddresses", address), current);
    EXPECT_EQ(m.GetParam("bill_address_nick_name").AsString(), "Büro <1>");
    EXPECT_EQ(m.GetParam("email_address").AsString(), "kunde@example.de");

    // 50423, operation 12: add the current address only.
    cust.CDSCustAddr().Last();
    EXPECT_EQ(Run(50423), 0);
    m = LastRequest();
    EXPECT_EQ(ParamNames(m), names({"newaddresses"}));
    EXPECT_EQ(TableRows(m, "newaddresses", {"nick_name", "city", "norm_quarter_name"}),
              (Rows{{"Zuhause \\ 2", "Köln", "Q2"}}));

    // 50422, operation 13: only the nick name and the bill address besides login and version.
    EXPECT_EQ(Run(50422), 0);
    EXPECT_EQ(
        LastRequestText(),
        std::string("<ZK TYPE=\"RQST\" NAME=\"CHANGE_CUSTOMER\" VER=\"1.00\" "
                    "PROGVER=\"0.97.01\">") +
            kLoginPart +
            "deladdresses=\\<TBL ROWS=\"1\" COLS=\"1\"\\>nick_name\\\\;Weg damit\\\\;\\</TBL\\>"
            "\\pbill_address_nick_name=Büro \\<1\\>\\pmy_version=0.97.01\\p</ZK>");

    // 50427, operation 21: replace a payment method.
    EXPECT_EQ(Run(50427), 0);
    m = LastRequest();
    EXPECT_EQ(ParamNames(m), names({"delpayment", "newpayment"}));
    EXPECT_EQ(TableRows(m, "delpayment", {"nick_name"}), (Rows{{"Karte alt"}}));
    EXPECT_EQ(m.GetParam("newpayment").AsTable().ColumnCount(), 11);
    EXPECT_EQ(TableRows(m, "newpayment", payment), scratch);

    // 50426, operation 22: add one.
    EXPECT_EQ(Run(50426), 0);
    m = LastRequest();
    EXPECT_EQ(ParamNames(m), names({"newpayment"}));
    EXPECT_EQ(TableRows(m, "newpayment", payment), scratch);

    // 50425, operation 23: delete one.
    EXPECT_EQ(Run(50425), 0);
    m = LastRequest();
    EXPECT_EQ(ParamNames(m), names({"delpayment"}));
    EXPECT_EQ(TableRows(m, "delpayment", {"nick_name"}), (Rows{{"Konto weg"}}));

    // Nothing of the answer is stored by a change: the tables are the caller's.
    EXPECT_EQ(cust.CDSCustAddr().RecordCount(), 2);
}

TEST_F(AccountTasks, GeneralDataChangeLogsInWithTheCredentialsValidBefore)
{
    TDataModuleCust& cust = *DataModuleCust;
    cust.ChangeEmail = "kunde@example.de";
    cust.ChangePassword = "geheim";
    Customer().Edit();
    Customer().FieldByName("EMAIL_ADDRESS").SetAsString("neu@example.de");
    Customer().FieldByName("PASSWORD").SetAsString("neues");
    Customer().FieldByName("HOME_PHONE").SetAsString("030 1");
    Customer().FieldByName("CELL_PHONE").SetAsString("0172 5");
    Customer().FieldByName("BIRTHDATE").SetAsDateTime(calendar::DateValue(1970, 3, 5));
    Customer().FieldByName("LANGUAGE_CODE").SetAsString("EN");
    Customer().FieldByName("BILL_ADDRESS_NICK_NAME").SetAsString("Büro");
    for (int code : {0, 11, 21}) {
        Reply(Answer(code));
        EXPECT_EQ(Run(50421), code);
    }
    const TCSDataString m = LastRequest();
    EXPECT_EQ(ParamNames(m), (std::vector<std::string>{"email_address", "password", "custdata",
                                                       "bill_address_nick_name", "my_version"}));
    EXPECT_EQ(m.GetParam("email_address").AsString(), "kunde@example.de");
    EXPECT_EQ(m.GetParam("password").AsString(), "geheim");
    const TCSTable t = m.GetParam("custdata").AsTable();
    EXPECT_EQ(t.ColumnCount(), 8);
    EXPECT_EQ(TableRows(m, "custdata",
                        {"email_address", "password", "home_phone", "work_phone", "cell_phone",
                         "fax", "birthdate", "language_code"}),
              (Rows{{"neu@example.de", "neues", "030 1", "", "0172 5", "", "1970-03-05 00:00:00",
                     "EN"}}));
    EXPECT_EQ(m.GetParam("bill_address_nick_name").AsString(), "Büro");
    // The row stays in the caller's edit whatever the result.
    EXPECT_EQ(Customer().State(), TDataSetState::Edit);
    Customer().Cancel();
}

} // namespace
