#include "data/tablefile.h"

#include <sqlite3.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <set>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>

namespace riz {
namespace {

constexpr int kReadError = 19020;
constexpr int kWriteError = 19021;
constexpr const char* kFormat = "riz-table-1";

// The table's own rows live in "t"; the rows of a nested field at position p in "n<p>".
std::string NestedTableName(int fieldPos)
{
    return "n" + std::to_string(fieldPos);
}
std::string Col(std::size_t i)
{
    return "c" + std::to_string(i);
}

class Stmt
{
public:
    Stmt(sqlite3* db, const std::string& sql, int errorCode, const std::string& path)
        : m_code(errorCode), m_path(path), m_db(db)
    {
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &m_stmt, nullptr) != SQLITE_OK)
            throw ETableFileError(m_code, m_path, sqlite3_errmsg(db));
    }
    ~Stmt() { sqlite3_finalize(m_stmt); }
    Stmt(const Stmt&) = delete;
    Stmt& operator=(const Stmt&) = delete;

    sqlite3_stmt* get() const { return m_stmt; }
    // SQLITE_ROW or SQLITE_DONE; anything else raises.
    int Step()
    {
        const int rc = sqlite3_step(m_stmt);
        if (rc != SQLITE_ROW && rc != SQLITE_DONE)
            throw ETableFileError(m_code, m_path, sqlite3_errmsg(m_db));
        return rc;
    }
    void Run()
    {
        Step();
        sqlite3_reset(m_stmt);
        sqlite3_clear_bindings(m_stmt);
    }

private:
    int m_code;
    const std::string& m_path;
    sqlite3* m_db;
    sqlite3_stmt* m_stmt = nullptr;
};

void Exec(sqlite3* db, const std::string& sql, int code, const std::string& path)
{
    char* err = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
        std::string msg = err ? err : sqlite3_errmsg(db);
        sqlite3_free(err);
        throw ETableFileError(code, path, msg);
    }
}

struct Db
{
    sqlite3* h = nullptr;
    ~Db()
    {
        if (h)
            sqlite3_close_v2(h);
    }
};

void OpenDb(Db& db, const std::string& path, int flags, int code)
{
    // A connection is only ever used by the thread that opened it: no locking inside SQLite.
    if (sqlite3_open_v2(path.c_str(), &db.h, flags | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK) {
        const std::string msg = db.h ? sqlite3_errmsg(db.h) : "kein Speicher";
        throw ETableFileError(code, path, msg);
    }
    sqlite3_extended_result_codes(db.h, 1);
    sqlite3_busy_timeout(db.h, 2000);
}

void BindValue(sqlite3_stmt* st, int i, const TValue& v)
{
    if (const auto* n = std::get_if<std::int32_t>(&v))
        sqlite3_bind_int(st, i, *n);
    else if (const auto* d = std::get_if<double>(&v))
        sqlite3_bind_double(st, i, *d);
    else if (const auto* b = std::get_if<bool>(&v))
        sqlite3_bind_int(st, i, *b ? 1 : 0);
    else if (const auto* s = std::get_if<std::string>(&v))
        // Texts are Windows-1252 bytes: stored as blobs, so that no byte is reinterpreted.
        sqlite3_bind_blob(st, i, s->empty() ? "" : s->data(), static_cast<int>(s->size()),
                          SQLITE_STATIC);
    else
        sqlite3_bind_null(st, i);
}

TValue ColumnValue(sqlite3_stmt* st, int i, TFieldType type)
{
    if (sqlite3_column_type(st, i) == SQLITE_NULL)
        return TValue();
    switch (type) {
    case TFieldType::Integer:
        return static_cast<std::int32_t>(sqlite3_column_int(st, i));
    case TFieldType::Boolean:
        return sqlite3_column_int(st, i) != 0;
    case TFieldType::Date:
    case TFieldType::DateTime:
    case TFieldType::Float:
        return sqlite3_column_double(st, i);
    case TFieldType::String:
    case TFieldType::Memo:
    case TFieldType::Blob:
    case TFieldType::Graphic: {
        const void* p = sqlite3_column_blob(st, i);
        const int n = sqlite3_column_bytes(st, i);
        return std::string(static_cast<const char*>(p), p ? static_cast<std::size_t>(n) : 0);
    }
    case TFieldType::Nested:
        break;
    }
    return TValue();
}

// Columns of a table without the nested fields, which live in tables of their own.
std::vector<std::size_t> PlainColumns(const TFieldDefs& defs)
{
    std::vector<std::size_t> cols;
    for (std::size_t i = 0; i < defs.size(); ++i) {
        if (defs[i].DataType != TFieldType::Nested)
            cols.push_back(i);
    }
    return cols;
}

std::string InsertSql(const std::string& table, const TFieldDefs& defs, bool withParent)
{
    std::string sql = "INSERT INTO " + table + "(id";
    std::string vals = "?";
    if (withParent) {
        sql += ",parent";
        vals += ",?";
    }
    for (std::size_t i : PlainColumns(defs)) {
        sql += "," + Col(i);
        vals += ",?";
    }
    return sql + ") VALUES(" + vals + ")";
}

void InsertRow(Stmt& st, const TRow& row, const TFieldDefs& defs, const std::int64_t* parent)
{
    int k = 1;
    sqlite3_bind_int64(st.get(), k++, row.Id);
    if (parent)
        sqlite3_bind_int64(st.get(), k++, *parent);
    for (std::size_t i = 0; i < defs.size(); ++i) {
        if (defs[i].DataType != TFieldType::Nested)
            BindValue(st.get(), k++, row.Values[i]);
    }
    st.Run();
}

void InsertNestedRows(sqlite3* db, const std::string& path, const TFieldDefs& defs, const TRow& row,
                      std::map<int, std::unique_ptr<Stmt>>& stmts)
{
    int nested = 0;
    for (std::size_t p = 0; p < defs.size(); ++p) {
        if (defs[p].DataType != TFieldType::Nested)
            continue;
        const TClientDataSet& child = *row.Nested[nested++];
        auto& st = stmts[static_cast<int>(p)];
        if (!st)
            st = std::make_unique<Stmt>(
                db, InsertSql(NestedTableName(static_cast<int>(p)), defs[p].ChildDefs, true),
                kWriteError, path);
        for (const auto& c : child.Rows())
            InsertRow(*st, *c, defs[p].ChildDefs, &row.Id);
    }
}

void CreateSchema(sqlite3* db, const std::string& path, const TClientDataSet& ds)
{
    Exec(db,
         "CREATE TABLE riz_info(key TEXT PRIMARY KEY, value TEXT);"
         "CREATE TABLE riz_fields(tbl TEXT NOT NULL, pos INTEGER NOT NULL, name TEXT NOT NULL,"
         " type TEXT NOT NULL, size INTEGER NOT NULL, calc INTEGER NOT NULL, PRIMARY KEY(tbl, "
         "pos));",
         kWriteError, path);
    {
        Stmt info(db, "INSERT INTO riz_info VALUES(?, ?)", kWriteError, path);
        sqlite3_bind_text(info.get(), 1, "format", -1, SQLITE_STATIC);
        sqlite3_bind_text(info.get(), 2, kFormat, -1, SQLITE_STATIC);
        info.Run();
        sqlite3_bind_text(info.get(), 1, "table", -1, SQLITE_STATIC);
        sqlite3_bind_blob(info.get(), 2, ds.Name().data(), static_cast<int>(ds.Name().size()),
                          SQLITE_STATIC);
        info.Run();
    }
    Stmt field(db, "INSERT INTO riz_fields VALUES(?, ?, ?, ?, ?, ?)", kWriteError, path);
    auto addDefs = [&](const std::string& tbl, const TFieldDefs& defs) {
        for (std::size_t i = 0; i < defs.size(); ++i) {
            sqlite3_bind_text(field.get(), 1, tbl.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_int(field.get(), 2, static_cast<int>(i));
            sqlite3_bind_blob(field.get(), 3, defs[i].Name.data(),
                              static_cast<int>(defs[i].Name.size()), SQLITE_TRANSIENT);
            sqlite3_bind_text(field.get(), 4, FieldTypeName(defs[i].DataType), -1, SQLITE_STATIC);
            sqlite3_bind_int(field.get(), 5, defs[i].Size);
            sqlite3_bind_int(field.get(), 6, defs[i].InternalCalc ? 1 : 0);
            field.Run();
        }
    };
    const TFieldDefs& defs = ds.Defs();
    addDefs("", defs);
    std::string sql = "CREATE TABLE t(id INTEGER PRIMARY KEY";
    for (std::size_t i : PlainColumns(defs))
        sql += "," + Col(i);
    Exec(db, sql + ")", kWriteError, path);
    for (std::size_t p = 0; p < defs.size(); ++p) {
        if (defs[p].DataType != TFieldType::Nested)
            continue;
        for (const TFieldDef& c : defs[p].ChildDefs) {
            if (c.DataType == TFieldType::Nested)
                throw ETableFileError(kWriteError, path,
                                      "verschachtelte Tabellen in verschachtelten Tabellen");
        }
        // The nested field's name identifies its definitions.
        addDefs("/" + defs[p].Name, defs[p].ChildDefs);
        const std::string n = NestedTableName(static_cast<int>(p));
        std::string nsql = "CREATE TABLE " + n + "(id INTEGER PRIMARY KEY, parent INTEGER NOT NULL";
        for (std::size_t i : PlainColumns(defs[p].ChildDefs))
            nsql += "," + Col(i);
        Exec(db, nsql + "); CREATE INDEX " + n + "_parent ON " + n + "(parent)", kWriteError, path);
    }
}

TFieldDefs ReadDefs(sqlite3* db, const std::string& path)
{
    {
        Stmt fmt(db, "SELECT value FROM riz_info WHERE key = 'format'", kReadError, path);
        if (fmt.Step() != SQLITE_ROW ||
            std::strcmp(reinterpret_cast<const char*>(sqlite3_column_text(fmt.get(), 0)),
                        kFormat) != 0)
            throw ETableFileError(kReadError, path, "unbekanntes Dateiformat");
    }
    std::map<std::string, TFieldDefs> byTable;
    Stmt st(db, "SELECT tbl, name, type, size, calc FROM riz_fields ORDER BY tbl, pos", kReadError,
            path);
    while (st.Step() == SQLITE_ROW) {
        TFieldDef d;
        const char* tbl = reinterpret_cast<const char*>(sqlite3_column_text(st.get(), 0));
        const void* name = sqlite3_column_blob(st.get(), 1);
        d.Name.assign(static_cast<const char*>(name),
                      name ? static_cast<std::size_t>(sqlite3_column_bytes(st.get(), 1)) : 0);
        const char* type = reinterpret_cast<const char*>(sqlite3_column_text(st.get(), 2));
        if (!type || !FieldTypeFromName(type, d.DataType))
            throw ETableFileError(kReadError, path, "unbekannter Feldtyp");
        d.Size = sqlite3_column_int(st.get(), 3);
        d.InternalCalc = sqlite3_column_int(st.get(), 4) != 0;
        byTable[tbl ? tbl : ""].push_back(std::move(d));
    }
    TFieldDefs defs = byTable[""];
    if (defs.empty())
        throw ETableFileError(kReadError, path, "keine Felddefinitionen");
    for (TFieldDef& d : defs) {
        if (d.DataType == TFieldType::Nested)
            d.ChildDefs = byTable["/" + d.Name];
    }
    return defs;
}

void FsyncPath(const std::string& path, bool directory)
{
    const int fd = ::open(path.c_str(), (directory ? O_RDONLY | O_DIRECTORY : O_RDWR) | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

std::string FolderOf(const std::string& path)
{
    const std::filesystem::path p(path);
    return p.has_parent_path() ? p.parent_path().string() : std::string(".");
}

// The file a whole write builds before it is renamed over the table file. Its name starts
// with ".~" so that it never matches the "base.*" pattern of the table upgrade.
std::string TempPathFor(const std::string& path)
{
    const std::filesystem::path p(path);
    return (p.parent_path() / (".~" + p.filename().string() + ".tmp")).string();
}

} // namespace

ETableFileError::ETableFileError(int code, const std::string& path, const std::string& reason)
    : EZKError(code, 0, path + ": " + reason), m_path(path), m_reason(reason)
{}

TTableFile::TTableFile(std::string path) : m_path(std::move(path)) {}

TTableFile::~TTableFile()
{
    if (m_db)
        sqlite3_close_v2(m_db);
}

bool TTableFile::Exists(const std::string& path)
{
    struct stat st
    {
    };
    return ::stat(path.c_str(), &st) == 0;
}

bool TTableFile::ExistsNotEmpty(const std::string& path)
{
    struct stat st
    {
    };
    return ::stat(path.c_str(), &st) == 0 && st.st_size > 0;
}

TFieldDefs TTableFile::ReadFieldDefs(const std::string& path)
{
    if (!Exists(path))
        throw ETableFileError(kReadError, path, "die Datei fehlt");
    Db db;
    OpenDb(db, path,
           ::access(path.c_str(), W_OK) == 0 ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY,
           kReadError);
    return ReadDefs(db.h, path);
}

void TTableFile::Load(const std::string& path, TClientDataSet& ds)
{
    struct stat info
    {
    };
    if (::stat(path.c_str(), &info) != 0)
        throw ETableFileError(kReadError, path, std::strerror(errno));
    if (!S_ISREG(info.st_mode))
        throw ETableFileError(kReadError, path, "keine Datei");
    Db db;
    // Read-write, so that SQLite can take in the log a crashed write left behind.
    if (::access(path.c_str(), W_OK) == 0)
        OpenDb(db, path, SQLITE_OPEN_READWRITE, kReadError);
    else
        OpenDb(db, path, SQLITE_OPEN_READONLY, kReadError);
    Exec(db.h, "BEGIN", kReadError, path);

    TFieldDefs defs = ReadDefs(db.h, path);
    // The kept order of nested rows is the program's, not the file's.
    for (TFieldDef& d : defs) {
        for (const TFieldDef& own : ds.FieldDefs) {
            if (own.DataType == TFieldType::Nested && own.Name == d.Name)
                d.ChildIndexField = own.ChildIndexField;
        }
    }
    const std::vector<std::size_t> cols = PlainColumns(defs);
    std::vector<std::unique_ptr<TRow>> rows;
    std::int64_t maxId = 0;
    {
        // The greatest id bounds the row count and costs one look into the index.
        Stmt count(db.h, "SELECT max(id) FROM t", kReadError, path);
        if (count.Step() == SQLITE_ROW)
            rows.reserve(static_cast<std::size_t>(
                std::max<sqlite3_int64>(0, sqlite3_column_int64(count.get(), 0))));
    }
    {
        std::string sql = "SELECT id";
        for (std::size_t i : cols)
            sql += "," + Col(i);
        Stmt st(db.h, sql + " FROM t ORDER BY id", kReadError, path);
        while (st.Step() == SQLITE_ROW) {
            auto row = std::make_unique<TRow>();
            row->Id = sqlite3_column_int64(st.get(), 0);
            maxId = std::max(maxId, row->Id);
            row->Values.reserve(defs.size());
            int k = 1;
            for (const TFieldDef& d : defs) {
                if (d.DataType == TFieldType::Nested)
                    row->Values.emplace_back();
                else
                    row->Values.push_back(ColumnValue(st.get(), k++, d.DataType));
            }
            rows.push_back(std::move(row));
        }
    }

    bool hasNested = false;
    for (const TFieldDef& d : defs)
        hasNested |= d.DataType == TFieldType::Nested;
    if (hasNested) {
        std::unordered_map<std::int64_t, TRow*> byId;
        for (auto& row : rows) {
            byId.emplace(row->Id, row.get());
            for (const TFieldDef& d : defs) {
                if (d.DataType != TFieldType::Nested)
                    continue;
                auto child = std::make_unique<TClientDataSet>(d.Name);
                child->FieldDefs = d.ChildDefs;
                child->SetIndexFieldName(d.ChildIndexField);
                child->CreateDataSet();
                row->Nested.push_back(std::move(child));
            }
        }
        int nested = 0;
        for (std::size_t p = 0; p < defs.size(); ++p) {
            if (defs[p].DataType != TFieldType::Nested)
                continue;
            const TFieldDefs& cdefs = defs[p].ChildDefs;
            const std::vector<std::size_t> ccols = PlainColumns(cdefs);
            std::string sql = "SELECT id, parent";
            for (std::size_t i : ccols)
                sql += "," + Col(i);
            Stmt st(db.h, sql + " FROM " + NestedTableName(static_cast<int>(p)) + " ORDER BY id",
                    kReadError, path);
            std::unordered_map<TClientDataSet*, std::vector<std::unique_ptr<TRow>>> children;
            while (st.Step() == SQLITE_ROW) {
                auto row = std::make_unique<TRow>();
                row->Id = sqlite3_column_int64(st.get(), 0);
                maxId = std::max(maxId, row->Id);
                const auto it = byId.find(sqlite3_column_int64(st.get(), 1));
                if (it == byId.end())
                    continue; // an orphan cannot be shown anywhere
                row->Values.resize(cdefs.size());
                int k = 2;
                for (std::size_t i : ccols)
                    row->Values[i] = ColumnValue(st.get(), k++, cdefs[i].DataType);
                children[it->second->Nested[nested].get()].push_back(std::move(row));
            }
            for (auto& [child, crows] : children)
                child->AdoptLoadedRows(std::move(crows), 0);
            ++nested;
        }
    }
    Exec(db.h, "COMMIT", kReadError, path);

    // Everything is read; only now does the table give up its old content.
    ds.FieldDefs = defs;
    ds.CreateDataSet();
    ds.AdoptLoadedRows(std::move(rows), maxId);
    ds.m_boundFile = path;
    ds.m_file = std::make_unique<TTableFile>(path);
}

void TTableFile::WriteAll(const std::string& path, const TClientDataSet& ds)
{
    const std::string temp = TempPathFor(path);
    std::filesystem::remove(temp);
    {
        Db db;
        OpenDb(db, temp, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, kWriteError);
        try {
            // The new file is invisible until it is renamed; a journal would only cost time.
            Exec(db.h, "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; BEGIN", kWriteError, path);
            CreateSchema(db.h, path, ds);
            Stmt ins(db.h, InsertSql("t", ds.Defs(), false), kWriteError, path);
            std::map<int, std::unique_ptr<Stmt>> nestedStmts;
            for (const auto& row : ds.Rows()) {
                InsertRow(ins, *row, ds.Defs(), nullptr);
                if (!row->Nested.empty())
                    InsertNestedRows(db.h, path, ds.Defs(), *row, nestedStmts);
            }
            nestedStmts.clear();
            Exec(db.h, "COMMIT", kWriteError, path);
        } catch (...) {
            sqlite3_close_v2(db.h);
            db.h = nullptr;
            std::filesystem::remove(temp);
            throw;
        }
    }
    ::chmod(temp.c_str(), 0600);
    FsyncPath(temp, false);

    // A crashed change write may have left a log or journal for the old file; it must not be
    // applied to the new one. Opening the old file folds it in (or rolls it back), closing
    // it removes it; whatever remains is dropped.
    const std::string sides[] = {path + "-wal", path + "-journal", path + "-shm"};
    if (ExistsNotEmpty(sides[0]) || ExistsNotEmpty(sides[1])) {
        Db old;
        if (sqlite3_open_v2(path.c_str(), &old.h, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK)
            sqlite3_exec(old.h, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
    }
    for (const std::string& side : sides)
        std::filesystem::remove(side);

    if (::rename(temp.c_str(), path.c_str()) != 0) {
        const std::string reason = std::strerror(errno);
        std::filesystem::remove(temp);
        throw ETableFileError(kWriteError, path, reason);
    }
    FsyncPath(FolderOf(path), true);
}

void TTableFile::Open()
{
    if (m_db)
        return;
    if (!Exists(m_path))
        throw ETableFileError(kWriteError, m_path, "die Datei fehlt");
    Db db;
    OpenDb(db, m_path, SQLITE_OPEN_READWRITE, kWriteError);
    // Write-ahead log with full syncing: a commit is one append to the log and one sync, so
    // its cost follows the change; a write that is cut off leaves the log's earlier commits,
    // and a finished one survives a power cut. The log and its index ("-wal", "-shm") live
    // beside the file while it is open and are folded back when the last connection closes.
    Exec(db.h, "PRAGMA journal_mode=WAL; PRAGMA synchronous=FULL", kWriteError, m_path);
    m_db = db.h;
    db.h = nullptr;
}

void TTableFile::WriteChanges(TClientDataSet& ds)
{
    Open();
    struct State
    {
        bool inFile = false;
        bool exists = false;
        bool modified = false;
        TRow* row = nullptr;
    };
    std::unordered_map<std::int64_t, State> states;
    std::vector<std::int64_t> order;
    std::set<TRow*> nestedDirty;
    for (const auto& e : ds.m_log) {
        if (e.Owner != &ds) {
            nestedDirty.insert(e.Owner->m_parentRow);
            continue;
        }
        auto [it, fresh] = states.try_emplace(e.Row->Id);
        State& s = it->second;
        if (fresh) {
            s.inFile = e.Kind != TClientDataSet::TChange::Inserted;
            order.push_back(e.Row->Id);
        }
        s.exists = e.Kind != TClientDataSet::TChange::Deleted;
        s.modified |= e.Kind == TClientDataSet::TChange::Modified;
        s.row = e.Row;
    }

    const TFieldDefs& defs = ds.Defs();
    std::vector<int> nestedPos;
    for (std::size_t p = 0; p < defs.size(); ++p) {
        if (defs[p].DataType == TFieldType::Nested)
            nestedPos.push_back(static_cast<int>(p));
    }

    Exec(m_db, "BEGIN IMMEDIATE", kWriteError, m_path);
    try {
        std::unique_ptr<Stmt> ins, upd, del;
        std::map<int, std::unique_ptr<Stmt>> nestedIns, nestedDel;
        auto deleteNested = [&](std::int64_t parent) {
            for (int p : nestedPos) {
                auto& st = nestedDel[p];
                if (!st)
                    st = std::make_unique<Stmt>(
                        m_db, "DELETE FROM " + NestedTableName(p) + " WHERE parent = ?",
                        kWriteError, m_path);
                sqlite3_bind_int64(st->get(), 1, parent);
                st->Run();
            }
        };
        for (std::int64_t id : order) {
            const State& s = states[id];
            if (s.inFile && !s.exists) {
                if (!del)
                    del = std::make_unique<Stmt>(m_db, "DELETE FROM t WHERE id = ?", kWriteError,
                                                 m_path);
                sqlite3_bind_int64(del->get(), 1, id);
                del->Run();
                deleteNested(id);
            } else if (!s.inFile && s.exists) {
                if (!ins)
                    ins = std::make_unique<Stmt>(m_db, InsertSql("t", defs, false), kWriteError,
                                                 m_path);
                InsertRow(*ins, *s.row, defs, nullptr);
                if (!nestedPos.empty())
                    InsertNestedRows(m_db, m_path, defs, *s.row, nestedIns);
            } else if (s.inFile && s.exists && s.modified) {
                if (!upd) {
                    std::string sql = "UPDATE t SET ";
                    bool first = true;
                    for (std::size_t i : PlainColumns(defs)) {
                        sql += (first ? "" : ",") + Col(i) + " = ?";
                        first = false;
                    }
                    upd = std::make_unique<Stmt>(m_db, sql + " WHERE id = ?", kWriteError, m_path);
                }
                int k = 1;
                for (std::size_t i : PlainColumns(defs))
                    BindValue(upd->get(), k++, s.row->Values[i]);
                sqlite3_bind_int64(upd->get(), k, id);
                upd->Run();
            }
        }
        // Nested tables of rows that were in the file and still are: written anew per row.
        for (TRow* parent : nestedDirty) {
            const auto it = states.find(parent->Id);
            if (it != states.end() && (!it->second.inFile || !it->second.exists))
                continue;
            deleteNested(parent->Id);
            InsertNestedRows(m_db, m_path, defs, *parent, nestedIns);
        }
        ins.reset();
        upd.reset();
        del.reset();
        nestedIns.clear();
        nestedDel.clear();
        Exec(m_db, "COMMIT", kWriteError, m_path);
    } catch (...) {
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

} // namespace riz
