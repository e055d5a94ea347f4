#pragma once

#include <string>

namespace riz {

class TDataCollection;

// Creates the four data modules in the order of the program's start (customer, SMS,
// reminder, addresses) over the folders of the data collection and sets the globals
// DataModuleCust, DataModuleSMS, DataModuleReminder and DataModuleAddresses.
void CreateDataModules(const TDataCollection& folders);
// Destroys them in the reverse order and clears the globals.
void DestroyDataModules();

// Opens every table in the start order: customer, SMS, address book, reminder list. Each
// module is opened even when an earlier one met an unreadable file; the first error is
// raised at the end.
void OpenAllTables();

} // namespace riz
