// The account, credit and payment tasks (Parts 2.4 and 2.5) end to end: the runner, the
// framework and the transport against a real riz-service. Each test checks the request the
// service received, what it did with it, what the client stored afterwards in its tables, files
// and parameters, and the result codes that the callers of each Part react to.
#include "data/appparam.h"
#include "data/datamodulecust.h"
#include "data/datamodulesms.h"
#include "platform/calendar.h"
#include "platform/modalhook.h"
#include "protocol/csdatastring.h"
#include "tests/service/servicefixture.h"
#include "tests/support/clientinstall.h"

#include <gtest/gtest.h>

#include <ctime>
#include <memory>
#include <string>
#include <vector>

using namespace riz;
using riz::test::MakeTextTable;
using riz::test::TableRows;

namespace {

using Rows = std::vector<std::vector<std::string>>;

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

class AccountEndToEnd : public test::ServiceTest
{
protected:
    void SetUp() override
    {
        ModalHook::Clear();
        ModalHook::ClearHistory();
        client = std::make_unique<test::ClientInstall>(Service().Host(), Service().Port());
    }
    void TearDown() override
    {
        client.reset();
        EXPECT_FALSE(ModalHook::HasPending()) << "an answer was not used";
    }

    // Runs a task that completes; its result code.
    int Run(int taskId)
    {
        EXPECT_EQ(client->Execute(taskId), 1) << "task " << taskId << " did not complete";
        return client->ResultCode();
    }

    // The newest request of that name the service received, decoded.
    TCSDataString Received(const std::string& name)
    {
        const auto requests = Service().Requests(name);
        TCSDataString m;
        if (requests.empty()) {
            ADD_FAILURE() << "no " << name << " received";
            return m;
        }
        m.Decode(requests.back().Message);
        return m;
    }
    size_t ReceivedCount(const std::string& name) { return Service().Requests(name).size(); }

    // A registered, confirmed customer of the service, logged in on the client as a profile.
    std::string LoggedInCustomer(const std::string& hint, int credits = 0,
                                 const std::string& password = "geheim")
    {
        const std::string email = NewCustomer(hint, credits, password);
        client->AddProfile(email, password, static_cast<int>(Service().CustomerId(email)));
        return email;
    }

    TClientDataSet& Customer() { return DataModuleCust->CDSCustomer; }
    std::string One(const std::string& sql, const std::vector<std::string>& args)
    {
        const auto rows = Service().Query(sql, args);
        return rows.empty() || rows[0].empty() ? std::string("<none>") : rows[0][0];
    }

    std::unique_ptr<test::ClientInstall> client;
};

// ---- registration, confirmation, mails -------------------------------------------------------

// Appends the row the registration dialog prepares.
void AppendNewProfile(const std::string& email, const std::string& password)
{
    TClientDataSet& c = DataModuleCust->CDSCustomer;
    c.Append();
    c.FieldByName("CUSTOMER_ID").SetAsInteger(-1);
    c.FieldByName("EMAIL_ADDRESS").SetAsString(email);
    c.FieldByName("PASSWORD").SetAsString(password);
    c.FieldByName("GENDER").SetAsString("F");
    c.FieldByName("FIRST_NAME").SetAsString("Erika");
    c.FieldByName("LAST_NAME").SetAsString("M\xFCller <Ost>");
    c.FieldByName("HOME_COUNTRY_CODE").SetAsString("de");
    c.FieldByName("LANGUAGE_CODE").SetAsString("DE");
    c.FieldByName("REMEMBER_PASSWORD").SetAsBoolean(true);
    c.FieldByName("CREDITS").SetAsInteger(0);
}

TEST_F(AccountEndToEnd, RegistrationConfirmationAndCodeMail)
{
    const std::string email = NewEmail("neu");
    AppendNewProfile(email, "pass\\wort");
    ASSERT_EQ(Run(50411), 0);

    // The service received the 13 columns and created the account.
    const TCSDataString m = Received("ADD_CUSTOMER");
    EXPECT_EQ(m.Params.size(), 2u); // "custdata" and "my_version"
    EXPECT_EQ(TableRows(m, "custdata",
                        {"email_address", "password", "gender", "first_name", "last_name",
                         "home_country_code", "language_code", "reseller_id"}),
              (Rows{{email, "pass\\wort", "F", "Erika", "M\xFCller <Ost>", "de", "DE", "0"}}));
    const auto row = Service().Query(
        "SELECT id, password, gender, first_name, last_name, home_country_code, language_code, "
        "reseller_id, confirmed FROM customers WHERE email = ?1",
        {email});
    ASSERT_EQ(row.size(), 1u);
    EXPECT_EQ(row[0], (std::vector<std::string>{row[0][0], "pass\\wort", "F", "Erika",
                                                "M\xFCller <Ost>", "de", "DE", "0", "0"}));

    // The client: the service's id in the posted row, which the caller then writes.
    EXPECT_EQ(Customer().State(), TDataSetState::Browse);
    EXPECT_EQ(Customer().FieldByName("EMAIL_ADDRESS").AsString(), email);
    EXPECT_EQ(Customer().FieldByName("CUSTOMER_ID").AsString(), row[0][0]);
    EXPECT_EQ(DataModuleSMS->CustomerId, std::stoi(row[0][0]));
    DataModuleCust->CommitCustomerTables();
    DataModuleCust->LoginCustomer(email);

    // A wrong registration code: any non-zero result makes the caller ask again.
    DataModuleCust->RegistrationCode = "AAAAA-BBBBB-CCCCC-DDDDD-EEEEE";
    EXPECT_NE(Run(50432), 0);
    EXPECT_FALSE(Service().IsConfirmed(email));
    const TCSDataString confirm = Received("CONFIRM_REGISTRATION");
    EXPECT_EQ(confirm.GetParam("customer_id").AsString(), row[0][0]);
    EXPECT_EQ(confirm.GetParam("conf_code").AsString(), "AAAAA-BBBBB-CCCCC-DDDDD-EEEEE");
    EXPECT_FALSE(confirm.HasParam("email_address"));

    // The code mailed again: the same code a second time.
    EXPECT_EQ(Run(50434), 0);
    const TCSDataString again = Received("SEND_CONF_CODE");
    EXPECT_EQ(again.GetParam("email_address").AsString(), email);
    EXPECT_EQ(again.GetParam("password").AsString(), "pass\\wort");
    std::vector<std::string> codes;
    for (const auto& mail : Service().Outbox(email))
        if (mail.Kind == "registration")
            codes.push_back(mail.Code);
    ASSERT_EQ(codes.size(), 2u);
    EXPECT_EQ(codes[0], codes[1]);

    // The right code, typed in lower case.
    std::string typed = codes[1];
    for (char& ch : typed)
        ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    DataModuleCust->RegistrationCode = typed;
    EXPECT_EQ(Run(50432), 0);
    EXPECT_TRUE(Service().IsConfirmed(email));
    EXPECT_TRUE(ModalHook::History().empty());
}

TEST_F(AccountEndToEnd, RegisteringAKnownAddressIsResult21)
{
    const std::string email = NewCustomer("doppelt", 0);
    std::string upper = email;
    upper[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(upper[0])));
    AppendNewProfile(upper, "anderes");
    EXPECT_EQ(Run(50411), 21);
    // The row is still the caller's to discard; the service has one account.
    EXPECT_EQ(Customer().State(), TDataSetState::Insert);
    EXPECT_EQ(Customer().FieldByName("CUSTOMER_ID").AsInteger(), -1);
    Customer().Cancel();
    EXPECT_EQ(One("SELECT COUNT(*) FROM customers WHERE email = ?1 COLLATE NOCASE", {email}), "1");
}

TEST_F(AccountEndToEnd, PasswordRequestMailsThePasswordAnyCodeCompletes)
{
    const std::string email = NewCustomer("vergesslich", 0, "mein-pw");
    DataModuleCust->PasswordRequestEmail = email;
    EXPECT_EQ(Run(50431), 0);
    const TCSDataString m = Received("SEND_PASSWORD");
    EXPECT_EQ(m.Params.size(), 2u);
    EXPECT_EQ(m.GetParam("email_address").AsString(), email);
    const auto mails = Service().Outbox(email);
    ASSERT_FALSE(mails.empty());
    EXPECT_EQ(mails.back().Kind, "password");
    EXPECT_EQ(mails.back().Code, "mein-pw");

    // An unknown address completes as well, and nothing is mailed.
    DataModuleCust->PasswordRequestEmail = "niemand@example.org";
    EXPECT_EQ(Run(50431), 0);
    EXPECT_TRUE(Service().Outbox("niemand@example.org").empty());
}

// ---- customer download -----------------------------------------------------------------------

TEST_F(AccountEndToEnd, DownloadAtLoginFillsTheNewProfileAndWritesIt)
{
    // The customer's data at the service, set up through the protocol.
    const std::string email = NewCustomer("bestand", 730, "pw1234");
    test::ServiceClient helper = Client();
    const std::vector<std::string> addressColumns = {
        "nick_name",    "address1",       "address2",         "city", "state", "postal_code",
        "country_code", "norm_city_name", "norm_quarter_name"};
    auto r = helper.Call(
        "CHANGE_CUSTOMER",
        {TCSParam::Table("custdata",
                         MakeTextTable({"email_address", "password", "home_phone", "work_phone",
                                        "cell_phone", "fax", "birthdate", "language_code"},
                                       {{email, "pw1234", "030 111", "030 222", "0172 333",
                                         "030 444", "1970-03-05 00:00:00", "EN"}})),
         TCSParam::Text("bill_address_nick_name", "B\xFCro <1>")},
        email, "pw1234");
    ASSERT_EQ(r.Rslt(), 0);
    r = helper.Call(
        "CHANGE_CUSTOMER",
        {TCSParam::Table(
             "newaddresses",
             MakeTextTable(addressColumns, {{"B\xFCro <1>", "Hauptstr. 1", "\\ Hof", "Berlin", "",
                                             "10115", "de", "BERLIN", "MITTE"},
                                            {"Zuhause", "Weg 2", "", "K\xF6ln", "", "50667", "de",
                                             "KOELN", "ALTSTADT-NORD"}})),
         TCSParam::Text("bill_address_nick_name", "B\xFCro <1>")},
        email, "pw1234");
    ASSERT_EQ(r.Rslt(), 0);
    r = helper.Call(
        "CHANGE_CUSTOMER",
        {TCSParam::Table("newpayment", MakeTextTable({"nick_name", "payment_type", "cc_type",
                                                      "cc_number", "cc_exp_month", "cc_exp_year"},
                                                     {{"Karte", "CC", "VISA", "4111111111111111",
                                                       "12", "2031"}})),
         TCSParam::Text("bill_address_nick_name", "B\xFCro <1>")},
        email, "pw1234");
    ASSERT_EQ(r.Rslt(), 0);
    r = helper.Call("GET_WELCOME_CREDITS", {TCSParam::Text("cell_phone", "491715550001")}, email,
                    "pw1234");
    ASSERT_EQ(r.Rslt(), 0);

    // The login dialog: the typed credentials (another spelling of the address) and a new row.
    std::string typed = email;
    typed[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(typed[0])));
    DataModuleCust->DownloadEmail = typed;
    DataModuleCust->DownloadPassword = "pw1234";
    Customer().Append();
    ASSERT_EQ(Run(50412), 0);

    const TCSDataString m = Received("GET_CUSTOMER");
    EXPECT_EQ(m.GetParam("email_address").AsString(), typed);
    EXPECT_EQ(m.GetParam("password").AsString(), "pw1234");
    EXPECT_EQ(m.Params.size(), 3u);

    auto check = [&] {
        TClientDataSet& c = Customer();
        ASSERT_TRUE(c.Locate("EMAIL_ADDRESS", TValue(typed)));
        EXPECT_EQ(c.FieldByName("CUSTOMER_ID").AsInteger(), Service().CustomerId(email));
        EXPECT_EQ(c.FieldByName("PASSWORD").AsString(), "pw1234");
        EXPECT_EQ(c.FieldByName("GENDER").AsString(), "M");
        EXPECT_EQ(c.FieldByName("FIRST_NAME").AsString(), "Max");
        EXPECT_EQ(c.FieldByName("LAST_NAME").AsString(), "Muster");
        EXPECT_EQ(c.FieldByName("HOME_PHONE").AsString(), "030 111");
        EXPECT_EQ(c.FieldByName("WORK_PHONE").AsString(), "030 222");
        // The welcome code made the phone the customer's mobile number at the service.
        EXPECT_EQ(c.FieldByName("CELL_PHONE").AsString(), "+491715550001");
        EXPECT_EQ(c.FieldByName("FAX").AsString(), "030 444");
        EXPECT_DOUBLE_EQ(c.FieldByName("BIRTHDATE").AsDateTime(), calendar::DateValue(1970, 3, 5));
        EXPECT_EQ(c.FieldByName("HOME_COUNTRY_CODE").AsString(), "de");
        EXPECT_EQ(c.FieldByName("LANGUAGE_CODE").AsString(), "EN");
        EXPECT_EQ(c.FieldByName("BILL_ADDRESS_NICK_NAME").AsString(), "B\xFCro <1>");
        EXPECT_TRUE(c.FieldByName("REMEMBER_PASSWORD").AsBoolean());
        EXPECT_EQ(c.FieldByName("CREDITS").AsInteger(), 730);
        EXPECT_TRUE(c.FieldByName("WELCOME_CREDIT_CODE_SENT").AsBoolean());
        EXPECT_EQ(c.FieldByName("WELCOME_CREDIT_CODE_SENT_TO").AsString(), "491715550001");
        EXPECT_FALSE(c.FieldByName("WELCOME_CREDIT_CODE_REDEEMED").AsBoolean());
        EXPECT_EQ(LocalRows(DataModuleCust->CDSCustAddr(),
                            {"ADDRESS_ID", "NICK_NAME", "ADDRESS1", "ADDRESS2", "CITY",
                             "POSTAL_CODE", "COUNTRY_CODE", "NORM_CITY_NAME", "NORM_QUARTER_NAME"}),
                  (Rows{{"0", "B\xFCro <1>", "Hauptstr. 1", "\\ Hof", "Berlin", "10115", "de",
                         "BERLIN", "MITTE"},
                        {"1", "Zuhause", "Weg 2", "", "K\xF6ln", "50667", "de", "KOELN",
                         "ALTSTADT-NORD"}}));
        EXPECT_EQ(LocalRows(DataModuleCust->CDSPaymentInfoNickNames(),
                            {"NICK_NAME", "PAYMENT_TYPE", "CC_TYPE"}),
                  (Rows{{"Karte", "CC", "VISA"}}));
    };
    check();
    client->Reopen();
    check();
    EXPECT_TRUE(ModalHook::History().empty());
}

TEST_F(AccountEndToEnd, DownloadWithAWrongPasswordIsResult11AndStoresNothing)
{
    const std::string email = NewCustomer("falsch", 500, "richtig");
    DataModuleCust->DownloadEmail = email;
    DataModuleCust->DownloadPassword = "falsch";
    Customer().Append();
    EXPECT_EQ(Run(50412), 11);
    EXPECT_EQ(Customer().State(), TDataSetState::Insert);
    EXPECT_TRUE(Customer().FieldByName("EMAIL_ADDRESS").AsString().empty());
    Customer().Cancel();
    EXPECT_EQ(Customer().TotalRecordCount(), 0);
    client->Reopen();
    EXPECT_EQ(Customer().TotalRecordCount(), 0);
}

TEST_F(AccountEndToEnd, ReloadAfterAnotherInstallationChangedTheAccount)
{
    const std::string email = LoggedInCustomer("reload", 0, "pw1234");
    // A local address that the service no longer has, and a stale balance.
    TClientDataSet& a = DataModuleCust->CDSCustAddr();
    a.Append();
    a.FieldByName("ADDRESS_ID").SetAsInteger(1);
    a.FieldByName("NICK_NAME").SetAsString("Veraltet");
    a.Post();
    DataModuleCust->CommitCustomerTables();
    Service().SetCredits(email, 120);

    // The account reload: the row in edit, the row's credentials as download credentials.
    Customer().Edit();
    DataModuleCust->DownloadEmail = email;
    DataModuleCust->DownloadPassword = "pw1234";
    ASSERT_EQ(Run(50412), 0);
    EXPECT_EQ(Customer().State(), TDataSetState::Browse);
    EXPECT_EQ(Customer().TotalRecordCount(), 1);
    EXPECT_EQ(DataModuleCust->CDSCustAddr().RecordCount(), 0);
    EXPECT_EQ(Customer().FieldByName("CREDITS").AsInteger(), 120);
    client->Reopen();
    EXPECT_EQ(DataModuleCust->CDSCustAddr().RecordCount(), 0);
    EXPECT_EQ(Customer().FieldByName("CREDITS").AsInteger(), 120);
}

// ---- addresses, payment methods, general data ------------------------------------------------

// The address row the address dialog leaves current.
void AppendAddress(int id, const std::string& nick, const std::string& city,
                   const std::string& postal)
{
    TClientDataSet& a = DataModuleCust->CDSCustAddr();
    a.Append();
    a.FieldByName("ADDRESS_ID").SetAsInteger(id);
    a.FieldByName("NICK_NAME").SetAsString(nick);
    a.FieldByName("ADDRESS1").SetAsString("Hauptstr. " + std::to_string(id));
    a.FieldByName("ADDRESS2").SetAsString("c/o \\ <A>");
    a.FieldByName("CITY").SetAsString(city);
    a.FieldByName("POSTAL_CODE").SetAsString(postal);
    a.FieldByName("COUNTRY_CODE").SetAsString("de");
    a.FieldByName("NORM_CITY_NAME").SetAsString("BERLIN");
    a.FieldByName("NORM_QUARTER_NAME").SetAsString("MITTE");
    a.Post();
}

void SetBillAddress(const std::string& nick)
{
    TClientDataSet& c = DataModuleCust->CDSCustomer;
    c.Edit();
    c.FieldByName("BILL_ADDRESS_NICK_NAME").SetAsString(nick);
    c.Post();
}

TEST_F(AccountEndToEnd, AddressesAreAddedReplacedAndDeleted)
{
    const std::string email = LoggedInCustomer("adressen");
    const std::string id = std::to_string(Service().CustomerId(email));
    const std::string nick = "B\xFCro <1> \\ Nord";

    // 50423 (12): add; the escaped nick name arrives unchanged.
    SetBillAddress(nick);
    AppendAddress(1, nick, "Berlin", "10115");
    ASSERT_EQ(Run(50423), 0);
    const TCSDataString add = Received("CHANGE_CUSTOMER");
    EXPECT_TRUE(add.HasParam("newaddresses"));
    EXPECT_FALSE(add.HasParam("deladdresses"));
    EXPECT_EQ(
        Service().Query("SELECT nick_name, address1, address2, city, postal_code, "
                        "country_code, norm_city_name, norm_quarter_name FROM addresses "
                        "WHERE customer_id = ?1 ORDER BY pos",
                        {id}),
        (Rows{{nick, "Hauptstr. 1", "c/o \\ <A>", "Berlin", "10115", "de", "BERLIN", "MITTE"}}));
    EXPECT_EQ(One("SELECT bill_address_nick_name FROM customers WHERE id = ?1", {id}), nick);
    DataModuleCust->CommitCustomerTables();

    // The same alias again (any case): 31, and the service keeps one address.
    AppendAddress(2, "b\xFCro <1> \\ nord", "Berlin", "10117");
    EXPECT_EQ(Run(50423), 31);
    DataModuleCust->RollbackCustomerTables();
    EXPECT_EQ(One("SELECT COUNT(*) FROM addresses WHERE customer_id = ?1", {id}), "1");

    // 50424 (11): replace it under a new name.
    SetBillAddress("Zentrale");
    DataModuleCust->EditAddressNick = nick;
    DataModuleCust->GoToAddress(nick);
    TClientDataSet& a = DataModuleCust->CDSCustAddr();
    a.Edit();
    a.FieldByName("NICK_NAME").SetAsString("Zentrale");
    a.FieldByName("POSTAL_CODE").SetAsString("10178");
    a.Post();
    ASSERT_EQ(Run(50424), 0);
    const TCSDataString replace = Received("CHANGE_CUSTOMER");
    EXPECT_EQ(TableRows(replace, "deladdresses", {"nick_name"}), (Rows{{nick}}));
    EXPECT_EQ(Service().Query("SELECT nick_name, postal_code FROM addresses WHERE customer_id = ?1",
                              {id}),
              (Rows{{"Zentrale", "10178"}}));
    EXPECT_EQ(One("SELECT bill_address_nick_name FROM customers WHERE id = ?1", {id}), "Zentrale");
    DataModuleCust->CommitCustomerTables();

    // 50422 (13): delete; the bill address goes empty with the only address.
    DataModuleCust->DeleteAddressNick = "Zentrale";
    SetBillAddress("");
    ASSERT_EQ(Run(50422), 0);
    const TCSDataString del = Received("CHANGE_CUSTOMER");
    std::vector<std::string> names;
    for (const auto& p : del.Params)
        names.push_back(p->Name);
    EXPECT_EQ(names, (std::vector<std::string>{"email_address", "password", "deladdresses",
                                               "bill_address_nick_name", "my_version"}));
    EXPECT_EQ(One("SELECT COUNT(*) FROM addresses WHERE customer_id = ?1", {id}), "0");
    EXPECT_EQ(One("SELECT bill_address_nick_name FROM customers WHERE id = ?1", {id}), "");
}

// The scratch row the payment dialog leaves.
void FillScratchCard(const std::string& nick, const std::string& number, int year)
{
    TClientDataSet& t = DataModuleCust->CDSPaymentInfoTemp;
    if (t.Active())
        t.Close();
    t.CreateDataSet();
    t.Append();
    t.FieldByName("NICK_NAME").SetAsString(nick);
    t.FieldByName("PAYMENT_TYPE").SetAsString("CC");
    t.FieldByName("CC_TYPE").SetAsString("VISA");
    t.FieldByName("CC_NAME_ON_CARD").SetAsString("Max Muster");
    t.FieldByName("CC_NUMBER").SetAsString(number);
    t.FieldByName("CC_EXP_MONTH").SetAsInteger(7);
    t.FieldByName("CC_EXP_YEAR").SetAsInteger(year);
    t.Post();
}

TEST_F(AccountEndToEnd, PaymentMethodsAreAddedLoadedReplacedAndDeleted)
{
    const std::string email = LoggedInCustomer("zahlung");
    const std::string id = std::to_string(Service().CustomerId(email));

    // 50426 (22): add a card; the expiry travels as decimal text.
    FillScratchCard("Karte <V>", "4111111111111111", 2031);
    ASSERT_EQ(Run(50426), 0);
    EXPECT_EQ(Service().Query("SELECT nick_name, payment_type, cc_type, cc_name_on_card, "
                              "cc_number, cc_exp_month, cc_exp_year FROM payments "
                              "WHERE customer_id = ?1",
                              {id}),
              (Rows{{"Karte <V>", "CC", "VISA", "Max Muster", "4111111111111111", "7", "2031"}}));
    // Again under the same name: 32.
    FillScratchCard("KARTE <v>", "4012888888881881", 2032);
    EXPECT_EQ(Run(50426), 32);
    EXPECT_EQ(One("SELECT COUNT(*) FROM payments WHERE customer_id = ?1", {id}), "1");
    // A second entry to clash with later.
    FillScratchCard("Zweite", "4012888888881881", 2032);
    ASSERT_EQ(Run(50426), 0);

    // 50413: the entry's details into a fresh scratch table.
    DataModuleCust->CDSPaymentInfoTemp.Close();
    DataModuleCust->CDSPaymentInfoTemp.CreateDataSet();
    DataModuleCust->EditPaymentNick = "karte <v>";
    ASSERT_EQ(Run(50413), 0);
    EXPECT_EQ(TableRows(Received("GET_PAYMENT"), "payment", {"nick_name"}), (Rows{{"karte <v>"}}));
    EXPECT_EQ(LocalRows(DataModuleCust->CDSPaymentInfoTemp,
                        {"NICK_NAME", "PAYMENT_TYPE", "CC_TYPE", "CC_NAME_ON_CARD", "CC_NUMBER",
                         "CC_EXP_MONTH", "CC_EXP_YEAR"}),
              (Rows{{"Karte <V>", "CC", "VISA", "Max Muster", "4111111111111111", "7", "2031"}}));
    // An alias the service does not know.
    DataModuleCust->EditPaymentNick = "Unbekannt";
    EXPECT_EQ(Run(50413), 33);
    EXPECT_EQ(DataModuleCust->CDSPaymentInfoTemp.RecordCount(), 1);

    // 50427 (21): replace; renaming onto the other entry is 32 and changes nothing.
    DataModuleCust->EditPaymentNick = "Karte <V>";
    FillScratchCard("Zweite", "4111111111111111", 2033);
    EXPECT_EQ(Run(50427), 32);
    EXPECT_EQ(One("SELECT cc_exp_year FROM payments WHERE customer_id = ?1 AND nick_name = ?2",
                  {id, "Karte <V>"}),
              "2031");
    FillScratchCard("Karte neu", "4111111111111111", 2033);
    ASSERT_EQ(Run(50427), 0);
    EXPECT_EQ(TableRows(Received("CHANGE_CUSTOMER"), "delpayment", {"nick_name"}),
              (Rows{{"Karte <V>"}}));
    EXPECT_EQ(Service().Query("SELECT nick_name, cc_exp_year FROM payments WHERE customer_id = ?1 "
                              "ORDER BY nick_name",
                              {id}),
              (Rows{{"Karte neu", "2033"}, {"Zweite", "2032"}}));

    // 50425 (23): delete.
    DataModuleCust->DeletePaymentNick = "Zweite";
    ASSERT_EQ(Run(50425), 0);
    EXPECT_EQ(Service().Query("SELECT nick_name FROM payments WHERE customer_id = ?1", {id}),
              (Rows{{"Karte neu"}}));
}

TEST_F(AccountEndToEnd, GeneralDataAndAddressChange)
{
    const std::string email = LoggedInCustomer("allgemein", 0, "altes-pw");
    const std::string other = NewCustomer("anderer", 0);
    const std::string id = std::to_string(Service().CustomerId(email));
    const std::string renamed = NewEmail("umbenannt");

    // The general data dialog: change credentials, the row in edit with the new values.
    auto prepare = [&](const std::string& newEmail) {
        DataModuleCust->ChangeEmail = email;
        DataModuleCust->ChangePassword = "altes-pw";
        Customer().Edit();
        Customer().FieldByName("EMAIL_ADDRESS").SetAsString(newEmail);
        Customer().FieldByName("PASSWORD").SetAsString("neues-pw");
        Customer().FieldByName("HOME_PHONE").SetAsString("030 12345");
        Customer().FieldByName("CELL_PHONE").SetAsString("+49 172 5550002");
        Customer().FieldByName("BIRTHDATE").SetAsDateTime(calendar::DateValue(1980, 12, 24));
        Customer().FieldByName("LANGUAGE_CODE").SetAsString("EN");
    };

    // The address of another customer: 21, nothing changed at the service.
    prepare(other);
    EXPECT_EQ(Run(50421), 21);
    Customer().Cancel();
    EXPECT_EQ(One("SELECT email FROM customers WHERE id = ?1", {id}), email);

    // Wrong credentials valid before: 11.
    prepare(renamed);
    DataModuleCust->ChangePassword = "falsch";
    EXPECT_EQ(Run(50421), 11);
    Customer().Cancel();

    prepare(renamed);
    ASSERT_EQ(Run(50421), 0);
    const TCSDataString m = Received("CHANGE_CUSTOMER");
    EXPECT_EQ(m.GetParam("email_address").AsString(), email);
    EXPECT_EQ(m.GetParam("password").AsString(), "altes-pw");
    EXPECT_EQ(m.GetParam("custdata").AsTable().ColumnCount(), 8);
    const auto row =
        Service().Query("SELECT email, password, home_phone, cell_phone, birthdate, language_code "
                        "FROM customers WHERE id = ?1",
                        {id});
    ASSERT_EQ(row.size(), 1u);
    EXPECT_EQ(row[0][0], renamed);
    EXPECT_EQ(row[0][1], "neues-pw");
    EXPECT_EQ(row[0][2], "030 12345");
    EXPECT_EQ(row[0][3], "+49 172 5550002");
    EXPECT_DOUBLE_EQ(std::stod(row[0][4]), calendar::DateValue(1980, 12, 24));
    EXPECT_EQ(row[0][5], "EN");
    // The caller posts and writes after 0; the new login works from then on.
    Customer().Post();
    DataModuleCust->CommitCustomerTables();
    DataModuleCust->LoginCustomer(renamed);
    EXPECT_EQ(Run(50452), 0);
}

TEST_F(AccountEndToEnd, EveryChangeOperationWithInvalidLoginIsResult11)
{
    const std::string email = LoggedInCustomer("ungueltig", 0, "richtig");
    Customer().Edit();
    Customer().FieldByName("PASSWORD").SetAsString("falsch");
    Customer().Post();
    AppendAddress(1, "Adresse", "Berlin", "10115");
    FillScratchCard("Karte", "4111111111111111", 2031);
    DataModuleCust->EditAddressNick = "Adresse";
    DataModuleCust->DeleteAddressNick = "Adresse";
    DataModuleCust->EditPaymentNick = "Karte";
    DataModuleCust->DeletePaymentNick = "Karte";
    for (int taskId : {50422, 50423, 50424, 50425, 50426, 50427, 50413, 50434})
        EXPECT_EQ(Run(taskId), 11) << taskId;
    DataModuleCust->ChangeEmail = email;
    DataModuleCust->ChangePassword = "falsch";
    EXPECT_EQ(Run(50421), 11);
    EXPECT_EQ(One("SELECT COUNT(*) FROM addresses a JOIN customers c ON c.id = a.customer_id "
                  "WHERE c.email = ?1",
                  {email}),
              "0");
}

// ---- neighbourhood ---------------------------------------------------------------------------

TEST_F(AccountEndToEnd, NeighbourhoodOfKnownAndUnknownAddresses)
{
    TDataModuleCust& cust = *DataModuleCust;
    const std::vector<std::string> fields = {"POSTAL_CODE", "CITY_NAME", "NORM_CITY_NAME",
                                             "QUARTER_NAME", "NORM_QUARTER_NAME"};
    cust.NbrhdPostalCode = "20095";
    cust.NbrhdCityName = "hamburg";
    ASSERT_EQ(Run(50414), 0);
    const TCSDataString m = Received("GET_NBRHD");
    EXPECT_EQ(m.GetParam("postal_code").AsString(), "20095");
    EXPECT_EQ(m.GetParam("city_name").AsString(), "hamburg");
    EXPECT_FALSE(m.HasParam("email_address"));
    EXPECT_EQ(LocalRows(cust.CDSNeighborhood, fields),
              (Rows{{"20095", "Hamburg", "HAMBURG", "Hamburg-Altstadt", "HAMBURG-ALTSTADT"},
                    {"20095", "Hamburg", "HAMBURG", "St. Georg", "ST. GEORG"}}));

    // Postal code of Berlin with the city Hamburg: unknown, and the candidates of both come
    // with the non-zero result, for the city choice.
    cust.NbrhdPostalCode = "10115";
    cust.NbrhdCityName = "Hamburg";
    const int r = Run(50414);
    EXPECT_NE(r, 0);
    EXPECT_EQ(LocalRows(cust.CDSNeighborhood, {"POSTAL_CODE", "CITY_NAME", "QUARTER_NAME"}),
              (Rows{{"10115", "Berlin", ""}, {"20095", "Hamburg", ""}}));

    // The city chosen: the check runs again and is known.
    cust.NbrhdCityName = "Berlin";
    ASSERT_EQ(Run(50414), 0);
    EXPECT_EQ(LocalRows(cust.CDSNeighborhood, fields),
              (Rows{{"10115", "Berlin", "BERLIN", "Mitte", "MITTE"}}));

    // Nothing known at all: no candidates.
    cust.NbrhdPostalCode = "01067";
    cust.NbrhdCityName = "Dresden";
    EXPECT_NE(Run(50414), 0);
    EXPECT_EQ(cust.CDSNeighborhood.RecordCount(), 0);
}

// ---- credits and payment ---------------------------------------------------------------------

TEST_F(AccountEndToEnd, PriceListPaymentOptionsAndPremiumNumbers)
{
    const std::string email = LoggedInCustomer("preise", 0);
    ASSERT_EQ(Run(50451), 0);
    EXPECT_EQ(Received("GET_SMS_PRICES").GetParam("email_address").AsString(), email);
    EXPECT_EQ(LocalRows(DataModuleSMS->CDSDiscounts, {"AMOUNT", "PERCENTAGE"}),
              (Rows{{"50", "5"}, {"100", "10"}, {"250", "15"}}));
    EXPECT_EQ(AppParam->iSMSPrice, 15);
    EXPECT_EQ(AppParam->iLogoPrice, 30);
    EXPECT_EQ(AppParam->iRingPrice, 30);
    EXPECT_DOUBLE_EQ(AppParam->fVAT, 16.0);
    EXPECT_DOUBLE_EQ(AppParam->fDiscountCC, 2.21);
    EXPECT_DOUBLE_EQ(AppParam->fDiscountPreWire, 5.21);
    EXPECT_EQ(AppParam->sPreWireAccountOwner, "Parvion RIZ Avivaze");
    EXPECT_EQ(AppParam->sPreWireAccountNumber, "1234567890");
    EXPECT_EQ(AppParam->sPreWireRoutingNumber, "10020030");
    EXPECT_EQ(AppParam->sPreWireBankName, "Beispielbank Berlin");
    client->Reopen();
    EXPECT_EQ(DataModuleSMS->CDSDiscounts.RecordCount(), 3);
    {
        TAppParam saved(client->ProgramDir());
        EXPECT_EQ(saved.sPreWireBankName, "Beispielbank Berlin");
        EXPECT_DOUBLE_EQ(saved.fDiscountCC, 2.21);
        EXPECT_GT(saved.dtPricesDiscountsLastUpdated, 0);
    }

    ASSERT_EQ(Run(50453), 0);
    EXPECT_EQ(AppParam->sValidPaymentOptions, "<free-50><0190-50><0190-200><pre-wire><cc2>");
    EXPECT_EQ(TAppParam(client->ProgramDir()).sValidPaymentOptions,
              "<free-50><0190-50><0190-200><pre-wire><cc2>");

    ASSERT_EQ(Run(50457), 0);
    EXPECT_EQ(DataModuleSMS->ServiceNumber50, "0190 85 05 05");
    EXPECT_EQ(DataModuleSMS->ServiceNumber200, "0190 82 00 20");
    EXPECT_EQ(Received("GET_0190_NUMBERS").Params.size(), 3u);
}

TEST_F(AccountEndToEnd, BuyingCreditsByEveryPaymentOption)
{
    const std::string email = LoggedInCustomer("kaufen", 0);
    TDataModuleSMS& sms = *DataModuleSMS;
    auto credits = [] { return DataModuleCust->CDSCustomer.FieldByName("CREDITS").AsInteger(); };

    // Free credits while the balance is at most 10 credits; then 92.
    sms.PaymentOption = "<free-50>";
    ASSERT_EQ(Run(50455), 0);
    EXPECT_EQ(credits(), 500);
    EXPECT_EQ(Service().Credits(email), 500);
    EXPECT_EQ(AppParam->sValidPaymentOptions, "<0190-50><0190-200><pre-wire><cc2>");
    std::vector<std::string> names;
    for (const auto& p : Received("BUY_CREDITS").Params)
        names.push_back(p->Name);
    EXPECT_EQ(names, (std::vector<std::string>{"email_address", "password", "payment_option",
                                               "my_version"}));
    EXPECT_EQ(Run(50455), 92);
    EXPECT_EQ(credits(), 500);

    // A 0190 code: right, then used up or wrong (93).
    sms.PaymentOption = "<0190-50>";
    sms.CreditCode = Service().UnusedCode("<0190-50>");
    ASSERT_FALSE(sms.CreditCode.empty());
    ASSERT_EQ(Run(50455), 0);
    EXPECT_EQ(credits(), 1000);
    EXPECT_EQ(Received("BUY_CREDITS").GetParam("credit_code").AsString(), sms.CreditCode);
    EXPECT_EQ(Run(50455), 93);
    sms.PaymentOption = "<0190-200>";
    sms.CreditCode = Service().UnusedCode("<0190-200>");
    ASSERT_EQ(Run(50455), 0);
    EXPECT_EQ(credits(), 3000);

    // A transfer is not possible in the program: 91 stores the options, not the balance.
    AppParam->SetValidPaymentOptions("<alt>");
    Service().SetCredits(email, 3100);
    sms.PaymentOption = "<pre-wire>";
    EXPECT_EQ(Run(50455), 91);
    EXPECT_EQ(AppParam->sValidPaymentOptions, "<0190-50><0190-200><pre-wire><cc2>");
    EXPECT_EQ(credits(), 3000);

    // Card: credits in tenths from CreditsToBuy; an invalid card 94, another type 96.
    std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    sms.PaymentOption = "<cc2>";
    sms.CcType = "VISA";
    sms.CcNumber = "4111111111111111";
    sms.CcOwner = "Max Muster";
    sms.CcExpMonth = 12;
    sms.CcExpYear = local.tm_year + 1900 + 1;
    sms.CreditsToBuy = 250;
    ASSERT_EQ(Run(50455), 0);
    EXPECT_EQ(credits(), 3350);
    EXPECT_EQ(Received("BUY_CREDITS").GetParam("credits").AsInt(), 250);
    sms.CcNumber = "4111111111111112";
    EXPECT_EQ(Run(50455), 94);
    sms.CcType = "AMEX";
    sms.CcNumber = "378282246310005";
    EXPECT_EQ(Run(50455), 96);
    EXPECT_EQ(credits(), 3350);
    client->Reopen();
    EXPECT_EQ(DataModuleCust->CDSCustomer.FieldByName("CREDITS").AsInteger(), 3350);

    // The statement lists every change, newest last, and is not written.
    ASSERT_EQ(Run(50454), 0);
    TClientDataSet& changes = DataModuleSMS->CDSCreditChanges;
    EXPECT_EQ(
        LocalRows(changes, {"CHANGE", "REASON"}),
        (Rows{
            {"500", "<free-50>"}, {"500", "<0190-50>"}, {"2000", "<0190-200>"}, {"250", "<cc2>"}}));
    changes.First();
    EXPECT_GT(changes.FieldByName("DATE").AsDateTime(), calendar::DateValue(2020, 1, 1));
    client->Reopen();
    EXPECT_EQ(DataModuleSMS->CDSCreditChanges.RecordCount(), 0);
}

TEST_F(AccountEndToEnd, WelcomeCreditsAndTheirCode)
{
    const std::string email = LoggedInCustomer("willkommen", 0);
    DataModuleCust->WelcomeNumber = "491725550003";
    ASSERT_EQ(Run(50456), 0);
    EXPECT_EQ(Received("GET_WELCOME_CREDITS").GetParam("cell_phone").AsString(), "491725550003");
    const auto inbox = Service().PhoneInbox("+491725550003");
    ASSERT_EQ(inbox.size(), 1u);
    EXPECT_EQ(inbox[0].Kind, "welcome");
    const std::string code = One("SELECT welcome_code FROM customers WHERE email = ?1", {email});
    EXPECT_NE(inbox[0].Text.find(code), std::string::npos);

    // Another phone for the same customer: 97.
    DataModuleCust->WelcomeNumber = "491725550004";
    EXPECT_EQ(Run(50456), 97);

    // Redeeming: a wrong code 93, the right one 0 and 10 credits, then 91.
    DataModuleSMS->PaymentOption = "<welcome>";
    DataModuleSMS->CreditCode = "000000";
    EXPECT_EQ(Run(50455), code == "000000" ? 0 : 93);
    DataModuleSMS->CreditCode = code;
    ASSERT_EQ(Run(50455), 0);
    EXPECT_EQ(DataModuleCust->CDSCustomer.FieldByName("CREDITS").AsInteger(), 100);
    EXPECT_EQ(Run(50455), 91);

    // Another customer asking for a code to the same phone: 98.
    client.reset();
    client = std::make_unique<test::ClientInstall>(Service().Host(), Service().Port());
    LoggedInCustomer("zweiter", 0);
    DataModuleCust->WelcomeNumber = "491725550003";
    EXPECT_EQ(Run(50456), 98);
}

TEST_F(AccountEndToEnd, UnconfirmedRegistrationIsResult5ForBuyingAndWelcome)
{
    const std::string email = NewEmail("unbestaetigt");
    const int id = Client().Register(email, "geheim");
    ASSERT_GT(id, 0);
    client->AddProfile(email, "geheim", id);
    DataModuleSMS->PaymentOption = "<free-50>";
    EXPECT_EQ(Run(50455), 5);
    DataModuleCust->WelcomeNumber = "491725550005";
    EXPECT_EQ(Run(50456), 5);
    EXPECT_EQ(Service().Credits(email), 0);
    EXPECT_TRUE(Service().PhoneInbox("+491725550005").empty());
}

TEST_F(AccountEndToEnd, CreditTasksWithAWrongPasswordAreResult11)
{
    const std::string email = LoggedInCustomer("kein-zugang", 300, "richtig");
    Customer().Edit();
    Customer().FieldByName("PASSWORD").SetAsString("falsch");
    Customer().Post();
    DataModuleSMS->PaymentOption = "<free-50>";
    for (int taskId : {50451, 50452, 50453, 50454, 50455, 50456, 50457, 50433})
        EXPECT_EQ(Run(taskId), 11) << taskId;
    EXPECT_EQ(DataModuleSMS->CDSDiscounts.RecordCount(), 0);
    EXPECT_EQ(Customer().FieldByName("CREDITS").AsInteger(), 0);
    EXPECT_TRUE(AppParam->sValidPaymentOptions.empty());
}

TEST_F(AccountEndToEnd, CardPaymentsSwitchedOffAreResult95)
{
    test::ServiceOptions options;
    options.ExtraArgs = {"--no-card-payments"};
    test::ServiceProcess service(options);
    ASSERT_TRUE(service.Running()) << service.Error();
    test::ServiceClient helper(service.Host(), service.Port());
    const std::string email = NewEmail("ohnekarte");
    const int id = helper.Register(email, "geheim", "");
    ASSERT_GT(id, 0);
    service.Confirm(email);
    service.SetCredits(email, 200);

    client.reset();
    client = std::make_unique<test::ClientInstall>(service.Host(), service.Port());
    client->AddProfile(email, "geheim", id);
    TDataModuleSMS& sms = *DataModuleSMS;
    sms.PaymentOption = "<cc2>";
    sms.CcType = "VISA";
    sms.CcNumber = "4111111111111111";
    sms.CcOwner = "Max Muster";
    sms.CcExpMonth = 12;
    sms.CcExpYear = 2099;
    sms.CreditsToBuy = 100;
    EXPECT_EQ(Run(50455), 95);
    EXPECT_EQ(service.Credits(email), 200);
    EXPECT_EQ(Customer().FieldByName("CREDITS").AsInteger(), 0);
}

TEST_F(AccountEndToEnd, RecommendationMailsTheFriendsWithAName)
{
    const std::string email = LoggedInCustomer("empfehler");
    TDataModuleSMS& sms = *DataModuleSMS;
    const std::string anna = NewEmail("anna");
    const std::string bert = NewEmail("bert");
    const std::string carl = NewEmail("carl");
    sms.FriendNames = {"Anna", "", "Carl <C>", "", ""};
    sms.FriendEmails = {anna, bert, carl, "", ""};
    ASSERT_EQ(Run(50433), 0);
    const TCSDataString m = Received("TELL_A_FRIEND");
    EXPECT_EQ(m.GetParam("app_id").AsString(), "SMS");
    EXPECT_EQ(TableRows(m, "friends", {"name", "email_address"}),
              (Rows{{"Anna", anna}, {"Carl <C>", carl}}));
    ASSERT_EQ(Service().Outbox(anna).size(), 1u);
    EXPECT_EQ(Service().Outbox(anna)[0].Kind, "recommend");
    EXPECT_TRUE(Service().Outbox(bert).empty());
    ASSERT_EQ(Service().Outbox(carl).size(), 1u);
    EXPECT_NE(Service().Outbox(carl)[0].Body.find("Carl <C>"), std::string::npos);
    EXPECT_NE(Service().Outbox(carl)[0].Body.find(email), std::string::npos);
}

} // namespace
