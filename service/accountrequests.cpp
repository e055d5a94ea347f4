#include "service/requestcontext.h"

#include "protocol/cserror.h"

#include <algorithm>

namespace riz::service {
namespace {

const std::vector<std::string> kAddressColumns = {
    "nick_name",    "address1",       "address2",         "city", "state", "postal_code",
    "country_code", "norm_city_name", "norm_quarter_name"};
const std::vector<std::string> kPaymentColumns = {
    "nick_name",          "payment_type",       "cc_type",      "cc_name_on_card",
    "cc_number",          "cc_exp_month",       "cc_exp_year",  "bez_account_owner",
    "bez_account_number", "bez_routing_number", "bez_bank_name"};

bool LooksLikeEmail(const std::string& email)
{
    const size_t at = email.find('@');
    return !email.empty() && email.size() <= 200 && at != std::string::npos && at > 0 &&
           email.find('@', at + 1) == std::string::npos &&
           email.find('.', at + 2) != std::string::npos && email.back() != '.';
}

// A birth date cell: empty or a date-time; the stored form is the date-time, 0 for none.
double ReadDateCell(TCSTable& table, const std::string& column)
{
    if (table.ColumnIndex(column) < 0)
        return 0;
    const std::string& value = table.CurrentCell(column).Value;
    if (value.empty())
        return 0;
    return table.CurrentCell(column).AsDateTime();
}

TCSParam DateCell(double value)
{
    TCSParam cell;
    if (value != 0)
        cell.SetDateTime(value);
    return cell;
}

void SendRegistrationMail(TServiceDb& db, double now, const std::string& email,
                          const std::string& code)
{
    PostMail(db, now, email, "Ihr Registrierungscode fuer RIZ Avivaze",
             "Willkommen bei RIZ Avivaze!\n\nBitte geben Sie diesen Registrierungscode im "
             "Programm ein, um Ihre Anmeldung zu bestaetigen:\n\n" +
                 code + "\n",
             "registration", code);
}

// The nick names of a single-cell table (column "nick_name"), from the first row.
std::vector<std::string> NickNames(const TCSTable& source)
{
    TCSTable table = source;
    std::vector<std::string> names;
    table.First();
    for (int i = 0; i < table.RowCount(); ++i) {
        names.push_back(table.CurrentCell("nick_name").AsString());
        table.Next();
    }
    return names;
}

bool AddressExists(TServiceDb& db, std::int64_t customer, const std::string& nick)
{
    auto st = db.Prepare("SELECT 1 FROM addresses WHERE customer_id = ?1 AND nick_name = ?2 "
                         "COLLATE NOCASE");
    st.Bind(1, customer).Bind(2, nick);
    return st.Step();
}

bool PaymentExists(TServiceDb& db, std::int64_t customer, const std::string& nick)
{
    auto st = db.Prepare("SELECT 1 FROM payments WHERE customer_id = ?1 AND nick_name = ?2 "
                         "COLLATE NOCASE");
    st.Bind(1, customer).Bind(2, nick);
    return st.Step();
}

int NextPos(TServiceDb& db, const char* table, std::int64_t customer)
{
    auto st = db.Prepare(std::string("SELECT COALESCE(MAX(pos), -1) + 1 FROM ") + table +
                         " WHERE customer_id = ?1");
    st.Bind(1, customer);
    st.Step();
    return st.Int(0);
}

// Deletes the named rows; returns how many went.
void DeleteByNick(TServiceDb& db, const char* table, std::int64_t customer,
                  const std::vector<std::string>& nicks)
{
    for (const auto& nick : nicks)
        db.Prepare(std::string("DELETE FROM ") + table +
                   " WHERE customer_id = ?1 AND nick_name = ?2 COLLATE NOCASE")
            .Bind(1, customer)
            .Bind(2, nick)
            .Run();
}

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), ::tolower);
    return text;
}

// Whether the rows of an address or payment table can be added once the entries named in
// replaced are gone: false when a nick name is taken by another entry or repeats within the
// table. Checked before anything is deleted, so that a refused replacement keeps the old entry.
bool NickNamesFree(TServiceDb& db, const char* table, std::int64_t customer, TCSTable rows,
                   const std::vector<std::string>& replaced = {})
{
    std::vector<std::string> seen;
    std::vector<std::string> going;
    for (const auto& nick : replaced)
        going.push_back(Lower(nick));
    rows.First();
    for (int r = 0; r < rows.RowCount(); ++r, rows.Next()) {
        std::string nick = rows.CurrentCell("nick_name").AsString();
        const std::string lower = Lower(nick);
        if (std::find(seen.begin(), seen.end(), lower) != seen.end())
            return false;
        seen.push_back(lower);
        if (std::find(going.begin(), going.end(), lower) != going.end())
            continue;
        const bool exists = std::string(table) == "addresses" ? AddressExists(db, customer, nick)
                                                              : PaymentExists(db, customer, nick);
        if (exists)
            return false;
    }
    return true;
}

// Adds the rows of an address or payment table; false (nothing added) when a nick name is
// already taken or repeats within the table.
bool InsertRows(TServiceDb& db, const char* table, const std::vector<std::string>& columns,
                std::int64_t customer, TCSTable rows)
{
    if (!NickNamesFree(db, table, customer, rows))
        return false;
    std::string sql = std::string("INSERT INTO ") + table + "(customer_id, pos";
    for (const auto& c : columns)
        sql += ", " + c;
    sql += ") VALUES(?1, ?2";
    for (size_t i = 0; i < columns.size(); ++i)
        sql += ", ?" + std::to_string(i + 3);
    sql += ")";
    rows.First();
    for (int r = 0; r < rows.RowCount(); ++r, rows.Next()) {
        auto st = db.Prepare(sql);
        st.Bind(1, customer).Bind(2, NextPos(db, table, customer));
        for (size_t i = 0; i < columns.size(); ++i)
            st.Bind(static_cast<int>(i + 3), CellText(rows, columns[i]));
        st.Run();
    }
    return true;
}

TCSTable SelectRows(TServiceDb& db, const char* table, const std::vector<std::string>& columns,
                    std::int64_t customer, const std::string& onlyNick = {}, bool byNick = false)
{
    TCSTable out = MakeTable(columns);
    std::string sql = "SELECT ";
    for (size_t i = 0; i < columns.size(); ++i)
        sql += (i ? ", " : "") + columns[i];
    sql += std::string(" FROM ") + table + " WHERE customer_id = ?1";
    if (byNick)
        sql += " AND nick_name = ?2 COLLATE NOCASE";
    sql += " ORDER BY pos";
    auto st = db.Prepare(sql);
    st.Bind(1, customer);
    if (byNick)
        st.Bind(2, onlyNick);
    while (st.Step()) {
        out.AddRow();
        for (size_t i = 0; i < columns.size(); ++i)
            out.CurrentCell(static_cast<std::int32_t>(i)).SetString(st.Text(static_cast<int>(i)));
    }
    return out;
}

} // namespace

int HandleAddCustomer(TRequestContext& ctx)
{
    TCSTable data = ctx.Table("custdata");
    if (data.RowCount() < 1)
        return rslt::kInvalidCustomerData;
    data.First();
    const std::string email = data.CurrentCell("email_address").AsString();
    const std::string password = data.CurrentCell("password").AsString();
    if (!LooksLikeEmail(email) || password.empty())
        return rslt::kInvalidCustomerData;
    TCustomer existing;
    if (LoadCustomerByEmail(ctx.Db, email, existing))
        return rslt::kEmailTaken;

    const std::string code = RandomCode(5, 5);
    auto st = ctx.Db.Prepare(
        "INSERT INTO customers(email, password, gender, first_name, last_name, home_phone, "
        "work_phone, cell_phone, fax, birthdate, home_country_code, language_code, reseller_id, "
        "reg_code, created) VALUES(?1,?2,?3,?4,?5,?6,?7,?8,?9,?10,?11,?12,?13,?14,?15)");
    st.Bind(1, email).Bind(2, password);
    const char* texts[] = {"gender",     "first_name", "last_name", "home_phone",
                           "work_phone", "cell_phone", "fax"};
    for (int i = 0; i < 7; ++i)
        st.Bind(3 + i, CellText(data, texts[i]));
    st.Bind(10, ReadDateCell(data, "birthdate"));
    st.Bind(11, CellText(data, "home_country_code"));
    st.Bind(12, CellText(data, "language_code"));
    st.Bind(13, data.ColumnIndex("reseller_id") >= 0 ? data.CurrentCell("reseller_id").AsInt() : 0);
    st.Bind(14, code);
    st.Bind(15, ctx.Now);
    st.Run();
    const std::int64_t id = ctx.Db.LastInsertId();

    // A recommended friend who registers is linked to the first customer who recommended them.
    auto friendOf = ctx.Db.Prepare(
        "SELECT recommender FROM friends WHERE email = ?1 COLLATE NOCASE AND recommender <> ?2 "
        "ORDER BY id LIMIT 1");
    friendOf.Bind(1, email).Bind(2, id);
    if (friendOf.Step())
        ctx.Db.Prepare("UPDATE customers SET recommended_by = ?1 WHERE id = ?2")
            .Bind(1, friendOf.Int64(0))
            .Bind(2, id)
            .Run();

    SendRegistrationMail(ctx.Db, ctx.Now, email, code);
    ctx.Add(TCSParam::Int("customer_id", static_cast<std::int32_t>(id)));
    return rslt::kOk;
}

int HandleGetCustomer(TRequestContext& ctx)
{
    auto st = ctx.Db.Prepare(
        "SELECT id, gender, first_name, last_name, home_phone, work_phone, cell_phone, fax, "
        "birthdate, home_country_code, language_code, bill_address_nick_name, credits, "
        "welcome_sent, welcome_sent_to, welcome_redeemed, email FROM customers WHERE id = ?1");
    st.Bind(1, ctx.Customer.Id);
    if (!st.Step())
        return rslt::kBadLogin;
    TCSTable data = MakeTable({"customer_id", "email_address", "gender", "first_name", "last_name",
                               "home_phone", "work_phone", "cell_phone", "fax", "birthdate",
                               "home_country_code", "language_code", "bill_address_nick_name"});
    data.AddRow();
    data.CurrentCell(0).SetInt(st.Int(0));
    data.CurrentCell(1).SetString(st.Text(16));
    for (int i = 1; i <= 7; ++i)
        data.CurrentCell(i + 1).SetString(st.Text(i));
    data.CurrentCell(9) = DateCell(st.Double(8));
    data.CurrentCell(10).SetString(st.Text(9));
    data.CurrentCell(11).SetString(st.Text(10));
    data.CurrentCell(12).SetString(st.Text(11));
    ctx.Add(TCSParam::Table("custdata", data));
    ctx.Add(TCSParam::Table("addresses",
                            SelectRows(ctx.Db, "addresses", kAddressColumns, ctx.Customer.Id)));
    // Card and account numbers stay on the service; GET_PAYMENT gives them for one entry.
    ctx.Add(TCSParam::Table(
        "payment",
        SelectRows(ctx.Db, "payments", {"nick_name", "payment_type", "cc_type"}, ctx.Customer.Id)));
    ctx.Add(TCSParam::Int("credits", st.Int(12)));
    ctx.Add(TCSParam::Int("welcome_credit_code_sent", st.Int(13)));
    ctx.Add(TCSParam::Text("welcome_credit_code_sent_to", st.Text(14)));
    ctx.Add(TCSParam::Int("welcome_credit_code_redeemed", st.Int(15)));
    return rslt::kOk;
}

int HandleGetPayment(TRequestContext& ctx)
{
    const auto nicks = NickNames(ctx.Table("payment"));
    if (nicks.empty() || !PaymentExists(ctx.Db, ctx.Customer.Id, nicks.front()))
        return rslt::kPaymentUnknown;
    ctx.Add(TCSParam::Table("payment", SelectRows(ctx.Db, "payments", kPaymentColumns,
                                                  ctx.Customer.Id, nicks.front(), true)));
    return rslt::kOk;
}

int HandleGetNeighborhood(TRequestContext& ctx)
{
    const std::string postal = ctx.Text("postal_code");
    const std::string city = ctx.Text("city_name");
    const std::vector<std::string> columns = {"postal_code", "city_name", "norm_city_name",
                                              "quarter_name", "norm_quarter_name"};
    const std::string select =
        "SELECT postal_code, city_name, norm_city_name, quarter_name, norm_quarter_name "
        "FROM neighborhoods ";
    TCSTable rows = MakeTable(columns);
    auto fill = [&](TStatement& st) {
        while (st.Step()) {
            rows.AddRow();
            for (int i = 0; i < 5; ++i)
                rows.CurrentCell(i).SetString(st.Text(i));
        }
    };
    {
        auto st = ctx.Db.Prepare(select + "WHERE postal_code = ?1 AND (city_name = ?2 COLLATE "
                                          "NOCASE OR norm_city_name = ?2 COLLATE NOCASE) "
                                          "ORDER BY rowid");
        st.Bind(1, postal).Bind(2, city);
        fill(st);
    }
    if (rows.RowCount() > 0) {
        ctx.Add(TCSParam::Table("neighborhood", rows));
        return rslt::kOk;
    }
    // Unknown combination: offer the cities of this postal code and the postal codes of this
    // city, one row each, so that the client's city choice has something to show.
    auto st = ctx.Db.Prepare(
        "SELECT postal_code, city_name, norm_city_name, '', '' FROM neighborhoods "
        "WHERE postal_code = ?1 OR city_name = ?2 COLLATE NOCASE OR norm_city_name = ?2 "
        "COLLATE NOCASE GROUP BY postal_code, city_name ORDER BY MIN(rowid)");
    st.Bind(1, postal).Bind(2, city);
    fill(st);
    ctx.Add(TCSParam::Table("neighborhood", rows));
    return rslt::kNeighborhoodUnknown;
}

int HandleChangeCustomer(TRequestContext& ctx)
{
    const std::int64_t id = ctx.Customer.Id;
    // The operation is told by the tables the request carries.
    if (ctx.Has("custdata")) {
        TCSTable data = ctx.Table("custdata");
        if (data.RowCount() < 1)
            return rslt::kInvalidCustomerData;
        data.First();
        const std::string email = CellText(data, "email_address", ctx.Customer.Email);
        const std::string password = CellText(data, "password", ctx.Customer.Password);
        if (!LooksLikeEmail(email) || password.empty())
            return rslt::kInvalidCustomerData;
        TCustomer other;
        if (LoadCustomerByEmail(ctx.Db, email, other) && other.Id != id)
            return rslt::kEmailTaken;
        auto st = ctx.Db.Prepare(
            "UPDATE customers SET email = ?1, password = ?2, home_phone = ?3, work_phone = ?4, "
            "cell_phone = ?5, fax = ?6, birthdate = ?7, language_code = ?8 WHERE id = ?9");
        st.Bind(1, email).Bind(2, password);
        st.Bind(3, CellText(data, "home_phone"));
        st.Bind(4, CellText(data, "work_phone"));
        st.Bind(5, CellText(data, "cell_phone"));
        st.Bind(6, CellText(data, "fax"));
        st.Bind(7, ReadDateCell(data, "birthdate"));
        st.Bind(8, CellText(data, "language_code"));
        st.Bind(9, id);
        st.Run();
    }
    // A refused addition or replacement changes nothing: the clash is found before the entry
    // it replaces is deleted (and the refusal rolls the request back besides).
    if (ctx.Has("deladdresses") || ctx.Has("newaddresses")) {
        const auto del = ctx.Has("deladdresses") ? NickNames(ctx.Table("deladdresses"))
                                                 : std::vector<std::string>();
        if (ctx.Has("newaddresses") &&
            !NickNamesFree(ctx.Db, "addresses", id, ctx.Table("newaddresses"), del))
            return rslt::kAddressExists;
        DeleteByNick(ctx.Db, "addresses", id, del);
        if (ctx.Has("newaddresses") &&
            !InsertRows(ctx.Db, "addresses", kAddressColumns, id, ctx.Table("newaddresses")))
            return rslt::kAddressExists;
    }
    if (ctx.Has("delpayment") || ctx.Has("newpayment")) {
        const auto del = ctx.Has("delpayment") ? NickNames(ctx.Table("delpayment"))
                                               : std::vector<std::string>();
        if (ctx.Has("newpayment") &&
            !NickNamesFree(ctx.Db, "payments", id, ctx.Table("newpayment"), del))
            return rslt::kPaymentExists;
        DeleteByNick(ctx.Db, "payments", id, del);
        if (ctx.Has("newpayment") &&
            !InsertRows(ctx.Db, "payments", kPaymentColumns, id, ctx.Table("newpayment")))
            return rslt::kPaymentExists;
    }
    if (ctx.Has("bill_address_nick_name"))
        ctx.Db.Prepare("UPDATE customers SET bill_address_nick_name = ?1 WHERE id = ?2")
            .Bind(1, ctx.Text("bill_address_nick_name"))
            .Bind(2, id)
            .Run();
    return rslt::kOk;
}

int HandleSendPassword(TRequestContext& ctx)
{
    const std::string email = ctx.Text("email_address");
    TCustomer customer;
    // An unknown address gets the same answer, so the request tells nobody who is registered.
    if (LoadCustomerByEmail(ctx.Db, email, customer))
        PostMail(ctx.Db, ctx.Now, customer.Email, "Ihr Passwort fuer RIZ Avivaze",
                 "Ihr Passwort lautet: " + customer.Password + "\n", "password", customer.Password);
    return rslt::kOk;
}

int HandleConfirmRegistration(TRequestContext& ctx)
{
    const int id = ctx.Int("customer_id");
    std::string code = ctx.Text("conf_code");
    code.erase(0, code.find_first_not_of(' '));
    code.erase(code.find_last_not_of(' ') + 1);
    auto st = ctx.Db.Prepare("SELECT reg_code FROM customers WHERE id = ?1");
    st.Bind(1, id);
    if (!st.Step() || code.empty())
        return rslt::kWrongConfCode;
    std::string expected = st.Text(0);
    std::transform(code.begin(), code.end(), code.begin(), ::toupper);
    if (code != expected)
        return rslt::kWrongConfCode;
    ctx.Db.Prepare("UPDATE customers SET confirmed = 1 WHERE id = ?1").Bind(1, id).Run();
    return rslt::kOk;
}

int HandleSendConfCode(TRequestContext& ctx)
{
    auto st = ctx.Db.Prepare("SELECT reg_code FROM customers WHERE id = ?1");
    st.Bind(1, ctx.Customer.Id);
    if (st.Step())
        SendRegistrationMail(ctx.Db, ctx.Now, ctx.Customer.Email, st.Text(0));
    return rslt::kOk;
}

} // namespace riz::service
