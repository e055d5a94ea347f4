#include "data/tablesupport.h"

#include "data/appparam.h"
#include "data/datasetutils.h"
#include "data/tablefile.h"

#include <exception>
#include <filesystem>

namespace riz {

bool OpenWrittenTable(TClientDataSet& table, const std::string& path)
{
    table.CreateDataSet();
    const bool finished = AppParam && AppParam->bOneUserProfileFinished;
    if (TTableFile::ExistsNotEmpty(path)) {
        if (finished) {
            table.LoadFromFile(path);
            return false;
        }
        // Without a completed profile the file is not read and the next write replaces it.
        // Its content is set aside first (once), so that a lost INI file cannot wipe it out.
        const std::filesystem::path p(path);
        const std::filesystem::path aside =
            p.parent_path() / (".~" + p.filename().string() + ".unread");
        std::error_code ec;
        if (!std::filesystem::exists(aside, ec))
            std::filesystem::rename(p, aside, ec);
        return false;
    }
    return UpgradeTableFile(path, table);
}

void CommitTables(std::initializer_list<std::pair<TClientDataSet*, const std::string*>> tables)
{
    std::exception_ptr first;
    for (const auto& [table, path] : tables) {
        try {
            table->SaveToFile(*path);
        } catch (...) {
            if (!first)
                first = std::current_exception();
        }
    }
    if (first)
        std::rethrow_exception(first);
}

void DeleteCustomerRows(TClientDataSet& table, int customerId)
{
    TFilter saved = table.Filter();
    table.SetFilter(FieldEquals("CUSTOMER_ID", customerId));
    try {
        DeleteAllRows(table);
    } catch (...) {
        table.SetFilter(std::move(saved));
        throw;
    }
    table.SetFilter(std::move(saved));
}

} // namespace riz
