#include "service/scheduler.h"

#include "platform/calendar.h"
#include "protocol/csparam.h"
#include "service/phonecheck.h"
#include "service/requestcontext.h"

#include <cmath>
#include <cstdio>

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

void DeliverScheduled(TServiceDb& db, double now)
{
    TTransaction tx(db);
    auto st = db.Prepare("SELECT queue_id, receiver, sender, text, sms_type, option_id, "
                         "logo_type FROM messages WHERE delivered = 0 AND send_at <= ?1 "
                         "ORDER BY queue_id");
    st.Bind(1, now);
    while (st.Step()) {
        std::string text = st.Text(3);
        const std::string type = st.Text(4);
        if (type == "logo")
            text = st.Text(6) == "NGG" ? "[Gruppengrafik]" : "[Logo]";
        else if (type == "sound")
            text = "[Klingelton]";
        DeliverToPhone(db, now, st.Text(1), st.Text(2), text, type, st.Int64(0));
        db.Prepare("UPDATE messages SET delivered = 1 WHERE queue_id = ?1")
            .Bind(1, st.Int64(0))
            .Run();
    }
    tx.Commit();
}

void SendEventReminders(TServiceDb& db, double now)
{
    TTransaction tx(db);
    auto st = db.Prepare(
        "SELECT r.rowid, r.customer_id, r.datetime, r.description, c.email, c.cell_phone, "
        "c.remind_with_sms, c.remind_with_email FROM reminders r JOIN customers c "
        "ON c.id = r.customer_id WHERE r.sent = 0 AND r.datetime - r.remind_when <= ?1");
    st.Bind(1, now);
    while (st.Step()) {
        const std::string text = "Erinnerung: " + st.Text(3) + " (" + FormatDate(st.Double(2)) + ")";
        bool sms = false;
        if (st.Int(6))
            sms = SendReminderSms(db, st.Int64(1), st.Text(5), text, "event", now);
        // Without credits or a number the reminder still reaches the customer by mail.
        if (st.Int(7) || (st.Int(6) && !sms))
            PostMail(db, now, st.Text(4), "RIZ Avivaze Erinnerung", text + "\n", "event");
        db.Prepare("UPDATE reminders SET sent = 1 WHERE rowid = ?1").Bind(1, st.Int64(0)).Run();
    }
    tx.Commit();
}

void SendBirthdayReminders(TServiceDb& db, double now)
{
    const long long today = static_cast<long long>(std::floor(now));
    int ty = 0, tm = 0, td = 0;
    calendar::CivilFromDays(today + calendar::kEpochOffset, ty, tm, td);
    TTransaction tx(db);
    auto st = db.Prepare(
        "SELECT b.customer_id, b.name, b.birthday, c.email, c.cell_phone, "
        "c.remind_birthday_with_sms, c.remind_birthday_with_email FROM address_book b "
        "JOIN customers c ON c.id = b.customer_id WHERE c.remind_birthdays = 1 AND "
        "b.birthday <> ''");
    while (st.Step()) {
        double birthday = 0;
        try {
            birthday = coding::DecodeDateTime(st.Text(2));
        } catch (const std::exception&) {
            continue;
        }
        if (birthday == 0)
            continue;
        int by = 0, bm = 0, bd = 0;
        calendar::CivilFromDays(static_cast<long long>(std::floor(birthday)) +
                                    calendar::kEpochOffset,
                                by, bm, bd);
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
            mark.Bind(1, st.Int64(0)).Bind(2, st.Text(1)).Bind(3, static_cast<std::int64_t>(today + ahead)).Bind(4, kind);
            mark.Run();
            if (db.Changes() == 0)
                continue;
            const std::string text =
                ahead == 0 ? "Heute hat " + st.Text(1) + " Geburtstag!"
                           : "In 3 Tagen hat " + st.Text(1) + " Geburtstag.";
            bool sms = false;
            if (st.Int(5))
                sms = SendReminderSms(db, st.Int64(0), st.Text(4), text, "birthday", now);
            if (st.Int(6) || (st.Int(5) && !sms))
                PostMail(db, now, st.Text(3), "RIZ Avivaze Geburtstagserinnerung", text + "\n",
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
