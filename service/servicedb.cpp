#include "service/servicedb.h"

#include <sqlite3.h>

namespace riz::service {
namespace {

// Amounts of credit are tenths of a credit; date-times are days since 1899-12-30, local time.
const char* const kSchema = R"SQL(
CREATE TABLE IF NOT EXISTS customers (
  id INTEGER PRIMARY KEY,
  email TEXT NOT NULL UNIQUE COLLATE NOCASE,
  password TEXT NOT NULL,
  gender TEXT NOT NULL DEFAULT '', first_name TEXT NOT NULL DEFAULT '',
  last_name TEXT NOT NULL DEFAULT '', home_phone TEXT NOT NULL DEFAULT '',
  work_phone TEXT NOT NULL DEFAULT '', cell_phone TEXT NOT NULL DEFAULT '',
  fax TEXT NOT NULL DEFAULT '', birthdate REAL NOT NULL DEFAULT 0,
  home_country_code TEXT NOT NULL DEFAULT '', language_code TEXT NOT NULL DEFAULT '',
  reseller_id INTEGER NOT NULL DEFAULT 0, bill_address_nick_name TEXT NOT NULL DEFAULT '',
  confirmed INTEGER NOT NULL DEFAULT 0, reg_code TEXT NOT NULL,
  credits INTEGER NOT NULL DEFAULT 0,
  welcome_code TEXT NOT NULL DEFAULT '', welcome_sent INTEGER NOT NULL DEFAULT 0,
  welcome_sent_to TEXT NOT NULL DEFAULT '', welcome_redeemed INTEGER NOT NULL DEFAULT 0,
  free_day INTEGER NOT NULL DEFAULT 0, free_used INTEGER NOT NULL DEFAULT 0,
  remind_birthdays INTEGER NOT NULL DEFAULT 1, remind_with_sms INTEGER NOT NULL DEFAULT 0,
  remind_with_email INTEGER NOT NULL DEFAULT 1, remind_birthday_with_sms INTEGER NOT NULL DEFAULT 0,
  remind_birthday_with_email INTEGER NOT NULL DEFAULT 1,
  recommended_by INTEGER, recommend_rewarded INTEGER NOT NULL DEFAULT 0,
  created REAL NOT NULL);
CREATE TABLE IF NOT EXISTS addresses (
  customer_id INTEGER NOT NULL, pos INTEGER NOT NULL, nick_name TEXT NOT NULL,
  address1 TEXT, address2 TEXT, city TEXT, state TEXT, postal_code TEXT, country_code TEXT,
  norm_city_name TEXT, norm_quarter_name TEXT);
CREATE TABLE IF NOT EXISTS payments (
  customer_id INTEGER NOT NULL, pos INTEGER NOT NULL, nick_name TEXT NOT NULL,
  payment_type TEXT, cc_type TEXT, cc_name_on_card TEXT, cc_number TEXT,
  cc_exp_month TEXT, cc_exp_year TEXT, bez_account_owner TEXT, bez_account_number TEXT,
  bez_routing_number TEXT, bez_bank_name TEXT);
CREATE TABLE IF NOT EXISTS outbox (
  id INTEGER PRIMARY KEY, created REAL NOT NULL, recipient TEXT NOT NULL,
  subject TEXT NOT NULL, body TEXT NOT NULL, kind TEXT NOT NULL, code TEXT NOT NULL DEFAULT '');
CREATE TABLE IF NOT EXISTS phone_inbox (
  id INTEGER PRIMARY KEY, delivered REAL NOT NULL, number TEXT NOT NULL, sender TEXT NOT NULL,
  text TEXT NOT NULL, kind TEXT NOT NULL, queue_id INTEGER);
CREATE INDEX IF NOT EXISTS phone_inbox_number ON phone_inbox(number);
CREATE TABLE IF NOT EXISTS messages (
  queue_id INTEGER PRIMARY KEY, customer_id INTEGER NOT NULL, next_queue_id INTEGER,
  text TEXT NOT NULL, sender TEXT NOT NULL, receiver TEXT NOT NULL, sms_type TEXT NOT NULL,
  tree TEXT NOT NULL DEFAULT '', sent_date REAL NOT NULL, send_at REAL NOT NULL,
  delivered INTEGER NOT NULL DEFAULT 0, option_id INTEGER NOT NULL DEFAULT 0,
  logo_type TEXT NOT NULL DEFAULT '', free INTEGER NOT NULL DEFAULT 0,
  charged INTEGER NOT NULL DEFAULT 0, deleted INTEGER NOT NULL DEFAULT 0);
CREATE INDEX IF NOT EXISTS messages_customer ON messages(customer_id);
CREATE INDEX IF NOT EXISTS messages_due ON messages(delivered, send_at);
CREATE TABLE IF NOT EXISTS credit_changes (
  id INTEGER PRIMARY KEY, customer_id INTEGER NOT NULL, change INTEGER NOT NULL,
  reason TEXT NOT NULL, date REAL NOT NULL);
CREATE INDEX IF NOT EXISTS credit_changes_customer ON credit_changes(customer_id);
CREATE TABLE IF NOT EXISTS address_book (
  customer_id INTEGER NOT NULL, pos INTEGER NOT NULL, name TEXT, email_address TEXT,
  home_phone TEXT, office_phone TEXT, cell_phone TEXT, birthday TEXT, distribution_list TEXT);
CREATE TABLE IF NOT EXISTS reminders (
  customer_id INTEGER NOT NULL, pos INTEGER NOT NULL, datetime REAL NOT NULL,
  description TEXT NOT NULL, remind_when REAL NOT NULL, sent INTEGER NOT NULL DEFAULT 0);
CREATE TABLE IF NOT EXISTS birthday_reminders_sent (
  customer_id INTEGER NOT NULL, name TEXT NOT NULL, day INTEGER NOT NULL, kind TEXT NOT NULL,
  UNIQUE(customer_id, name, day, kind));
CREATE TABLE IF NOT EXISTS neighborhoods (
  postal_code TEXT NOT NULL, city_name TEXT NOT NULL, norm_city_name TEXT NOT NULL,
  quarter_name TEXT NOT NULL, norm_quarter_name TEXT NOT NULL);
CREATE TABLE IF NOT EXISTS logo_categories (
  id INTEGER PRIMARY KEY, type TEXT NOT NULL, name TEXT NOT NULL, icon BLOB NOT NULL);
CREATE TABLE IF NOT EXISTS logos (
  id INTEGER PRIMARY KEY, category INTEGER NOT NULL, type TEXT NOT NULL, name TEXT NOT NULL,
  data BLOB NOT NULL);
CREATE TABLE IF NOT EXISTS text_categories (id INTEGER PRIMARY KEY, name TEXT NOT NULL);
CREATE TABLE IF NOT EXISTS texts (
  id INTEGER PRIMARY KEY, category INTEGER NOT NULL, data TEXT NOT NULL);
CREATE TABLE IF NOT EXISTS code_pool (
  code TEXT PRIMARY KEY COLLATE NOCASE, option TEXT NOT NULL, used_by INTEGER, used_at REAL);
CREATE TABLE IF NOT EXISTS numbers_0190 (credits INTEGER NOT NULL, number TEXT NOT NULL);
CREATE TABLE IF NOT EXISTS banners (
  id INTEGER PRIMARY KEY, name TEXT NOT NULL, data BLOB NOT NULL, file_type TEXT NOT NULL,
  link TEXT NOT NULL, wait_time INTEGER NOT NULL);
CREATE TABLE IF NOT EXISTS friends (
  id INTEGER PRIMARY KEY, recommender INTEGER NOT NULL, name TEXT NOT NULL,
  email TEXT NOT NULL COLLATE NOCASE, created REAL NOT NULL);
CREATE TABLE IF NOT EXISTS answered_requests (
  key TEXT PRIMARY KEY, at REAL NOT NULL, answer TEXT NOT NULL);
CREATE TABLE IF NOT EXISTS request_log (
  id INTEGER PRIMARY KEY, at REAL NOT NULL, name TEXT NOT NULL, email TEXT NOT NULL,
  rslt INTEGER NOT NULL, message TEXT NOT NULL, error TEXT NOT NULL DEFAULT '');
)SQL";

} // namespace

TStatement::TStatement(sqlite3* db, const std::string& sql) : m_db(db)
{
    if (sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &m_stmt, nullptr) !=
        SQLITE_OK)
        throw EServiceDbError(std::string("prepare: ") + sqlite3_errmsg(db) + " in " + sql);
}

TStatement::~TStatement()
{
    sqlite3_finalize(m_stmt);
}

TStatement& TStatement::Bind(int index, std::int64_t value)
{
    sqlite3_bind_int64(m_stmt, index, value);
    return *this;
}

TStatement& TStatement::Bind(int index, double value)
{
    sqlite3_bind_double(m_stmt, index, value);
    return *this;
}

TStatement& TStatement::Bind(int index, const std::string& value)
{
    sqlite3_bind_text(m_stmt, index, value.data(), static_cast<int>(value.size()),
                      SQLITE_TRANSIENT);
    return *this;
}

TStatement& TStatement::BindBlob(int index, const std::string& bytes)
{
    sqlite3_bind_blob(m_stmt, index, bytes.data(), static_cast<int>(bytes.size()),
                      SQLITE_TRANSIENT);
    return *this;
}

TStatement& TStatement::BindNull(int index)
{
    sqlite3_bind_null(m_stmt, index);
    return *this;
}

bool TStatement::Step()
{
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    throw EServiceDbError(std::string("step: ") + sqlite3_errmsg(m_db));
}

void TStatement::Run()
{
    while (Step()) {
    }
}

std::int64_t TStatement::Int64(int column) const
{
    return sqlite3_column_int64(m_stmt, column);
}

double TStatement::Double(int column) const
{
    return sqlite3_column_double(m_stmt, column);
}

std::string TStatement::Text(int column) const
{
    const void* data = sqlite3_column_blob(m_stmt, column);
    const int size = sqlite3_column_bytes(m_stmt, column);
    return data ? std::string(static_cast<const char*>(data), static_cast<size_t>(size))
                : std::string();
}

bool TStatement::IsNull(int column) const
{
    return sqlite3_column_type(m_stmt, column) == SQLITE_NULL;
}

TServiceDb::TServiceDb(const std::string& path)
{
    if (sqlite3_open_v2(path.c_str(), &m_db,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                        nullptr) != SQLITE_OK) {
        const std::string msg = m_db ? sqlite3_errmsg(m_db) : "out of memory";
        sqlite3_close(m_db);
        m_db = nullptr;
        throw EServiceDbError("cannot open database " + path + ": " + msg);
    }
    sqlite3_busy_timeout(m_db, 5000);
    Exec("PRAGMA journal_mode=WAL");
    Exec("PRAGMA synchronous=NORMAL");
    Exec("PRAGMA foreign_keys=ON");
    CreateSchema();
}

TServiceDb::~TServiceDb()
{
    sqlite3_close(m_db);
}

void TServiceDb::Exec(const std::string& sql)
{
    char* err = nullptr;
    if (sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
        std::string msg = err ? err : "unknown error";
        sqlite3_free(err);
        throw EServiceDbError("exec: " + msg);
    }
}

void TServiceDb::Rollback()
{
    sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
}

std::int64_t TServiceDb::LastInsertId() const
{
    return sqlite3_last_insert_rowid(m_db);
}

int TServiceDb::Changes() const
{
    return sqlite3_changes(m_db);
}

std::optional<std::int64_t> TServiceDb::ScalarInt(const std::string& sql)
{
    TStatement st(m_db, sql);
    if (st.Step() && !st.IsNull(0))
        return st.Int64(0);
    return std::nullopt;
}

void TServiceDb::CreateSchema()
{
    Exec(kSchema);
}

} // namespace riz::service
