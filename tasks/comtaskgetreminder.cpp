#include "tasks/comtaskgetreminder.h"

#include "data/datamodulecust.h"
#include "data/datamodulereminder.h"
#include "data/datasetutils.h"
#include "platform/text.h"
#include "tasks/answertable.h"
#include "tasks/comtasksetreminder.h"

#include <array>

namespace riz {

void TComTaskGetReminder::AssembleDataString(TCSDataString& message)
{
    SetHeader(message, "LOAD_REMINDER_LIST", "1.00");
    AddLogin(message);
}

void TComTaskGetReminder::AnalyseResult(TCSDataString& answer)
{
    const int r = answer.GetParam("rslt").AsInt();
    if (r == 0) {
        const auto& names = ReminderOptionNames();
        std::array<bool, 5> options{};
        for (std::size_t i = 0; i < names.size(); ++i)
            options[i] = answer.GetParam(names[i]).AsInt() == 1;
        const TCSTable list = answer.GetParam("reminder_list").AsTable();
        const std::int32_t cDate = RequiredColumn(list, "datetime");
        const std::int32_t cDescription = RequiredColumn(list, "description");
        const std::int32_t cWhen = RequiredColumn(list, "remind_when");

        TClientDataSet& events = DataModuleReminder->CDSReminder;
        DeleteAllRows(events);
        TClientDataSet& customer = DataModuleCust->CDSCustomer;
        customer.Edit();
        for (std::size_t i = 0; i < names.size(); ++i)
            customer.FieldByName(AnsiUpperCase(names[i])).SetAsBoolean(options[i]);
        customer.Post();
        // The events are numbered afresh, 1, 2, 3 ... in the server's order, so that the
        // reminder page can tell them apart by REMINDER_ID.
        for (std::int32_t i = 0; i < list.RowCount(); ++i) {
            events.Append();
            events.FieldByName("REMINDER_ID").SetAsInteger(i + 1);
            events.FieldByName("REMIND_DATE").SetAsDateTime(list.Cell(i, cDate).AsDateTime());
            events.FieldByName("DESCRIPTION").SetAsString(list.Cell(i, cDescription).AsString());
            events.FieldByName("REMIND_WHEN").SetAsFloat(list.Cell(i, cWhen).AsFloat());
            events.Post();
        }
        // Written once everything is stored: a fault above leaves both files as they were.
        DataModuleCust->CommitCustomerTables();
        DataModuleReminder->CommitReminderList();
        CheckLatestVersion(answer);
    }
    ReportDone(r);
}

} // namespace riz
