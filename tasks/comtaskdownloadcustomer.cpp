#include "tasks/comtaskdownloadcustomer.h"

#include "data/datamodulecust.h"
#include "protocol/cserror.h"
#include "tasks/comtasktables.h"

#include <string>
#include <vector>

namespace riz {
namespace {

const std::vector<std::string> kCustomerColumns = {
    "customer_id",       "gender",        "first_name",
    "last_name",         "home_phone",    "work_phone",
    "cell_phone",        "fax",           "birthdate",
    "home_country_code", "language_code", "bill_address_nick_name"};
// Customer fields filled from the text columns 1 ... 7, 9 ... 11 above.
const char* const kCustomerTextFields[] = {"GENDER",     "FIRST_NAME", "LAST_NAME", "HOME_PHONE",
                                           "WORK_PHONE", "CELL_PHONE", "FAX"};

const std::vector<std::string> kAddressColumns = {"nick_name", "address1",    "address2",    "city",
                                                  "state",     "postal_code", "country_code"};
const char* const kAddressFields[] = {"NICK_NAME", "ADDRESS1",    "ADDRESS2",    "CITY",
                                      "STATE",     "POSTAL_CODE", "COUNTRY_CODE"};
// The service sends the normalised names too; older answers may lack them.
const char* const kOptionalAddressColumns[] = {"norm_city_name", "norm_quarter_name"};
const char* const kOptionalAddressFields[] = {"NORM_CITY_NAME", "NORM_QUARTER_NAME"};

const std::vector<std::string> kPaymentColumns = {"nick_name", "payment_type", "cc_type"};
const char* const kPaymentFields[] = {"NICK_NAME", "PAYMENT_TYPE", "CC_TYPE"};

struct TCustomerData
{
    int CustomerId = 0;
    std::string Texts[7];
    double BirthDate = 0;
    std::string HomeCountryCode, LanguageCode, BillAddressNickName;
    int Credits = 0;
    bool WelcomeSent = false;
    std::string WelcomeSentTo;
    bool WelcomeRedeemed = false;
    std::vector<std::vector<std::string>> Addresses; // the 7 columns, then the 2 optional ones
    std::vector<std::vector<std::string>> Payments;
};

std::vector<std::vector<std::string>> Texts(const TAnswerRows& rows)
{
    std::vector<std::vector<std::string>> out;
    out.reserve(rows.size());
    for (const auto& row : rows) {
        std::vector<std::string> texts;
        for (const TCSParam& cell : row)
            texts.push_back(cell.AsString());
        out.push_back(std::move(texts));
    }
    return out;
}

// Everything the answer carries, read and converted before anything is stored, so that a
// missing parameter or column leaves the tables untouched.
TCustomerData ReadAnswer(const TCSDataString& answer)
{
    TCustomerData d;
    const TAnswerRows custdata = ReadAnswerTable(answer, "custdata", kCustomerColumns);
    if (custdata.empty())
        throw ECSError(3004, "customer_id");
    // The current row after decoding is the last one; the service sends one.
    const std::vector<TCSParam>& row = custdata.back();
    d.CustomerId = row[0].AsInt();
    for (int i = 0; i < 7; ++i)
        d.Texts[i] = row[static_cast<size_t>(i) + 1].AsString();
    d.BirthDate = row[8].AsDateTime();
    d.HomeCountryCode = row[9].AsString();
    d.LanguageCode = row[10].AsString();
    d.BillAddressNickName = row[11].AsString();

    d.Credits = answer.GetParam("credits").AsInt();
    d.WelcomeSent = answer.GetParam("welcome_credit_code_sent").AsInt() == 1;
    d.WelcomeSentTo = answer.GetParam("welcome_credit_code_sent_to").AsString();
    d.WelcomeRedeemed = answer.GetParam("welcome_credit_code_redeemed").AsInt() == 1;

    d.Addresses = Texts(ReadAnswerTable(answer, "addresses", kAddressColumns));
    const TCSTable addresses = answer.GetParam("addresses").AsTable();
    for (const char* column : kOptionalAddressColumns) {
        const bool present = addresses.ColumnIndex(column) >= 0;
        const auto values = present ? Texts(ReadAnswerTable(answer, "addresses", {column}))
                                    : std::vector<std::vector<std::string>>();
        for (size_t n = 0; n < d.Addresses.size(); ++n)
            d.Addresses[n].push_back(present ? values[n][0] : std::string());
    }
    d.Payments = Texts(ReadAnswerTable(answer, "payment", kPaymentColumns));
    return d;
}

} // namespace

void TComTaskDownloadCustomer::AssembleDataString(TCSDataString& message)
{
    SetHeader(message, "GET_CUSTOMER", "1.00");
    AddLogin(message, DataModuleCust->DownloadEmail, DataModuleCust->DownloadPassword);
}

void TComTaskDownloadCustomer::AnalyseResult(TCSDataString& answer)
{
    const int r = answer.GetParam("rslt").AsInt();
    if (r == 0) {
        const TCustomerData d = ReadAnswer(answer);
        TDataModuleCust& cust = *DataModuleCust;
        TClientDataSet& customer = cust.CDSCustomer;

        // The calling window has appended a fresh record, or put the profile's row in edit.
        if (customer.State() == TDataSetState::Browse)
            customer.Edit();
        customer.FieldByName("CUSTOMER_ID").SetAsInteger(d.CustomerId);
        customer.FieldByName("EMAIL_ADDRESS").SetAsString(cust.DownloadEmail);
        customer.FieldByName("PASSWORD").SetAsString(cust.DownloadPassword);
        for (int i = 0; i < 7; ++i)
            customer.FieldByName(kCustomerTextFields[i]).SetAsString(d.Texts[i]);
        customer.FieldByName("BIRTHDATE").SetAsDateTime(d.BirthDate);
        customer.FieldByName("HOME_COUNTRY_CODE").SetAsString(d.HomeCountryCode);
        customer.FieldByName("LANGUAGE_CODE").SetAsString(d.LanguageCode);
        customer.FieldByName("BILL_ADDRESS_NICK_NAME").SetAsString(d.BillAddressNickName);
        customer.FieldByName("REMEMBER_PASSWORD").SetAsBoolean(true);
        customer.FieldByName("CREDITS").SetAsInteger(d.Credits);
        customer.FieldByName("WELCOME_CREDIT_CODE_SENT").SetAsBoolean(d.WelcomeSent);
        customer.FieldByName("WELCOME_CREDIT_CODE_SENT_TO").SetAsString(d.WelcomeSentTo);
        customer.FieldByName("WELCOME_CREDIT_CODE_REDEEMED").SetAsBoolean(d.WelcomeRedeemed);
        customer.Post();

        TClientDataSet& addresses = cust.CDSCustAddr();
        addresses.EmptyDataSet();
        for (size_t n = 0; n < d.Addresses.size(); ++n) {
            const auto& texts = d.Addresses[n];
            addresses.Append();
            addresses.FieldByName("ADDRESS_ID").SetAsInteger(static_cast<std::int32_t>(n));
            for (int i = 0; i < 7; ++i)
                addresses.FieldByName(kAddressFields[i]).SetAsString(texts[static_cast<size_t>(i)]);
            for (size_t i = 0; i < 2; ++i)
                addresses.FieldByName(kOptionalAddressFields[i]).SetAsString(texts[7 + i]);
            addresses.Post();
        }

        TClientDataSet& payments = cust.CDSPaymentInfoNickNames();
        payments.EmptyDataSet();
        for (const auto& texts : d.Payments) {
            payments.Append();
            for (int i = 0; i < 3; ++i)
                payments.FieldByName(kPaymentFields[i]).SetAsString(texts[static_cast<size_t>(i)]);
            payments.Post();
        }

        if (customer.State() != TDataSetState::Browse)
            customer.Post();
        cust.CommitCustomerTables();
        CheckLatestVersion(answer);
    }
    ReportDone(r);
}

} // namespace riz
