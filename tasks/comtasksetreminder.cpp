#include "tasks/comtasksetreminder.h"

#include "data/datamodulecust.h"
#include "data/datamodulereminder.h"
#include "platform/text.h"
#include "tasks/answertable.h"

namespace riz {

const std::array<const char*, 5>& ReminderOptionNames()
{
    static const std::array<const char*, 5> names = {
        "remind_birthdays", "remind_with_sms", "remind_with_email", "remind_birthday_with_sms",
        "remind_birthday_with_email"};
    return names;
}

void TComTaskSetReminder::AssembleDataString(TCSDataString& message)
{
    SetHeader(message, "SAVE_REMINDER_LIST", "1.00");
    AddLogin(message);
    TClientDataSet& customer = DataModuleCust->CDSCustomer;
    for (const char* name : ReminderOptionNames())
        message.AddParam(
            TCSParam::Int(name, customer.FieldByName(AnsiUpperCase(name)).AsBoolean() ? 1 : 0));

    TCSTable list = RequestTable({"datetime", "description", "remind_when"});
    TClientDataSet& rows = DataModuleReminder->CDSReminder;
    rows.First();
    while (!rows.Eof()) {
        list.AddRow();
        list.CurrentCell(0).SetDateTime(rows.FieldByName("REMIND_DATE").AsDateTime());
        list.CurrentCell(1).SetString(rows.FieldByName("DESCRIPTION").AsString());
        list.CurrentCell(2).SetFloat(rows.FieldByName("REMIND_WHEN").AsFloat());
        rows.Next();
    }
    message.AddParam(TCSParam::Table("reminder_list", list));
}

} // namespace riz
