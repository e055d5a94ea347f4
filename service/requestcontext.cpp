#include "service/requestcontext.h"

#include <mutex>
#include <random>

namespace riz::service {

std::string TRequestContext::TextOr(const std::string& name, const std::string& fallback) const
{
    return Request.HasParam(name) ? Request.GetParam(name).AsString() : fallback;
}

int TRequestContext::IntOr(const std::string& name, int fallback) const
{
    return Request.HasParam(name) ? Request.GetParam(name).AsInt() : fallback;
}

namespace {

const char* const kCustomerColumns = "id, email, password, confirmed, credits, cell_phone";

void ReadCustomer(TStatement& st, TCustomer& out)
{
    out.Id = st.Int64(0);
    out.Email = st.Text(1);
    out.Password = st.Text(2);
    out.Confirmed = st.Int(3) != 0;
    out.Credits = st.Int(4);
    out.CellPhone = st.Text(5);
}

} // namespace

bool LoadCustomerByEmail(TServiceDb& db, const std::string& email, TCustomer& out)
{
    auto st = db.Prepare(std::string("SELECT ") + kCustomerColumns +
                         " FROM customers WHERE email = ?1 COLLATE NOCASE");
    st.Bind(1, email);
    if (!st.Step())
        return false;
    ReadCustomer(st, out);
    return true;
}

bool LoadCustomerById(TServiceDb& db, std::int64_t id, TCustomer& out)
{
    auto st =
        db.Prepare(std::string("SELECT ") + kCustomerColumns + " FROM customers WHERE id = ?1");
    st.Bind(1, id);
    if (!st.Step())
        return false;
    ReadCustomer(st, out);
    return true;
}

void ChangeCredits(TServiceDb& db, std::int64_t customerId, int change, const std::string& reason,
                   double now)
{
    db.Prepare("UPDATE customers SET credits = credits + ?1 WHERE id = ?2")
        .Bind(1, change)
        .Bind(2, customerId)
        .Run();
    db.Prepare("INSERT INTO credit_changes(customer_id, change, reason, date) VALUES(?1,?2,?3,?4)")
        .Bind(1, customerId)
        .Bind(2, change)
        .Bind(3, reason)
        .Bind(4, now)
        .Run();
}

void PostMail(TServiceDb& db, double now, const std::string& recipient, const std::string& subject,
              const std::string& body, const std::string& kind, const std::string& code)
{
    db.Prepare("INSERT INTO outbox(created, recipient, subject, body, kind, code) "
               "VALUES(?1,?2,?3,?4,?5,?6)")
        .Bind(1, now)
        .Bind(2, recipient)
        .Bind(3, subject)
        .Bind(4, body)
        .Bind(5, kind)
        .Bind(6, code)
        .Run();
}

void DeliverToPhone(TServiceDb& db, double now, const std::string& number,
                    const std::string& sender, const std::string& text, const std::string& kind,
                    std::int64_t queueId)
{
    auto st = db.Prepare("INSERT INTO phone_inbox(delivered, number, sender, text, kind, queue_id) "
                         "VALUES(?1,?2,?3,?4,?5,?6)");
    st.Bind(1, now).Bind(2, number).Bind(3, sender).Bind(4, text).Bind(5, kind);
    if (queueId > 0)
        st.Bind(6, queueId);
    else
        st.BindNull(6);
    st.Run();
}

TCSTable MakeTable(const std::vector<std::string>& columns)
{
    TCSTable table;
    table.SetColumnCount(static_cast<std::int32_t>(columns.size()));
    for (size_t i = 0; i < columns.size(); ++i)
        table.ColumnName(static_cast<std::int32_t>(i)) = columns[i];
    return table;
}

std::string CellText(TCSTable& table, const std::string& column, const std::string& fallback)
{
    if (table.ColumnIndex(column) < 0)
        return fallback;
    return table.CurrentCell(column).AsString();
}

std::string RandomCode(int groups, int groupLength, bool digitsOnly)
{
    static std::mutex mutex;
    static std::mt19937_64 engine{std::random_device{}()};
    static const std::string kChars = "ABCDEFGHJKLMNPQRSTUVWXYZ23456789";
    static const std::string kDigits = "0123456789";
    const std::string& alphabet = digitsOnly ? kDigits : kChars;
    std::lock_guard lock(mutex);
    std::uniform_int_distribution<size_t> pick(0, alphabet.size() - 1);
    std::string code;
    for (int g = 0; g < groups; ++g) {
        if (g > 0)
            code += '-';
        for (int i = 0; i < groupLength; ++i)
            code += alphabet[pick(engine)];
    }
    return code;
}

} // namespace riz::service
