#pragma once

#include "data/clientdataset.h"
#include "platform/ezkerror.h"

#include <string>

struct sqlite3;

namespace riz {

// A table file that could not be read (19020), could not be written (19021), or that is not
// written over because it could not be read at start (19022). DetailString holds the path and
// the reason.
class ETableFileError : public EZKError
{
public:
    ETableFileError(int code, const std::string& path, const std::string& reason);

    const std::string& Path() const { return m_path; }
    const std::string& Reason() const { return m_reason; }

private:
    std::string m_path;
    std::string m_reason;
};

// One table file: an SQLite database holding the field definitions and the rows of one
// table, its nested tables beside it. A whole write builds a new file next to the old one and
// renames it over; a change write applies the table's change record in one transaction on
// the open file. Either way a crash leaves the old or the new content.
class TTableFile final
{
public:
    explicit TTableFile(std::string path);
    ~TTableFile();
    TTableFile(const TTableFile&) = delete;
    TTableFile& operator=(const TTableFile&) = delete;

    // Whether a file (of any size) is there.
    static bool Exists(const std::string& path);
    // Whether a file is there and holds at least one byte.
    static bool ExistsNotEmpty(const std::string& path);

    // Replaces the table's field definitions and rows by the file's; the file's own rows are
    // then the table's baseline (no change record). Raises ETableFileError 19020.
    static void Load(const std::string& path, TClientDataSet& ds);
    // The field definitions of a file. Raises ETableFileError 19020.
    static TFieldDefs ReadFieldDefs(const std::string& path);
    // Writes every row to a new file and puts it in place. Raises ETableFileError 19021.
    static void WriteAll(const std::string& path, const TClientDataSet& ds);

    // Applies the table's change record to this file in one transaction. Raises 19021; the
    // file and the change record then stay as they were.
    void WriteChanges(TClientDataSet& ds);

private:
    void Open();

    std::string m_path;
    sqlite3* m_db = nullptr;
};

} // namespace riz
