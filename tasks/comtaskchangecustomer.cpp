#include "tasks/comtaskchangecustomer.h"

#include "data/datamodulecust.h"
#include "protocol/cstable.h"
#include "tasks/comtasktables.h"

#include <stdexcept>
#include <string>

namespace riz {

TComTaskChangeCustomer::TComTaskChangeCustomer(int taskId, int operation)
    : TComTaskZK(taskId), Operation(operation)
{}

int TComTaskChangeCustomer::OperationOf(int taskId)
{
    switch (taskId) {
    case 50421:
        return 1;
    case 50422:
        return 13;
    case 50423:
        return 12;
    case 50424:
        return 11;
    case 50425:
        return 23;
    case 50426:
        return 22;
    case 50427:
        return 21;
    default:
        return 0;
    }
}

void TComTaskChangeCustomer::AssembleDataString(TCSDataString& message)
{
    TDataModuleCust& cust = *DataModuleCust;
    TClientDataSet& customer = cust.CDSCustomer;
    SetHeader(message, "CHANGE_CUSTOMER", "1.00");
    switch (Operation) {
    case 1: {
        // The row holds the new values (in edit mode); the login is the one valid before.
        AddLogin(message, cust.ChangeEmail, cust.ChangePassword);
        TCSTable data;
        const char* columns[] = {"email_address", "password", "home_phone", "work_phone",
                                 "cell_phone",    "fax",      "birthdate",  "language_code"};
        data.SetColumnCount(8);
        for (int i = 0; i < 8; ++i)
            data.ColumnName(i) = columns[i];
        data.AddRow();
        const char* fields[] = {"EMAIL_ADDRESS", "PASSWORD",   "HOME_PHONE",
                                "WORK_PHONE",    "CELL_PHONE", "FAX"};
        for (int i = 0; i < 6; ++i)
            data.CurrentCell(i).SetString(customer.FieldByName(fields[i]).AsString());
        data.CurrentCell(6).SetDateTime(customer.FieldByName("BIRTHDATE").AsDateTime());
        data.CurrentCell(7).SetString(customer.FieldByName("LANGUAGE_CODE").AsString());
        message.AddParam(TCSParam::Table("custdata", data));
        break;
    }
    case 11:
        AddLogin(message);
        AddSingleCellTable(message, "deladdresses", "nick_name", cust.EditAddressNick);
        AddAddressTable(message, "newaddresses", false);
        break;
    case 12:
        AddLogin(message);
        AddAddressTable(message, "newaddresses", false);
        break;
    case 13:
        AddLogin(message);
        AddSingleCellTable(message, "deladdresses", "nick_name", cust.DeleteAddressNick);
        break;
    case 21:
        AddLogin(message);
        AddSingleCellTable(message, "delpayment", "nick_name", cust.EditPaymentNick);
        AddPaymentTable(message, "newpayment", false);
        break;
    case 22:
        AddLogin(message);
        AddPaymentTable(message, "newpayment", false);
        break;
    case 23:
        AddLogin(message);
        AddSingleCellTable(message, "delpayment", "nick_name", cust.DeletePaymentNick);
        break;
    default:
        throw std::logic_error("CHANGE_CUSTOMER without operation (task " + std::to_string(TaskId) +
                               ")");
    }
    message.AddParam(TCSParam("bill_address_nick_name",
                              customer.FieldByName("BILL_ADDRESS_NICK_NAME").AsString()));
}

} // namespace riz
