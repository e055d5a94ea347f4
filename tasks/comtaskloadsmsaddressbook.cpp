#include "tasks/comtaskloadsmsaddressbook.h"

#include "data/datamoduleaddresses.h"
#include "data/datasetutils.h"
#include "tasks/answertable.h"
#include "tasks/comtasksavesmsaddressbook.h"

#include <array>

namespace riz {

void TComTaskLoadSMSAddressBook::AssembleDataString(TCSDataString& message)
{
    SetHeader(message, "LOAD_SMS_ADDRESS_BOOK", "1.00");
    AddLogin(message);
}

void TComTaskLoadSMSAddressBook::AnalyseResult(TCSDataString& answer)
{
    const int r = answer.GetParam("rslt").AsInt();
    if (r == 0) {
        const TCSTable book = answer.GetParam("address_book").AsTable();
        const std::vector<std::string>& columns = AddressBookColumns();
        std::array<std::int32_t, 7> c{};
        for (std::size_t i = 0; i < c.size(); ++i)
            c[i] = RequiredColumn(book, columns[i]);
        static const std::array<const char*, 7> fields = {
            "NAME",       "EMAIL_ADDRESS", "HOME_PHONE",       "WORK_PHONE",
            "CELL_PHONE", "BIRTHDAY",      "DISTRIBUTION_LIST"};

        TClientDataSet& table = DataModuleAddresses->CDSAddressBook;
        DeleteAllRows(table);
        for (std::int32_t row = 0; row < book.RowCount(); ++row) {
            table.Append();
            for (std::size_t i = 0; i < c.size(); ++i) {
                const TCSParam& cell = book.Cell(row, c[i]);
                if (i == 5) {
                    // An empty cell is a contact without a birthday.
                    if (!cell.Value.empty())
                        table.FieldByName(fields[i]).SetAsDateTime(cell.AsDateTime());
                } else {
                    table.FieldByName(fields[i]).SetAsString(cell.AsString());
                }
            }
            table.Post();
        }
        DataModuleAddresses->CommitAddressBook();
        CheckLatestVersion(answer);
    }
    ReportDone(r);
}

} // namespace riz
