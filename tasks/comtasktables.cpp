#include "tasks/comtasktables.h"

#include "data/datamodulecust.h"
#include "protocol/cserror.h"

namespace riz {
namespace {

// Fields of the address records, in the order of the address table's columns.
const std::vector<std::string> kAddressFields = {
    "NICK_NAME",    "ADDRESS1",       "ADDRESS2",         "CITY", "STATE", "POSTAL_CODE",
    "COUNTRY_CODE", "NORM_CITY_NAME", "NORM_QUARTER_NAME"};

const std::vector<std::string> kPaymentFields = {
    "NICK_NAME",          "PAYMENT_TYPE",       "CC_TYPE",      "CC_NAME_ON_CARD",
    "CC_NUMBER",          "CC_EXP_MONTH",       "CC_EXP_YEAR",  "BEZ_ACCOUNT_OWNER",
    "BEZ_ACCOUNT_NUMBER", "BEZ_ROUTING_NUMBER", "BEZ_BANK_NAME"};

TCSTable EmptyTable(const std::vector<std::string>& columns)
{
    TCSTable table;
    table.SetColumnCount(static_cast<std::int32_t>(columns.size()));
    for (size_t i = 0; i < columns.size(); ++i)
        table.ColumnName(static_cast<std::int32_t>(i)) = columns[i];
    return table;
}

// Appends one row per record (all from the first, or the current one) with every field as text;
// integer fields become their decimal text, which is how the table carries them.
void AddRecordTable(TCSDataString& message, const std::string& name, TClientDataSet& records,
                    const std::vector<std::string>& columns, const std::vector<std::string>& fields,
                    bool all)
{
    TCSTable table = EmptyTable(columns);
    auto addCurrent = [&] {
        table.AddRow();
        for (size_t i = 0; i < fields.size(); ++i)
            table.CurrentCell(static_cast<std::int32_t>(i))
                .SetString(records.FieldByName(fields[i]).AsString());
    };
    if (all) {
        // Walk the visible rows without moving the current one.
        const int keep = records.RecNo();
        for (records.First(); !records.Eof(); records.Next())
            addCurrent();
        if (keep > 0)
            records.SetRecNo(keep);
    } else {
        addCurrent();
    }
    message.AddParam(TCSParam::Table(name, table));
}

} // namespace

const std::vector<std::string>& AddressTableColumns()
{
    static const std::vector<std::string> columns = {
        "nick_name",    "address1",       "address2",         "city", "state", "postal_code",
        "country_code", "norm_city_name", "norm_quarter_name"};
    return columns;
}

const std::vector<std::string>& PaymentTableColumns()
{
    static const std::vector<std::string> columns = {
        "nick_name",          "payment_type",       "cc_type",      "cc_name_on_card",
        "cc_number",          "cc_exp_month",       "cc_exp_year",  "bez_account_owner",
        "bez_account_number", "bez_routing_number", "bez_bank_name"};
    return columns;
}

void AddSingleCellTable(TCSDataString& message, const std::string& name, const std::string& column,
                        const std::string& value)
{
    TCSTable table = EmptyTable({column});
    table.AddRow();
    table.CurrentCell(0).SetString(value);
    message.AddParam(TCSParam::Table(name, table));
}

void AddAddressTable(TCSDataString& message, const std::string& name, bool all)
{
    AddRecordTable(message, name, DataModuleCust->CDSCustAddr(), AddressTableColumns(),
                   kAddressFields, all);
}

void AddPaymentTable(TCSDataString& message, const std::string& name, bool all)
{
    AddRecordTable(message, name, DataModuleCust->CDSPaymentInfoTemp, PaymentTableColumns(),
                   kPaymentFields, all);
}

TAnswerRows ReadAnswerTable(const TCSDataString& answer, const std::string& name,
                            const std::vector<std::string>& columns)
{
    const TCSTable table = answer.GetParam(name).AsTable();
    std::vector<std::int32_t> index;
    index.reserve(columns.size());
    for (const std::string& column : columns) {
        const std::int32_t i = table.ColumnIndex(column);
        if (i < 0)
            throw ECSError(3004, column);
        index.push_back(i);
    }
    TAnswerRows rows;
    rows.reserve(static_cast<size_t>(table.RowCount()));
    for (std::int32_t r = 0; r < table.RowCount(); ++r) {
        std::vector<TCSParam> cells;
        cells.reserve(index.size());
        for (std::int32_t i : index)
            cells.push_back(table.Cell(r, i));
        rows.push_back(std::move(cells));
    }
    return rows;
}

} // namespace riz
