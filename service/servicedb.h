#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace riz::service {

class EServiceDbError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// One prepared statement; binds by position (1-based) and steps through rows.
class TStatement final
{
public:
    TStatement(sqlite3* db, const std::string& sql);
    ~TStatement();
    TStatement(const TStatement&) = delete;
    TStatement& operator=(const TStatement&) = delete;

    TStatement& Bind(int index, std::int64_t value);
    TStatement& Bind(int index, int value) { return Bind(index, static_cast<std::int64_t>(value)); }
    TStatement& Bind(int index, double value);
    TStatement& Bind(int index, const std::string& value);
    TStatement& Bind(int index, const char* value) { return Bind(index, std::string(value)); }
    TStatement& BindBlob(int index, const std::string& bytes);
    TStatement& BindNull(int index);

    // Advances to the next row; false when there is none.
    bool Step();
    // Runs a statement that returns no rows.
    void Run();

    std::int64_t Int64(int column) const;
    int Int(int column) const { return static_cast<int>(Int64(column)); }
    double Double(int column) const;
    std::string Text(int column) const;
    bool IsNull(int column) const;

private:
    sqlite3* m_db;
    sqlite3_stmt* m_stmt = nullptr;
};

// The service's database: one connection, used under the core's lock.
class TServiceDb final
{
public:
    explicit TServiceDb(const std::string& path);
    ~TServiceDb();
    TServiceDb(const TServiceDb&) = delete;
    TServiceDb& operator=(const TServiceDb&) = delete;

    void Exec(const std::string& sql);
    TStatement Prepare(const std::string& sql) { return TStatement(m_db, sql); }
    std::int64_t LastInsertId() const;
    // Rows changed by the last statement.
    int Changes() const;
    // First column of the first row, or nothing.
    std::optional<std::int64_t> ScalarInt(const std::string& sql);

    void Begin() { Exec("BEGIN IMMEDIATE"); }
    void Commit() { Exec("COMMIT"); }
    void Rollback();

    sqlite3* Handle() const { return m_db; }

private:
    void CreateSchema();

    sqlite3* m_db = nullptr;
};

// Commits on Commit(), rolls back when left without it (an exception on the way).
class TTransaction final
{
public:
    explicit TTransaction(TServiceDb& db) : m_db(db) { m_db.Begin(); }
    ~TTransaction()
    {
        if (!m_done)
            m_db.Rollback();
    }
    void Commit()
    {
        m_db.Commit();
        m_done = true;
    }

private:
    TServiceDb& m_db;
    bool m_done = false;
};

} // namespace riz::service
