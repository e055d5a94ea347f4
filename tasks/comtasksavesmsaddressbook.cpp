#include "tasks/comtasksavesmsaddressbook.h"

#include "data/datamoduleaddresses.h"
#include "tasks/answertable.h"

namespace riz {

const std::vector<std::string>& AddressBookColumns()
{
    static const std::vector<std::string> columns = {
        "name",       "email_address", "home_phone",       "office_phone",
        "cell_phone", "birthday",      "distribution_list"};
    return columns;
}

void TComTaskSaveSMSAddressBook::AssembleDataString(TCSDataString& message)
{
    SetHeader(message, "SAVE_SMS_ADDRESS_BOOK", "1.00");
    AddLogin(message);
    TCSTable book = RequestTable(AddressBookColumns());
    TClientDataSet& rows = DataModuleAddresses->CDSAddressBook;
    rows.First();
    while (!rows.Eof()) {
        book.AddRow();
        book.CurrentCell(0).SetString(rows.FieldByName("NAME").AsString());
        book.CurrentCell(1).SetString(rows.FieldByName("EMAIL_ADDRESS").AsString());
        book.CurrentCell(2).SetString(rows.FieldByName("HOME_PHONE").AsString());
        book.CurrentCell(3).SetString(rows.FieldByName("WORK_PHONE").AsString());
        book.CurrentCell(4).SetString(rows.FieldByName("CELL_PHONE").AsString());
        const TField birthday = rows.FieldByName("BIRTHDAY");
        if (birthday.AsString().empty())
            book.CurrentCell(5).SetString(std::string());
        else
            book.CurrentCell(5).SetDateTime(birthday.AsDateTime());
        book.CurrentCell(6).SetString(rows.FieldByName("DISTRIBUTION_LIST").AsString());
        rows.Next();
    }
    message.AddParam(TCSParam::Table("address_book", book));
}

} // namespace riz
