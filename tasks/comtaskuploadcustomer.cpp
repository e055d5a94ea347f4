#include "tasks/comtaskuploadcustomer.h"

#include "data/datacollection.h"
#include "data/datamodulecust.h"
#include "protocol/cstable.h"

namespace riz {

void TComTaskUploadCustomer::AssembleDataString(TCSDataString& message)
{
    SetHeader(message, "ADD_CUSTOMER", "1.00");
    TClientDataSet& customer = DataModuleCust->CDSCustomer;
    const char* columns[] = {
        "email_address",     "password",      "gender",     "first_name", "last_name",
        "home_phone",        "work_phone",    "cell_phone", "fax",        "birthdate",
        "home_country_code", "language_code", "reseller_id"};
    TCSTable data;
    data.SetColumnCount(13);
    for (int i = 0; i < 13; ++i)
        data.ColumnName(i) = columns[i];
    data.AddRow();
    const char* texts[] = {"EMAIL_ADDRESS", "PASSWORD",   "GENDER",     "FIRST_NAME", "LAST_NAME",
                           "HOME_PHONE",    "WORK_PHONE", "CELL_PHONE", "FAX"};
    for (int i = 0; i < 9; ++i)
        data.CurrentCell(i).SetString(customer.FieldByName(texts[i]).AsString());
    data.CurrentCell(9).SetDateTime(customer.FieldByName("BIRTHDATE").AsDateTime());
    data.CurrentCell(10).SetString(customer.FieldByName("HOME_COUNTRY_CODE").AsString());
    data.CurrentCell(11).SetString(customer.FieldByName("LANGUAGE_CODE").AsString());
    data.CurrentCell(12).SetInt(DataCollection ? DataCollection->ResellerId : 0);
    message.AddParam(TCSParam::Table("custdata", data));
}

void TComTaskUploadCustomer::AnalyseResult(TCSDataString& answer)
{
    const int r = answer.GetParam("rslt").AsInt();
    if (r == 0) {
        const int id = answer.GetParam("customer_id").AsInt();
        TClientDataSet& customer = DataModuleCust->CDSCustomer;
        // The registration dialog may hand the new row over still being inserted.
        if (customer.State() == TDataSetState::Browse)
            customer.Edit();
        customer.FieldByName("CUSTOMER_ID").SetAsInteger(id);
        customer.Post();
        // The per-profile tables follow the new id.
        DataModuleCust->GoToCustomer(customer.FieldByName("EMAIL_ADDRESS").AsString());
        CheckLatestVersion(answer);
    }
    ReportDone(r);
}

} // namespace riz
