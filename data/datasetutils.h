#pragma once

#include "data/clientdataset.h"

#include <string>
#include <vector>

namespace riz {

// Deletes the table's visible rows; rows hidden by the filter stay.
void DeleteAllRows(TClientDataSet& table);

// Fills a freshly created, empty table from the greatest older file of the same base name
// ("sms_history.0.90.cds" for "sms_history.0.94.cds"); true when rows were carried over.
// Nothing happens when the table's own file exists with content. Candidates that cannot be
// read as table files (folders, empty files, foreign files) are skipped for the next one.
bool UpgradeTableFile(const std::string& path, TClientDataSet& table);

// Replaces the target's rows by the source's, copying the fields both have (by name, without
// regard to case; values converted to the target's types). Nested tables of a common nested
// field are copied the same way.
void CopyRowsByFieldName(const TClientDataSet& source, TClientDataSet& target);

// Whether the list holds the name, compared without regard to case.
bool NameInList(const std::vector<std::string>& list, const std::string& name);

} // namespace riz
