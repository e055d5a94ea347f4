#include "data/datamodulecust.h"

#include "data/datasetutils.h"
#include "data/tablefile.h"
#include "data/tablesupport.h"
#include "platform/ezkerror.h"

#include <algorithm>

namespace riz {

TDataModuleCust* DataModuleCust = nullptr;

const char* const TDataModuleCust::kCustomerFileName = "customer.0.96.cds";

TFieldDefs TDataModuleCust::CustAddrFields()
{
    return {IntField("ADDRESS_ID"),          StrField("NICK_NAME", 50),
            StrField("ADDRESS1", 200),       StrField("ADDRESS2", 200),
            StrField("CITY", 200),           StrField("STATE", 50),
            StrField("POSTAL_CODE", 50),     StrField("COUNTRY_CODE", 2),
            StrField("NORM_CITY_NAME", 200), StrField("NORM_QUARTER_NAME", 200)};
}

TFieldDefs TDataModuleCust::PaymentInfoNickNameFields()
{
    return {StrField("NICK_NAME", 50), StrField("PAYMENT_TYPE", 10), StrField("CC_TYPE", 20)};
}

TFieldDefs TDataModuleCust::CustomerFields()
{
    return {IntField("CUSTOMER_ID"),
            StrField("EMAIL_ADDRESS", 200),
            StrField("PASSWORD", 50),
            StrField("GENDER", 1),
            StrField("FIRST_NAME", 200),
            StrField("LAST_NAME", 200),
            StrField("HOME_PHONE", 50),
            StrField("WORK_PHONE", 50),
            StrField("CELL_PHONE", 50),
            StrField("FAX", 50),
            DateTimeField("BIRTHDATE"),
            StrField("HOME_COUNTRY_CODE", 2),
            StrField("LANGUAGE_CODE", 3),
            BoolField("REMEMBER_PASSWORD"),
            StrField("SMS_RATE_NAME", 200),
            StrField("SMS_PAYMENT_NICK_NAME", 200),
            StrField("SMS_INV_ADDR_NICK_NAME", 200),
            StrField("CUSTOMER_ADDRESS_NICK_NAMES", 1000),
            NestedField("CUSTOMER_ADDRESSES", CustAddrFields(), "ADDRESS_ID"),
            StrField("PAYMENT_INFO_NICK_NAMES", 1000),
            NestedField("PAYMENT_INFOS", PaymentInfoNickNameFields()),
            IntField("CREDITS"),
            BoolField("WELCOME_CREDIT_CODE_SENT"),
            StrField("WELCOME_CREDIT_CODE_SENT_TO", 200),
            BoolField("WELCOME_CREDIT_CODE_REDEEMED"),
            BoolField("REMIND_BIRTHDAYS"),
            BoolField("REMIND_BIRTHDAY_WITH_SMS"),
            BoolField("REMIND_BIRTHDAY_WITH_EMAIL"),
            BoolField("REMIND_WITH_SMS"),
            BoolField("REMIND_WITH_EMAIL"),
            StrField("BILL_ADDRESS_NICK_NAME", 1000)};
}

TDataModuleCust::TDataModuleCust(const std::string& dataDir)
    : m_customerFile(dataDir + "/" + kCustomerFileName)
{
    CDSCustomer.FieldDefs = CustomerFields();
    CDSPaymentInfoTemp.FieldDefs = {IntField("PAYMENT_ID"),
                                    StrField("NICK_NAME", 50),
                                    StrField("PAYMENT_TYPE", 50),
                                    StrField("CC_TYPE", 20),
                                    StrField("CC_NAME_ON_CARD", 200),
                                    StrField("CC_NUMBER", 20),
                                    IntField("CC_EXP_MONTH"),
                                    IntField("CC_EXP_YEAR"),
                                    StrField("BEZ_ACCOUNT_OWNER", 200),
                                    StrField("BEZ_ACCOUNT_NUMBER", 20),
                                    StrField("BEZ_ROUTING_NUMBER", 20),
                                    StrField("BEZ_BANK_NAME", 100)};
    CDSNeighborhood.FieldDefs = {StrField("POSTAL_CODE", 200), StrField("CITY_NAME", 200),
                                 StrField("QUARTER_NAME", 200), StrField("NORM_CITY_NAME", 200),
                                 StrField("NORM_QUARTER_NAME", 200)};
    CDSNeighborhood.CreateDataSet();
}

TDataModuleCust::~TDataModuleCust() = default;

TClientDataSet& TDataModuleCust::CDSCustAddr()
{
    return CDSCustomer.FieldByName("CUSTOMER_ADDRESSES").NestedDataSet();
}

TClientDataSet& TDataModuleCust::CDSPaymentInfoNickNames()
{
    return CDSCustomer.FieldByName("PAYMENT_INFOS").NestedDataSet();
}

void TDataModuleCust::OpenCustomerTables()
{
    if (OpenWrittenTable(CDSCustomer, m_customerFile))
        CommitCustomerTables();
    CDSPaymentInfoTemp.CreateDataSet();
}

bool TDataModuleCust::CustomerFileExists() const
{
    return TTableFile::ExistsNotEmpty(m_customerFile);
}

void TDataModuleCust::CommitCustomerTables()
{
    CDSCustomer.SaveToFile(m_customerFile);
}

void TDataModuleCust::RollbackCustomerTables()
{
    CDSCustomer.CancelUpdates();
}

bool TDataModuleCust::FindCustomer(const std::string& email)
{
    return !CDSCustomer.IsEmpty() && CDSCustomer.Locate("EMAIL_ADDRESS", TValue(email), true);
}

void TDataModuleCust::GoToCustomer(const std::string& email)
{
    if (!FindCustomer(email))
        throw EZKError(19010, 0, email);
    const int id = CDSCustomer.FieldByName("CUSTOMER_ID").AsInteger();
    // A routine may add or remove subscribers; walk a copy.
    const std::vector<TListener> listeners = m_selected;
    for (const TListener& l : listeners)
        l.Routine(id);
}

void TDataModuleCust::GoToLoggedInCustomer()
{
    GoToCustomer(LoggedInEmail);
}

void TDataModuleCust::LoginCustomer(const std::string& email)
{
    LoggedInEmail = email;
    if (email.empty()) {
        LoggedInFirstName.clear();
        LoggedInLastName.clear();
        LoggedInPassword.clear();
        LoggedInCustomerId = -1;
        return;
    }
    GoToLoggedInCustomer();
    LoggedInFirstName = CDSCustomer.FieldByName("FIRST_NAME").AsString();
    LoggedInLastName = CDSCustomer.FieldByName("LAST_NAME").AsString();
    LoggedInPassword = CDSCustomer.FieldByName("PASSWORD").AsString();
    LoggedInCustomerId = CDSCustomer.FieldByName("CUSTOMER_ID").AsInteger();
}

void TDataModuleCust::DeleteCustomer(const std::string& email)
{
    if (!FindCustomer(email))
        throw EZKError(19010, 0, email);
    const int id = CDSCustomer.FieldByName("CUSTOMER_ID").AsInteger();
    const std::vector<TListener> listeners = m_deleted;
    for (const TListener& l : listeners)
        l.Routine(id);
    // The subscribers do not move the customer table, but be sure of the row.
    if (!FindCustomer(email))
        throw EZKError(19010, 0, email);
    DeleteAllRows(CDSCustAddr());
    DeleteAllRows(CDSPaymentInfoNickNames());
    CDSCustomer.Delete();
    CommitCustomerTables();
}

void TDataModuleCust::FillUsersIntoStringList(std::vector<std::string>& list)
{
    const int col = CDSCustomer.FindField("EMAIL_ADDRESS");
    for (const auto& row : CDSCustomer.Rows()) {
        const auto* email = std::get_if<std::string>(&row->Values[col]);
        list.push_back(email ? *email : std::string());
    }
}

void TDataModuleCust::GoToAddress(const std::string& nick)
{
    if (!CDSCustAddr().Locate("NICK_NAME", TValue(nick), true))
        throw EZKError(19011, 0, nick);
}

void TDataModuleCust::GoToPaymentInfo(const std::string& nick)
{
    if (!CDSPaymentInfoNickNames().Locate("NICK_NAME", TValue(nick), true))
        throw EZKError(19013, 0, nick);
}

void TDataModuleCust::AddCustomerSelectedListener(TCustomerRoutine routine, const void* object)
{
    m_selected.push_back({std::move(routine), object});
}

void TDataModuleCust::AddCustomerDeletedListener(TCustomerRoutine routine, const void* object)
{
    m_deleted.push_back({std::move(routine), object});
}

void TDataModuleCust::RemoveListeners(const void* object)
{
    std::erase_if(m_selected, [object](const TListener& l) { return l.Object == object; });
    std::erase_if(m_deleted, [object](const TListener& l) { return l.Object == object; });
}

} // namespace riz
