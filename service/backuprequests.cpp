#include "service/requestcontext.h"

#include "protocol/cserror.h"

#include <cmath>

namespace riz::service {
namespace {

const std::vector<std::string> kBookColumns = {
    "name",       "email_address", "home_phone",       "office_phone",
    "cell_phone", "birthday",      "distribution_list"};
const char* const kReminderOptions[] = {"remind_birthdays", "remind_with_sms", "remind_with_email",
                                        "remind_birthday_with_sms", "remind_birthday_with_email"};

} // namespace

int HandleSaveAddressBook(TRequestContext& ctx)
{
    TCSTable book = ctx.Table("address_book");
    const std::int64_t id = ctx.Customer.Id;
    ctx.Db.Prepare("DELETE FROM address_book WHERE customer_id = ?1").Bind(1, id).Run();
    book.First();
    for (int r = 0; r < book.RowCount(); ++r, book.Next()) {
        auto st = ctx.Db.Prepare(
            "INSERT INTO address_book(customer_id, pos, name, email_address, home_phone, "
            "office_phone, cell_phone, birthday, distribution_list) "
            "VALUES(?1,?2,?3,?4,?5,?6,?7,?8,?9)");
        st.Bind(1, id).Bind(2, r);
        for (size_t c = 0; c < kBookColumns.size(); ++c) {
            if (kBookColumns[c] == "birthday") {
                // Kept coded as a date-time, written anew so that nothing but a date goes
                // back out; a date that is no date is refused here, not later.
                std::string value =
                    book.ColumnIndex("birthday") >= 0 ? book.CurrentCell("birthday").Value : "";
                if (!value.empty())
                    value = coding::CodeDateTime(book.CurrentCell("birthday").AsDateTime());
                st.Bind(static_cast<int>(c + 3), value);
            } else {
                st.Bind(static_cast<int>(c + 3), CellText(book, kBookColumns[c]));
            }
        }
        st.Run();
    }
    return rslt::kOk;
}

int HandleLoadAddressBook(TRequestContext& ctx)
{
    TCSTable book = MakeTable(kBookColumns);
    auto st = ctx.Db.Prepare(
        "SELECT name, email_address, home_phone, office_phone, cell_phone, birthday, "
        "distribution_list FROM address_book WHERE customer_id = ?1 ORDER BY pos");
    st.Bind(1, ctx.Customer.Id);
    while (st.Step()) {
        book.AddRow();
        for (int c = 0; c < 7; ++c) {
            if (c == 5)
                book.CurrentCell(c).Value = st.Text(c);
            else
                book.CurrentCell(c).SetString(st.Text(c));
        }
    }
    ctx.Add(TCSParam::Table("address_book", book));
    return rslt::kOk;
}

int HandleSaveReminderList(TRequestContext& ctx)
{
    int options[5];
    for (int i = 0; i < 5; ++i)
        options[i] = ctx.Int(kReminderOptions[i]) == 1 ? 1 : 0;
    TCSTable list = ctx.Table("reminder_list");
    int result = rslt::kOk;
    // SMS reminders cost credits: with less than one SMS left they go by e-mail instead, as
    // the client switches its options when it gets 86.
    if ((options[1] || options[3]) && ctx.Customer.Credits < rules::kSmsPrice) {
        options[1] = 0;
        options[3] = 0;
        options[2] = 1;
        options[4] = 1;
        result = rslt::kNoCredits;
    }
    const std::int64_t id = ctx.Customer.Id;
    ctx.Db
        .Prepare("UPDATE customers SET remind_birthdays = ?1, remind_with_sms = ?2, "
                 "remind_with_email = ?3, remind_birthday_with_sms = ?4, "
                 "remind_birthday_with_email = ?5 WHERE id = ?6")
        .Bind(1, options[0])
        .Bind(2, options[1])
        .Bind(3, options[2])
        .Bind(4, options[3])
        .Bind(5, options[4])
        .Bind(6, id)
        .Run();
    ctx.Db.Prepare("DELETE FROM reminders WHERE customer_id = ?1").Bind(1, id).Run();
    list.First();
    for (int r = 0; r < list.RowCount(); ++r, list.Next()) {
        const double when = list.CurrentCell("datetime").AsDateTime();
        const double before = list.CurrentCell("remind_when").AsFloat();
        if (!std::isfinite(before) || before < 0 || before > 3660)
            return rslt::kMalformed;
        // A reminder whose time has passed already is not sent late.
        const int sent = when - before <= ctx.Now ? 1 : 0;
        ctx.Db
            .Prepare("INSERT INTO reminders(customer_id, pos, datetime, description, "
                     "remind_when, sent) VALUES(?1,?2,?3,?4,?5,?6)")
            .Bind(1, id)
            .Bind(2, r)
            .Bind(3, when)
            .Bind(4, list.CurrentCell("description").AsString())
            .Bind(5, before)
            .Bind(6, sent)
            .Run();
    }
    return result;
}

int HandleLoadReminderList(TRequestContext& ctx)
{
    auto opt = ctx.Db.Prepare(
        "SELECT remind_birthdays, remind_with_sms, remind_with_email, remind_birthday_with_sms, "
        "remind_birthday_with_email FROM customers WHERE id = ?1");
    opt.Bind(1, ctx.Customer.Id);
    opt.Step();
    for (int i = 0; i < 5; ++i)
        ctx.Add(TCSParam::Int(kReminderOptions[i], opt.Int(i)));
    TCSTable list = MakeTable({"datetime", "description", "remind_when"});
    auto st = ctx.Db.Prepare("SELECT datetime, description, remind_when FROM reminders "
                             "WHERE customer_id = ?1 ORDER BY pos");
    st.Bind(1, ctx.Customer.Id);
    while (st.Step()) {
        list.AddRow();
        list.CurrentCell(0).SetDateTime(st.Double(0));
        list.CurrentCell(1).SetString(st.Text(1));
        list.CurrentCell(2).SetFloat(st.Double(2));
    }
    ctx.Add(TCSParam::Table("reminder_list", list));
    return rslt::kOk;
}

} // namespace riz::service
