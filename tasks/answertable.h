#pragma once

#include "protocol/cserror.h"
#include "protocol/cstable.h"

#include <string>
#include <vector>

namespace riz {

// The index of a column the caller needs from an answer table. A missing column raises
// ECSError 3004 with its name at once, also for a table without rows, so that a broken answer
// fails before anything is stored rather than at its first row.
inline std::int32_t RequiredColumn(const TCSTable& table, const std::string& name)
{
    const std::int32_t i = table.ColumnIndex(name);
    if (i < 0)
        throw ECSError(3004, name);
    return i;
}

// An empty request table with these columns.
inline TCSTable RequestTable(const std::vector<std::string>& columns)
{
    TCSTable table;
    table.SetColumnCount(static_cast<std::int32_t>(columns.size()));
    for (std::size_t i = 0; i < columns.size(); ++i)
        table.ColumnName(static_cast<std::int32_t>(i)) = columns[i];
    return table;
}

} // namespace riz
