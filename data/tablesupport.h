#pragma once

#include "data/clientdataset.h"

#include <initializer_list>
#include <string>

namespace riz {

// Opens one written table: loads its file when the file has content and a first profile has
// been completed; otherwise starts it empty and tries the upgrade from an older file. True
// when the upgrade carried rows over. A file that cannot be read raises ETableFileError; the
// table is then empty and will not write over that file.
bool OpenWrittenTable(TClientDataSet& table, const std::string& path);

// Writes each table to its file, all of them even when one fails; the first failure is
// raised at the end.
void CommitTables(std::initializer_list<std::pair<TClientDataSet*, const std::string*>> tables);

// Deletes every row of the customer, whatever the table's filter; the filter is kept.
void DeleteCustomerRows(TClientDataSet& table, int customerId);

} // namespace riz
