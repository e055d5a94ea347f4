#include "service/scheduler.h"

#include "platform/calendar.h"
#include "protocol/csparam.h"
#include "service/phonecheck.h"
#include "service/requestcontext.h"

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace riz::service {
namespace {

std::string FormatDate(double value)
{
    int y = 0, m = 0, d = 0;
    calendar::CivilFromDays(static_cast<long long>(std::floor(value)) + calendar::kEpochOffset, y,
                            m, d);
    const double secs = std::round((value - std::floor(value)) * 86400.0);
    const int total = static_cast<int>(secs);
    char buf[40];
    std::snprintf(buf, sizeof buf, "%02d.%02d.%04d %02d:%02d", d, m, y, total / 3600,
                  (total / 60) % 60);
    return buf;
}

// A reminder SMS to the customer's own phone: charged, in the history with its type. False when
// the customer has no usable number or too few credits.
bool SendReminderSms(TServiceDb& db, std::int64_t customer, const std::string& cellPhone,
                     const std::string& text, const std::string& type, double now)
{
    const TPhoneCheck phone = CheckReceiverNumber(cellPhone);
    if (cellPhone.empty() || phone.Code != 0)
        return false;
    auto st = db.Prepare("SELECT credits FROM customers WHERE id = ?1");
    st.Bind(1, customer);
    if (!st.Step() || st.Int(0) < rules::kSmsPrice)
        return false;
    const std::string part = text.substr(0, rules::kCharsPerPart);
    db.Prepare("INSERT INTO messages(customer_id, text, sender, receiver, sms_type, sent_date, "
               "send_at, delivered, charged) VALUES(?1,?2,'Parvion',?3,?4,?5,?5,1,?6)")
        .Bind(1, customer)
        .Bind(2, part)
        .Bind(3, phone.Number)
        .Bind(4, type)
        .Bind(5, now)
        .Bind(6, rules::kSmsPrice)
        .Run();
    const std::int64_t id = db.LastInsertId();
    DeliverToPhone(db, now, phone.Number, "Parvion", part, type, id);
    ChangeCredits(db, customer, -rules::kSmsPrice, type, now);
    return true;
}

struct TDue
{
    std::int64_t Id = 0;
    std::int64_t Customer = 0;
    std::string Receiver, Sender, Text, Type, LogoType, Email, CellPhone;
    double When = 0;
    bool Sms = false, Mail = false;
};

void DeliverScheduled(TServiceDb& db, double now)
{
    TTransaction tx(db);
    std::vector<TDue> due;
    {
        auto st =
            db.Prepare("SELECT queue_id, receiver, sender, text, sms_type, logo_type "
                       "FROM messages WHERE delivered = 0 AND send_at <= ?1 ORDER BY queue_id");
        st.Bind(1, now);
        while (st.Step()) {
            TDue d;
            d.Id = st.Int64(0);
            d.Receiver = st.Text(1);
            d.Sender = st.Text(2);
            d.Text = st.Text(3);
            d.Type = st.Text(4);
            d.LogoType = st.Text(5);
            due.push_back(d);
        }
    }
    for (const auto& d : due) {
        std::string text = d.Text;
        if (d.Type == "logo")
            text = d.LogoType == "NGG" ? "[Gruppengrafik]" : "[Logo]";
        else if (d.Type == "sound")
            text = "[Klingelton]";
        DeliverToPhone(db, now, d.Receiver, d.Sender, text, d.Type, d.Id);
        db.Prepare("UPDATE messages SET delivered = 1 WHERE queue_id = ?1").Bind(1, d.Id).Run();
    }
    tx.Commit();
}

void SendEventReminders(TServiceDb& db, double now)
{
    TTransaction tx(db);
    std::vector<TDue> due;
    {
        auto st = db.Prepare(
            "SELECT r.rowid, r.customer_id, r.datetime, r.description, c.email, c.cell_phone, "
            "c.remind_with_sms, c.remind_with_email FROM reminders r JOIN customers c "
            "ON c.id = r.customer_id WHERE r.sent = 0 AND r.datetime - r.remind_when <= ?1");
        st.Bind(1, now);
        while (st.Step()) {
            TDue d;
            d.Id = st.Int64(0);
            d.Customer = st.Int64(1);
            d.When = st.Double(2);
            d.Text = st.Text(3);
            d.Email = st.Text(4);
            d.CellPhone = st.Text(5);
            d.Sms = st.Int(6) != 0;
            d.Mail = st.Int(7) != 0;
            due.push_back(d);
        }
    }
    for (const auto& d : due) {
        const std::string text = "Erinnerung: " + d.Text + " (" + FormatDate(d.When) + ")";
        bool sms = false;
        if (d.Sms)
            sms = SendReminderSms(db, d.Customer, d.CellPhone, text, "event", now);
        // Without credits or a number the reminder still reaches the customer by mail.
        if (d.Mail || (d.Sms && !sms))
            PostMail(db, now, d.Email, "RIZ Avivaze Erinnerung", text + "\n", "event");
        db.Prepare("UPDATE reminders SET sent = 1 WHERE rowid = ?1").Bind(1, d.Id).Run();
    }
    tx.Commit();
}

void SendBirthdayReminders(TServiceDb& db, double now)
{
    const long long today = static_cast<long long>(std::floor(now));
    int ty = 0, tm = 0, td = 0;
    calendar::CivilFromDays(today + calendar::kEpochOffset, ty, tm, td);
    TTransaction tx(db);
    struct TBirthday
    {
        std::int64_t Customer;
        std::string Name, Birthday, Email, CellPhone;
        bool Sms, Mail;
    };
    std::vector<TBirthday> rows;
    {
        auto st = db.Prepare(
            "SELECT b.customer_id, b.name, b.birthday, c.email, c.cell_phone, "
            "c.remind_birthday_with_sms, c.remind_birthday_with_email FROM address_book b "
            "JOIN customers c ON c.id = b.customer_id WHERE c.remind_birthdays = 1 AND "
            "b.birthday <> ''");
        while (st.Step())
            rows.push_back({st.Int64(0), st.Text(1), st.Text(2), st.Text(3), st.Text(4),
                            st.Int(5) != 0, st.Int(6) != 0});
    }
    for (const auto& b : rows) {
        double birthday = 0;
        try {
            birthday = coding::DecodeDateTime(b.Birthday);
        } catch (const std::exception&) {
            continue;
        }
        if (birthday == 0)
            continue;
        int by = 0, bm = 0, bd = 0;
        calendar::CivilFromDays(
            static_cast<long long>(std::floor(birthday)) + calendar::kEpochOffset, by, bm, bd);
        for (int ahead : {3, 0}) {
            // The birthday in the year of the day it is reminded for; 29 February counts as
            // 28 February in other years.
            int y = 0, m = 0, d = 0;
            calendar::CivilFromDays(today + ahead + calendar::kEpochOffset, y, m, d);
            int day = bd;
            if (bm == 2 && bd == 29 && !calendar::IsLeapYear(y))
                day = 28;
            if (m != bm || d != day)
                continue;
            const std::string kind = ahead == 0 ? "today" : "soon";
            auto mark = db.Prepare("INSERT OR IGNORE INTO birthday_reminders_sent(customer_id, "
                                   "name, day, kind) VALUES(?1,?2,?3,?4)");
            mark.Bind(1, b.Customer)
                .Bind(2, b.Name)
                .Bind(3, static_cast<std::int64_t>(today + ahead))
                .Bind(4, kind);
            mark.Run();
            if (db.Changes() == 0)
                continue;
            const std::string text = ahead == 0 ? "Heute hat " + b.Name + " Geburtstag!"
                                                : "In 3 Tagen hat " + b.Name + " Geburtstag.";
            bool sms = false;
            if (b.Sms)
                sms = SendReminderSms(db, b.Customer, b.CellPhone, text, "birthday", now);
            if (b.Mail || (b.Sms && !sms))
                PostMail(db, now, b.Email, "RIZ Avivaze Geburtstagserinnerung", text + "\n",
                         "birthday");
        }
    }
    tx.Commit();
}

} // namespace

void RunDueWork(TServiceDb& db, const TServiceOptions& options, double now)
{
    DeliverScheduled(db, now);
    SendEventReminders(db, now);
    SendBirthdayReminders(db, now);
}

} // namespace riz::service
